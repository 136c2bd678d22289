#include "platform/ui/IconHandle.h"
#include "platform/ui/ResourceModule.h"
#include "res/resource.h"
#include "ui/CMurmeloDlg.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScriptedPrompts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <set>

namespace {

const DialogTemplate& MainTemplate() {
    const DialogTemplate* found = AfxFindDialogTemplate(IDD_MURMELO_DIALOG);
    EXPECT_NE(found, nullptr);
    return *found;
}

// The main dialog with one more row, so that a test sees Read's command arrive.
class ReadProbeDlg : public CMurmeloDlg {
  public:
    const AFX_MSGMAP* GetMessageMap() const override { return &messageMap; }
    int m_nReads = 0;

  private:
    static const MessageMap<ReadProbeDlg> messageMap;
    void OnReadProbe() { ++m_nReads; }
};

const MessageMap<ReadProbeDlg> ReadProbeDlg::messageMap{
    &CMurmeloDlg::messageMap, {{IDC_READ, BN_CLICKED, &ReadProbeDlg::OnReadProbe}}};

bool MatchesKind(const QWidget* widget, ControlKind kind) {
    switch (kind) {
    case ControlKind::PushButton:
        return qobject_cast<const QPushButton*>(widget);
    case ControlKind::Edit:
        return qobject_cast<const QLineEdit*>(widget) ||
               qobject_cast<const QPlainTextEdit*>(widget);
    case ControlKind::ComboBox:
        return qobject_cast<const QComboBox*>(widget);
    default:
        return true;
    }
}

// The dialog as the program runs it: with a speech runtime, no unanswered message box, and
// settings that keep the text box as the source (as the template has it).
class MurmeloDialog : public testing::Test {
  protected:
    void SetUp() override {
        WriteFile("set.ini", "[Setting]\r\nInputFileChk=0\r\nRate=-3\r\nLoop=2\r\n");
    }

    FakeSpeechRuntime runtime{{"Voice A", "Voice B"}};
    ScriptedPrompts prompts;
};

} // namespace

TEST(MurmeloTemplate, HasTwentyNineControlsWithUniqueIds) {
    const DialogTemplate& dialog = MainTemplate();
    EXPECT_STREQ(dialog.caption, "Parlino");
    EXPECT_EQ(dialog.controls.size(), 29u);
    std::set<int> ids;
    for (const DialogControl& control : dialog.controls) {
        if (control.id != IDC_STATIC) {
            EXPECT_TRUE(ids.insert(control.id).second) << control.id;
        }
    }
}

TEST(MurmeloTemplate, EveryCommandOfTheTableHasItsControl) {
    EnsureGuiApplication();
    CMurmeloDlg dlg;
    auto* table = dynamic_cast<const MessageMap<CMurmeloDlg>*>(dlg.GetMessageMap());
    ASSERT_NE(table, nullptr);
    for (const auto& entry : table->Entries()) {
        if (entry.message != WM_COMMAND)
            continue;
        bool found = false;
        for (const DialogControl& control : MainTemplate().controls)
            found = found || control.id == static_cast<int>(entry.id);
        EXPECT_TRUE(found) << "no control " << entry.id;
    }
}

TEST_F(MurmeloDialog, BuildsEveryControlOfTheTemplateInItsState) {
    CMurmeloDlg dlg;
    std::set<int> hidden;
    DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
        for (const DialogControl& control : MainTemplate().controls) {
            if (control.id == IDC_STATIC)
                continue;
            QWidget* widget = driver.Control(control.id);
            ASSERT_NE(widget, nullptr);
            EXPECT_TRUE(MatchesKind(widget, control.kind)) << control.id;
            if (!widget->isVisible())
                hidden.insert(control.id);
            EXPECT_EQ(widget->isEnabled(), control.id != IDC_INPUT_FILE) << control.id;
        }
        EXPECT_TRUE(qobject_cast<QPushButton*>(driver.Control(IDC_READ))->isDefault());
        EXPECT_EQ(driver.Window()->windowTitle().toStdString(), "Parlino");
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(hidden, (std::set<int>{IDOK, IDC_SPEAK_ENGLISH, IDC_VOICE_HINT, IDC_ENGLISH,
                                     IDC_CHINESE, IDC_SPEAK_CHINESE}));
}

TEST_F(MurmeloDialog, StartsWithTheFocusOnReadAndTabsInTemplateOrder) {
    CMurmeloDlg dlg;
    std::vector<int> visited;
    DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
        for (int step = 0; step < 17; ++step) {
            visited.push_back(driver.FocusedId());
            driver.PressKey(Qt::Key_Tab);
        }
        driver.PressKey(Qt::Key_Escape);
    });
    EXPECT_EQ(visited, (std::vector<int>{IDC_READ, IDCANCEL, IDC_TEXT, IDC_STOP, IDC_RATE_UP,
                                         IDC_RATE_DOWN, IDC_VOLUME_UP, IDC_VOLUME_DOWN, IDC_RATE,
                                         IDC_VOLUME, IDC_VOICE, IDC_INPUT_FILE_CHECK, IDC_LOOP,
                                         IDC_TO_WAV, IDC_BROWSE, IDC_HELP_INFO, IDC_READ}));
}

