#include "platform/ui/ResourceModule.h"
#include "res/resource.h"
#include "ui/CMurmeloDlg.h"

#include "tests/support/CaseName.h"
#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/FileBytes.h"
#include "tests/support/RunAndEscape.h"
#include "tests/support/ScriptedPrompts.h"

#include <QAccessible>
#include <QImage>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {

const DialogTemplate& MainTemplate() {
    const DialogTemplate* found = AfxFindDialogTemplate(IDD_MURMELO_DIALOG);
    EXPECT_NE(found, nullptr);
    return *found;
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

TEST(MurmeloTemplate, HasTwentyNineControlsWithUniqueIdsAndOneForEveryCommand) {
    EnsureGuiApplication();
    const DialogTemplate& dialog = MainTemplate();
    EXPECT_STREQ(dialog.caption, "Parlino");
    EXPECT_EQ(dialog.controls.size(), 29u);
    std::set<int> ids;
    for (const DialogControl& control : dialog.controls)
        EXPECT_TRUE(control.id == IDC_STATIC || ids.insert(control.id).second) << control.id;
    CMurmeloDlg dlg;
    auto* table = dynamic_cast<const MessageMap<CMurmeloDlg>*>(dlg.GetMessageMap());
    ASSERT_NE(table, nullptr);
    for (const auto& entry : table->Entries())
        EXPECT_TRUE(entry.message != WM_COMMAND || ids.contains(static_cast<int>(entry.id)))
            << "no control " << entry.id;
}

TEST_F(MurmeloDialog, BuildsEveryControlOfTheTemplateInItsState) {
    CMurmeloDlg dlg;
    std::set<int> hidden;
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        for (const DialogControl& control : MainTemplate().controls) {
            if (control.id == IDC_STATIC)
                continue;
            QWidget* widget = driver.Control(control.id);
            ASSERT_NE(widget, nullptr);
            if (!widget->isVisible())
                hidden.insert(control.id);
            EXPECT_EQ(widget->isEnabled(), control.id != IDC_INPUT_FILE) << control.id;
        }
        EXPECT_TRUE(qobject_cast<QPushButton*>(driver.Control(IDC_READ))->isDefault());
        EXPECT_EQ(driver.Window()->windowTitle().toStdString(), "Parlino");
        EXPECT_EQ(driver.Text(IDC_VOICE_HINT), "Mary,\t\tMike,\t\tSam,\t\tChinese");
    });
    EXPECT_EQ(hidden, (std::set<int>{IDOK, IDC_SPEAK_ENGLISH, IDC_VOICE_HINT, IDC_ENGLISH,
                                     IDC_CHINESE, IDC_SPEAK_CHINESE}));
}

TEST_F(MurmeloDialog, StartsWithTheFocusOnReadAndTabsInTemplateOrder) {
    CMurmeloDlg dlg;
    std::vector<int> visited;
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        for (int step = 0; step < 17; ++step) {
            visited.push_back(driver.FocusedId());
            driver.PressKey(Qt::Key_Tab);
        }
    });
    EXPECT_EQ(visited, (std::vector<int>{IDC_READ, IDCANCEL, IDC_TEXT, IDC_STOP, IDC_RATE_UP,
                                         IDC_RATE_DOWN, IDC_VOLUME_UP, IDC_VOLUME_DOWN, IDC_RATE,
                                         IDC_VOLUME, IDC_VOICE, IDC_INPUT_FILE_CHECK, IDC_LOOP,
                                         IDC_TO_WAV, IDC_BROWSE, IDC_HELP_INFO, IDC_READ}));
}

TEST_F(MurmeloDialog, EnterInTheTextBoxReadsAndAddsNoLineBreak) {
    CMurmeloDlg dlg;
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        dlg.m_editText.SetFocus();
        driver.SetText(IDC_TEXT, "Hello");
        driver.PressKey(Qt::Key_Return);
        EXPECT_EQ(driver.Text(IDC_TEXT), "Hello");
    });
    EXPECT_EQ(runtime.QueuedTexts(), (std::vector<std::string>{"Hello", "Hello"}));
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

TEST_F(MurmeloDialog, AClickInsideAGroupBoxReachesTheControlBeneathIt) {
    CMurmeloDlg dlg;
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        QWidget* edit = driver.Control(IDC_TEXT);
        QWidget* window = driver.Window();
        QWidget* hit = window->childAt(edit->mapTo(window, edit->rect().center()));
        EXPECT_TRUE(hit == edit || edit->isAncestorOf(hit));
    });
}

