#include "ProbeDialog.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/ScriptedPrompts.h"

#include <QWidget>

#include <gtest/gtest.h>

using Calls = std::vector<std::string>;

TEST(DialogRouting, AClickReachesTheRowOfItsControl) {
    ProbeDialog dialog;
    DialogDriver::RunModal(dialog, [](DialogDriver& driver) {
        driver.Click(IDC_GO);
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(dialog.m_calls, (Calls{"OnGo", "OnCancel"}));
}

TEST(DialogRouting, OnlyTheUsersChoiceIsASelectionChange) {
    ProbeDialog dialog;
    int selectionAfterInit = -2;
    DialogDriver::RunModal(dialog, [&](DialogDriver& driver) {
        selectionAfterInit = dialog.m_comboChoice.GetCurSel();
        dialog.m_comboChoice.SetCurSel(2);
        EXPECT_EQ(dialog.m_calls, Calls{});
        driver.ChooseItem(IDC_CHOICE, 0);
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(selectionAfterInit, 1);
    EXPECT_EQ(dialog.m_calls, (Calls{"OnSelchangeChoice", "OnCancel"}));
}

TEST(DialogRouting, APositionOutsideTheListClearsTheSelection) {
    ProbeDialog dialog;
    DialogDriver::RunModal(dialog, [&](DialogDriver& driver) {
        for (int position : {3, -1, 99}) {
            dialog.m_comboChoice.SetCurSel(0);
            EXPECT_EQ(dialog.m_comboChoice.SetCurSel(position), CB_ERR) << position;
            EXPECT_EQ(dialog.m_comboChoice.GetCurSel(), CB_ERR) << position;
        }
        EXPECT_EQ(dialog.m_comboChoice.AddString("four"), 3);
        EXPECT_EQ(dialog.m_comboChoice.GetCount(), 4);
        driver.Click(IDCANCEL);
    });
}

TEST(DialogRouting, AnExceptionFromAHandlerIsShownAndTheDialogGoesOn) {
    ScriptedPrompts prompts;
    ProbeDialog dialog;
    DialogDriver::RunModal(dialog, [](DialogDriver& driver) {
        driver.Click(IDC_THROW);
        EXPECT_TRUE(driver.IsOpen());
        driver.Click(IDC_GO);
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(dialog.m_calls, (Calls{"OnThrow", "OnGo", "OnCancel"}));
    ASSERT_EQ(prompts.Boxes().size(), 1u);
    EXPECT_EQ(prompts.Boxes()[0].caption, "Murmelo");
    EXPECT_EQ(prompts.Boxes()[0].text, "The voice refused the call.");
    EXPECT_EQ(prompts.Boxes()[0].buttons, std::vector<int>{IDOK});
}

TEST(DialogRouting, TheCloseBoxsDefaultProcessingEndsTheDialogThroughOnCancel) {
    ProbeDialog dialog;
    const int result =
        DialogDriver::RunModal(dialog, [](DialogDriver& driver) { driver.CloseBox(); });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.m_calls, (Calls{"OnClose", "OnCancel"}));
}

TEST(DialogRouting, IdOkWithoutARowReachesOnOk) {
    ProbeDialog dialog;
    const int result = DialogDriver::RunModal(dialog, [&](DialogDriver&) {
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.m_calls, Calls{"OnOK"});
}

TEST(DialogRouting, TheWindowIsGoneAfterDoModalAndControlMembersLetGo) {
    ProbeDialog dialog;
    DialogDriver::RunModal(dialog, [](DialogDriver& driver) { driver.Click(IDCANCEL); });
    EXPECT_EQ(dialog.GetWidget(), nullptr);
    EXPECT_EQ(dialog.m_comboChoice.GetCurSel(), 0);
    EXPECT_FALSE(dialog.m_comboChoice.IsWindowVisible());
}

TEST(DialogKeyboard, TheFocusStartsOnTheFirstVisibleEnabledTabStop) {
    ProbeDialog dialog;
    DialogDriver::RunModal(dialog, [](DialogDriver& driver) {
        EXPECT_EQ(driver.FocusedId(), IDC_GO);
        driver.PressKey(Qt::Key_Escape);
    });
}

TEST(DialogKeyboard, TabVisitsTheTabStopsInTemplateOrderAndLeavesTheMultiLineEdit) {
    ProbeDialog dialog;
    std::vector<int> visited;
    DialogDriver::RunModal(dialog, [&](DialogDriver& driver) {
        for (int step = 0; step < 7; ++step) {
            visited.push_back(driver.FocusedId());
            driver.PressKey(Qt::Key_Tab);
        }
        EXPECT_EQ(driver.Text(IDC_NOTES), "");
        driver.PressKey(Qt::Key_Escape);
    });
    EXPECT_EQ(visited, (std::vector<int>{IDC_GO, IDC_NOTES, IDC_FIRST, IDC_SECOND, IDC_CHOICE,
                                         IDC_CHECK, IDCANCEL}));
}

TEST(DialogKeyboard, EnterInTheMultiLineEditPressesTheDefaultButton) {
    ProbeDialog dialog;
    DialogDriver::RunModal(dialog, [&](DialogDriver& driver) {
        driver.Control(IDC_NOTES)->setFocus();
        driver.SetText(IDC_NOTES, "hello");
        driver.PressKey(Qt::Key_Return);
        driver.PressKey(Qt::Key_Enter);
        EXPECT_EQ(driver.Text(IDC_NOTES), "hello");
        driver.PressKey(Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.m_calls, (Calls{"OnGo", "OnGo", "OnCancel"}));
}

TEST(DialogKeyboard, EnterOnAFocusedButtonPressesThatButton) {
    ProbeDialog dialog;
    DialogDriver::RunModal(dialog, [&](DialogDriver& driver) {
        driver.Control(IDC_THROW)->setFocus();
        ScriptedPrompts prompts;
        driver.PressKey(Qt::Key_Return);
        driver.PressKey(Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.m_calls, (Calls{"OnThrow", "OnCancel"}));
}

TEST(DialogKeyboard, EscapeEndsTheDialogWithCancel) {
    ProbeDialog dialog;
    const int result = DialogDriver::RunModal(dialog, [](DialogDriver& driver) {
        driver.Control(IDC_FIRST)->setFocus();
        driver.PressKey(Qt::Key_Escape);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.m_calls, Calls{"OnCancel"});
}
