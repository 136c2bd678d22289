#include "ProbeDialog.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/ScriptedPrompts.h"

#include <QWidget>

#include <gtest/gtest.h>

using Calls = std::vector<std::string>;

// Clicks, keys and messages, the handlers they reach and how the dialog ends.
TEST(DialogRouting, EndingsReachTheirHandlers) {
    const struct {
        const char* name;
        void (*act)(ProbeDialog&, DialogDriver&);
        int result;
        Calls calls;
    } rows[] = {
        {"click on a row, then Exit",
         [](ProbeDialog&, DialogDriver& d) {
             d.Click(IDC_GO);
             d.Click(IDCANCEL);
         },
         IDCANCEL,
         {"OnGo", "OnCancel"}},
        {"close box through WM_CLOSE's default",
         [](ProbeDialog&, DialogDriver& d) { d.CloseBox(); },
         IDCANCEL,
         {"OnClose", "OnCancel"}},
        {"IDOK without a row",
         [](ProbeDialog& dialog, DialogDriver&) {
             dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
         },
         IDOK,
         {"OnOK"}},
        {"Escape in an edit",
         [](ProbeDialog&, DialogDriver& d) {
             d.Control(IDC_FIRST)->setFocus();
             d.PressKey(Qt::Key_Escape);
         },
         IDCANCEL,
         {"OnCancel"}},
        {"Enter in the multi-line edit presses the default button",
         [](ProbeDialog&, DialogDriver& d) {
             d.Control(IDC_NOTES)->setFocus();
             d.SetText(IDC_NOTES, "hello");
             d.PressKey(Qt::Key_Return);
             d.PressKey(Qt::Key_Enter);
             EXPECT_EQ(d.Text(IDC_NOTES), "hello");
             d.PressKey(Qt::Key_Escape);
         },
         IDCANCEL,
         {"OnGo", "OnGo", "OnCancel"}},
        {"Enter on a focused button presses that button",
         [](ProbeDialog&, DialogDriver& d) {
             ScriptedPrompts prompts;
             d.Control(IDC_THROW)->setFocus();
             d.PressKey(Qt::Key_Return);
             d.PressKey(Qt::Key_Escape);
         },
         IDCANCEL,
         {"OnThrow", "OnCancel"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ProbeDialog dialog;
        EXPECT_EQ(DialogDriver::RunModal(dialog, [&](DialogDriver& d) { row.act(dialog, d); }),
                  row.result);
        EXPECT_EQ(dialog.m_calls, row.calls);
    }
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

TEST(DialogRouting, TheWindowIsGoneAfterDoModalAndControlMembersLetGo) {
    ProbeDialog dialog;
    DialogDriver::RunModal(dialog, [](DialogDriver& driver) { driver.Click(IDCANCEL); });
    EXPECT_EQ(dialog.GetWidget(), nullptr);
    EXPECT_EQ(dialog.m_comboChoice.GetCurSel(), 0);
    EXPECT_FALSE(dialog.m_comboChoice.IsWindowVisible());
}

// The focus starts on the first visible, enabled tab stop; Tab goes on in template order.
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