// What a screen reader announces for the controls whose captions do not say what they are.
TEST_F(MurmeloDialog, NamesTheEditsTheVoiceListAndTheButtonsForScreenReaders) {
    const struct {
        int id;
        const char* name;
    } rows[] = {
        {IDC_TEXT, "Input Text"},
        {IDC_INPUT_FILE, "Input File"},
        {IDC_RATE, "Rate"},
        {IDC_VOLUME, "Volume"},
        {IDC_LOOP, "Loop"},
        {IDC_VOICE, "Voice"},
        {IDC_RATE_UP, "Rate up"},
        {IDC_RATE_DOWN, "Rate down"},
        {IDC_VOLUME_UP, "Volume up"},
        {IDC_VOLUME_DOWN, "Volume down"},
        {IDC_BROWSE, "Browse for the input file"},
    };
    CMurmeloDlg dlg;
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        // As the accessibility bus hands it to a screen reader.
        for (const auto& row : rows) {
            QAccessibleInterface* control =
                QAccessible::queryAccessibleInterface(driver.Control(row.id));
            ASSERT_NE(control, nullptr) << row.id;
            EXPECT_EQ(control->text(QAccessible::Name).toStdString(), row.name) << row.id;
        }
        // No edit or list that a user can reach is left nameless.
        for (const DialogControl& control : MainTemplate().controls) {
            const bool named =
                control.kind == ControlKind::Edit || control.kind == ControlKind::ComboBox;
            if (named && control.state != ControlState::Hidden) {
                EXPECT_NE(control.accessibleName, nullptr) << control.id;
            }
        }
    });
}

// The last row of the image that holds a pixel unlike the background; -1 when none does.
int LastInkedRow(const QImage& image, QRgb background) {
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != background)
                return y;
        }
    }
    return -1;
}

// "Rate:" and "Volume:" are taller than one line; their text belongs in the first line, level
// with the edits they name.
TEST_F(MurmeloDialog, StaticTextsAreDrawnFromTheTopOfTheirRectangles) {
    CMurmeloDlg dlg;
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        for (QLabel* label : driver.Window()->findChildren<QLabel*>()) {
            if (label->text().isEmpty())
                continue;
            SCOPED_TRACE(label->text().toStdString());
            const QImage image = label->grab().toImage();
            const int lastRow = LastInkedRow(image, label->palette().color(QPalette::Window).rgb());
            ASSERT_GE(lastRow, 0) << "nothing drawn";
            EXPECT_LT(lastRow, label->fontMetrics().height());
        }
    });
}

struct RangeCase {
    const char* name;
    int control;
    int low;
    int high;
};

void PrintTo(const RangeCase& c, std::ostream* os) {
    *os << c.name;
}

class MurmeloRanges : public MurmeloDialog, public testing::WithParamInterface<RangeCase> {};

// Each bound is accepted and the number beyond it rejected, with the message naming both
// bounds and the focus on the box.
TEST_P(MurmeloRanges, AcceptTheBoundsAndRejectWhatLiesBeyond) {
    const RangeCase& c = GetParam();
    CMurmeloDlg dlg;
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        driver.SetText(IDC_RATE, "0");
        driver.SetText(IDC_VOLUME, "50");
        driver.SetText(IDC_LOOP, "1");
        for (const int value : {c.low, c.high, c.low - 1, c.high + 1}) {
            SCOPED_TRACE(value);
            const bool inside = value >= c.low && value <= c.high;
            const std::size_t boxes = prompts.Boxes().size();
            driver.SetText(c.control, std::to_string(value));
            EXPECT_EQ(dlg.UpdateData(TRUE), inside);
            ASSERT_EQ(prompts.Boxes().size(), boxes + (inside ? 0 : 1));
            if (!inside) {
                EXPECT_EQ(prompts.Boxes().back().text, "Please enter an integer between " +
                                                           std::to_string(c.low) + " and " +
                                                           std::to_string(c.high) + ".");
                EXPECT_EQ(driver.FocusedId(), c.control);
            }
        }
    });
}

INSTANTIATE_TEST_SUITE_P(Boxes, MurmeloRanges,
                         testing::Values(RangeCase{"rate", IDC_RATE, -10, 10},
                                         RangeCase{"volume", IDC_VOLUME, 0, 100},
                                         RangeCase{"loop", IDC_LOOP, 1, 999}),
                         CaseName());

} // namespace
