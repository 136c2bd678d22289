#include "platform/ui/IconHandle.h"
#include "res/resource.h"
#include "ui/CMurmeloDlg.h"

#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/RunAndEscape.h"
#include "tests/support/ScriptedPrompts.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

// The dialog with a speech runtime and no unanswered prompt. It loads its icon when it is
// constructed, which needs the GUI application.
class MurmeloDialog : public testing::Test {
  protected:
    const bool gui = (EnsureGuiApplication(), true);
    FakeSpeechRuntime runtime{{"Voice A", "Voice B"}};
    ScriptedPrompts prompts;
    CMurmeloDlg dlg;
};

// The focus starts on the first visible, enabled tab stop, Read. A click inside a group box
// reaches the control beneath it.
TEST_F(MurmeloDialog, FocusStartsOnReadAndGroupBoxesLetClicksThrough) {
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        EXPECT_EQ(driver.FocusedId(), IDC_READ);
        QWidget* edit = driver.Control(IDC_TEXT);
        QWidget* hit =
            driver.Window()->childAt(edit->mapTo(driver.Window(), edit->rect().center()));
        EXPECT_TRUE(hit == edit || edit->isAncestorOf(hit));
    });
}

// Members start at rate 5, volume 50, loop 1; each row types the three numbers and pulls
// them in. A failure shows one message, selects the text of the edit at fault and stops the
// pull there, so the members after it keep their values.
TEST_F(MurmeloDialog, RateVolumeAndLoopAreReadValidatedAndStopAtTheFirstFailure) {
    const std::string integer = "Please enter an integer.";
    const std::string rate = "Please enter an integer between -10 and 10.";
    const std::string volume = "Please enter an integer between 0 and 100.";
    const std::string loop = "Please enter an integer between 1 and 999.";
    const struct {
        const char *name, *rate, *volume, *loop;
        std::tuple<LONG, LONG, int> members;
        std::string message; // empty when the pull succeeds
        int focus;
    } rows[] = {
        {"low bounds", "-10", "0", "1", {-10, 0, 1}, "", 0},
        {"high bounds", "10", "100", "999", {10, 100, 999}, "", 0},
        {"blanks and sign", " +7 ", "\t0", "2", {7, 0, 2}, "", 0},
        {"letters keep the member", "abc", "20", "1", {5, 50, 1}, integer, IDC_RATE},
        {"empty is not a number", "", "20", "1", {5, 50, 1}, integer, IDC_RATE},
        {"trailing text", "3x", "20", "1", {5, 50, 1}, integer, IDC_RATE},
        {"range failure keeps the value and stops", "11", "20", "1", {11, 50, 1}, rate, IDC_RATE},
        {"below the rate", "-11", "20", "1", {-11, 50, 1}, rate, IDC_RATE},
        {"volume fails after the rate", "-3", "101", "2", {-3, 101, 1}, volume, IDC_VOLUME},
        {"below the volume", "0", "-1", "1", {0, -1, 1}, volume, IDC_VOLUME},
        {"no loop", "0", "0", "0", {0, 0, 0}, loop, IDC_LOOP},
        {"above the loop", "0", "0", "1000", {0, 0, 1000}, loop, IDC_LOOP},
        {"huge is clamped", "99999999999999999999", "1", "1", {2147483647, 50, 1}, rate, IDC_RATE},
    };
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        for (const auto& row : rows) {
            SCOPED_TRACE(row.name);
            driver.SetText(IDC_RATE, row.rate);
            driver.SetText(IDC_VOLUME, row.volume);
            driver.SetText(IDC_LOOP, row.loop);
            std::tie(dlg.m_nRate, dlg.m_nVolume, dlg.m_nLoop) = std::tuple(5, 50, 1);
            const std::size_t boxes = prompts.Boxes().size();
            EXPECT_EQ(dlg.UpdateData(TRUE), row.message.empty());
            EXPECT_EQ(std::tie(dlg.m_nRate, dlg.m_nVolume, dlg.m_nLoop), row.members);
            ASSERT_EQ(prompts.Boxes().size(), boxes + !row.message.empty());
            if (row.message.empty())
                continue;
            EXPECT_EQ(prompts.Boxes().back().caption + ": " + prompts.Boxes().back().text,
                      "Murmelo: " + row.message);
            EXPECT_EQ(driver.FocusedId(), row.focus);
            auto* edit = qobject_cast<QLineEdit*>(driver.Control(row.focus));
            EXPECT_EQ(edit->selectedText(), edit->text());
        }
        // A check value outside 0 to 2, as a hand-edited set.ini may hold, loads as unchecked.
        dlg.m_bInputFile = 3;
        dlg.UpdateData(FALSE);
        EXPECT_EQ(dlg.m_bInputFile, 0);
    });
}

// The window carries the program's icon, in the sizes a task bar and a title bar ask for.
TEST_F(MurmeloDialog, TheWindowCarriesTheIcon) {
    ASSERT_NE(dlg.m_hIcon, nullptr);
    const QList<QSize> sizes = dlg.m_hIcon->icon.availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)) && sizes.contains(QSize(16, 16)));
    RunAndEscape(dlg, [&](DialogDriver& d) { EXPECT_FALSE(d.Window()->windowIcon().isNull()); });
}

// Help neither pulls what was typed into the members nor pushes the members over it. Alt+F4
// closes the window.
TEST_F(MurmeloDialog, HelpShowsTheVoiceNoticeAndChangesNothing) {
    const int result = DialogDriver::RunModal(dlg, [&](DialogDriver& d) {
        d.SetText(IDC_RATE, "7");
        d.Click(IDC_HELP_INFO);
        EXPECT_EQ(d.Text(IDC_RATE), "7");
        EXPECT_EQ(dlg.m_nRate, 10);
        d.PressKey(Qt::Key_F4, Qt::AltModifier);
    });
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_EQ(prompts.Boxes().size(), 1u);
    EXPECT_EQ(prompts.Boxes()[0].caption + ": " + prompts.Boxes()[0].text.substr(0, 38),
              "Info: For Supporting Chinese/Japanese Speech");
    EXPECT_EQ(prompts.Boxes()[0].buttons, std::vector<int>{IDOK});
}

} // namespace
