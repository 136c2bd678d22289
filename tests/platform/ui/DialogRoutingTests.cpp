#include "ProbeDialog.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/ScriptedPrompts.h"

#include <QWidget>

#include <gtest/gtest.h>

using Calls = std::vector<std::string>;

// The focus starts on the first visible, enabled tab stop. Enter on a focused button
// presses that button, not the default one. What the handler throws is shown with the
// program's title and an OK button, and the dialog goes on.
TEST(DialogRouting, AnExceptionFromAHandlerIsShownAndTheDialogGoesOn) {
    ScriptedPrompts prompts;
    ProbeDialog dialog;
    DialogDriver::RunModal(dialog, [](DialogDriver& driver) {
        EXPECT_EQ(driver.FocusedId(), IDC_GO);
        driver.Control(IDC_THROW)->setFocus();
        driver.PressKey(Qt::Key_Return);
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

// Loading a selection is no selection change; a position outside the list clears it. After
// DoModal the window is gone and the control members hold none of it.
TEST(DialogRouting, OnlyTheUsersChoiceIsASelectionChange) {
    ProbeDialog dialog;
    int selectionAfterInit = -2;
    const int result = DialogDriver::RunModal(dialog, [&](DialogDriver& driver) {
        selectionAfterInit = dialog.m_comboChoice.GetCurSel();
        dialog.m_comboChoice.SetCurSel(2);
        EXPECT_EQ(dialog.m_calls, Calls{});
        for (int position : {3, -1}) {
            dialog.m_comboChoice.SetCurSel(0);
            EXPECT_EQ(dialog.m_comboChoice.SetCurSel(position), CB_ERR) << position;
            EXPECT_EQ(dialog.m_comboChoice.GetCurSel(), CB_ERR) << position;
        }
        driver.ChooseItem(IDC_CHOICE, 0);
        // Escape ends the dialog also from an edit.
        driver.Control(IDC_FIRST)->setFocus();
        driver.PressKey(Qt::Key_Escape);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(selectionAfterInit, 1);
    EXPECT_EQ(dialog.m_calls, (Calls{"OnSelchangeChoice", "OnCancel"}));
    EXPECT_EQ(dialog.GetWidget(), nullptr);
    EXPECT_EQ(dialog.m_comboChoice.GetCurSel(), 0);
    EXPECT_FALSE(dialog.m_comboChoice.IsWindowVisible());
}