TEST_F(MurmeloDialog, InitialisationPushesTheMembersAndTheVoiceHint) {
    CMurmeloDlg dlg;
    DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
        EXPECT_EQ(driver.Text(IDC_VOICE_HINT), "Mary,\t\tMike,\t\tSam,\t\tChinese");
        EXPECT_EQ(dlg.m_strVoiceHint, "Mary,\t\tMike,\t\tSam,\t\tChinese");
        EXPECT_EQ(driver.Text(IDC_TEXT), "");
        EXPECT_EQ(driver.Text(IDC_RATE), "-3");
        EXPECT_EQ(driver.Text(IDC_LOOP), "2");
        EXPECT_TRUE(dlg.m_comboVoice.IsAttached());
        driver.PressKey(Qt::Key_Escape);
    });
}

TEST_F(MurmeloDialog, EnterInTheTextBoxIsReadsCommandAndAddsNoLineBreak) {
    ReadProbeDlg dlg;
    DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
        dlg.m_editText.SetFocus();
        driver.SetText(IDC_TEXT, "Hello");
        driver.PressKey(Qt::Key_Return);
        EXPECT_EQ(driver.Text(IDC_TEXT), "Hello");
        driver.PressKey(Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.m_nReads, 1);
}

TEST_F(MurmeloDialog, EscapeExitAndTheCloseBoxEndTheDialog) {
    const std::vector<std::function<void(DialogDriver&)>> endings = {
        [](DialogDriver& driver) { driver.PressKey(Qt::Key_Escape); },
        [](DialogDriver& driver) { driver.Click(IDCANCEL); },
        [](DialogDriver& driver) { driver.CloseBox(); },
    };
    for (const auto& ending : endings) {
        CMurmeloDlg dlg;
        EXPECT_EQ(DialogDriver::RunModal(dlg, ending), IDCANCEL);
    }
}

TEST_F(MurmeloDialog, LoadsItsIconWithBothSizes) {
    EnsureGuiApplication();
    CMurmeloDlg dlg;
    ASSERT_NE(dlg.m_hIcon, nullptr);
    const QList<QSize> sizes = dlg.m_hIcon->icon.availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
}

namespace {

struct RangeCase {
    const char* name;
    int control;
    const char* text;
    BOOL accepted;
};

class MurmeloRanges : public MurmeloDialog, public testing::WithParamInterface<RangeCase> {};

} // namespace

TEST_P(MurmeloRanges, AcceptTheBoundsAndRejectWhatLiesBeyond) {
    const RangeCase& c = GetParam();
    CMurmeloDlg dlg;
    BOOL accepted = -1;
    DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
        driver.SetText(IDC_RATE, "0");
        driver.SetText(IDC_VOLUME, "50");
        driver.SetText(IDC_LOOP, "1");
        driver.SetText(c.control, c.text);
        accepted = dlg.UpdateData(TRUE);
        if (!accepted) {
            EXPECT_EQ(driver.FocusedId(), c.control);
        }
        driver.PressKey(Qt::Key_Escape);
    });
    EXPECT_EQ(accepted, c.accepted);
    EXPECT_EQ(prompts.Boxes().size(), c.accepted ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, MurmeloRanges,
                         testing::Values(RangeCase{"rate_min", IDC_RATE, "-10", TRUE},
                                         RangeCase{"rate_max", IDC_RATE, "10", TRUE},
                                         RangeCase{"rate_above", IDC_RATE, "11", FALSE},
                                         RangeCase{"rate_below", IDC_RATE, "-11", FALSE},
                                         RangeCase{"volume_min", IDC_VOLUME, "0", TRUE},
                                         RangeCase{"volume_max", IDC_VOLUME, "100", TRUE},
                                         RangeCase{"volume_above", IDC_VOLUME, "101", FALSE},
                                         RangeCase{"loop_min", IDC_LOOP, "1", TRUE},
                                         RangeCase{"loop_max", IDC_LOOP, "999", TRUE},
                                         RangeCase{"loop_zero", IDC_LOOP, "0", FALSE},
                                         RangeCase{"loop_above", IDC_LOOP, "1000", FALSE}),
                         [](const testing::TestParamInfo<RangeCase>& info) {
                             return info.param.name;
                         });

TEST_F(MurmeloDialog, AFailingRateHoldsTheTypedValueAndLaterEntriesAreNotRead) {
    CMurmeloDlg dlg;
    DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
        driver.SetText(IDC_TEXT, "typed");
        driver.SetText(IDC_RATE, "11");
        driver.SetText(IDC_VOLUME, "70");
        driver.SetText(IDC_LOOP, "3");
        dlg.UpdateData(TRUE);
        driver.PressKey(Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.m_strText, "typed");
    EXPECT_EQ(dlg.m_nRate, 11);
    EXPECT_EQ(dlg.m_nVolume, 10);
    EXPECT_EQ(dlg.m_nLoop, 2);
    ASSERT_EQ(prompts.Boxes().size(), 1u);
    EXPECT_EQ(prompts.Boxes()[0].text, "Please enter an integer between -10 and 10.");
}

TEST_F(MurmeloDialog, AClickInsideAGroupBoxReachesTheControlBeneathIt) {
    CMurmeloDlg dlg;
    DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
        QWidget* edit = driver.Control(IDC_TEXT);
        QWidget* window = driver.Window();
        QWidget* hit = window->childAt(edit->mapTo(window, edit->rect().center()));
        EXPECT_TRUE(hit == edit || edit->isAncestorOf(hit));
        driver.PressKey(Qt::Key_Escape);
    });
}
