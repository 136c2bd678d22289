#include "ProbeDialog.h"
#include "tests/support/CaseName.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/ScriptedPrompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

struct SaveCase {
    const char* name;
    friend void PrintTo(const SaveCase& c, std::ostream* out) { *out << c.name; }
    const char* first;
    const char* second;
    BOOL result;
    int memberFirst;
    int memberSecond;
    const char* message; // null when no message is expected
    int focus;
};

class DataExchangeSave : public testing::TestWithParam<SaveCase> {};

} // namespace

// Members start at first = 5, second = 50; each case types two texts and pulls them in.
TEST_P(DataExchangeSave, ReadsValidatesAndStopsAtTheFirstFailure) {
    const SaveCase& c = GetParam();
    ScriptedPrompts prompts;
    ProbeDialog dialog;
    BOOL result = -1;
    std::string selected;
    DialogDriver::RunModal(dialog, [&](DialogDriver& driver) {
        dialog.m_nFirst = 5;
        dialog.m_nSecond = 50;
        driver.SetText(IDC_FIRST, c.first);
        driver.SetText(IDC_SECOND, c.second);
        result = dialog.UpdateData(TRUE);
        EXPECT_EQ(driver.FocusedId(), c.focus);
        if (auto* edit = qobject_cast<QLineEdit*>(driver.Control(c.focus)))
            selected = edit->selectedText().toStdString();
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(dialog.m_nFirst, c.memberFirst);
    EXPECT_EQ(dialog.m_nSecond, c.memberSecond);
    if (c.message) {
        ASSERT_EQ(prompts.Boxes().size(), 1u);
        EXPECT_EQ(prompts.Boxes()[0].text, c.message);
        EXPECT_EQ(prompts.Boxes()[0].caption, "Murmelo");
        EXPECT_EQ(prompts.Boxes()[0].buttons, std::vector<int>{IDOK});
        EXPECT_EQ(selected, c.focus == IDC_FIRST ? c.first : c.second);
    } else {
        EXPECT_TRUE(prompts.Boxes().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DataExchangeSave,
    testing::Values(
        SaveCase{"bounds", "-10", "100", TRUE, -10, 100, nullptr, IDC_GO},
        SaveCase{"blanks_and_sign", " +7 ", "\t0", TRUE, 7, 0, nullptr, IDC_GO},
        SaveCase{"letters_keep_the_member", "abc", "20", FALSE, 5, 50, "Please enter an integer.",
                 IDC_FIRST},
        SaveCase{"empty_is_not_a_number", "", "20", FALSE, 5, 50, "Please enter an integer.",
                 IDC_FIRST},
        SaveCase{"trailing_text", "3x", "20", FALSE, 5, 50, "Please enter an integer.", IDC_FIRST},
        SaveCase{"range_failure_keeps_the_value_and_stops", "11", "20", FALSE, 11, 50,
                 "Please enter an integer between -10 and 10.", IDC_FIRST},
        SaveCase{"second_entry_fails_after_the_first_was_read", "-3", "101", FALSE, -3, 101,
                 "Please enter an integer between 0 and 100.", IDC_SECOND},
        SaveCase{"huge_numbers_are_clamped_then_range_checked", "99999999999999999999", "1", FALSE,
                 2147483647, 50, "Please enter an integer between -10 and 10.", IDC_FIRST}),
    CaseName());

// 2 stays in the member and is shown checked, so it reads back as 1; other values outside
// 0 to 2 become 0. Once shown a 2, the box still toggles between two states only.
TEST(DataExchangeLoad, CheckValuesOutsideZeroToTwoBecomeZeroAndTheBoxKeepsTwoStates) {
    ProbeDialog dialog;
    std::vector<std::pair<int, int>> shown; // member after the push, state read back
    std::vector<int> states;
    DialogDriver::RunModal(dialog, [&](DialogDriver& driver) {
        for (int value : {-1, 0, 1, 3, 10, 2}) {
            dialog.m_bCheck = value;
            dialog.UpdateData(FALSE);
            const int member = dialog.m_bCheck;
            dialog.UpdateData(TRUE);
            shown.emplace_back(member, dialog.m_bCheck);
        }
        for (int click = 0; click < 3; ++click) {
            driver.Click(IDC_CHECK);
            dialog.UpdateData(TRUE);
            states.push_back(dialog.m_bCheck);
        }
        EXPECT_FALSE(qobject_cast<QCheckBox*>(driver.Control(IDC_CHECK))->isTristate());
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(shown,
              (std::vector<std::pair<int, int>>{{0, 0}, {0, 0}, {1, 1}, {0, 0}, {0, 0}, {2, 1}}));
    EXPECT_EQ(states, (std::vector<int>{0, 1, 0}));
}
