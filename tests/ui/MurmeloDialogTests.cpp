#include "platform/ui/ResourceModule.h"
#include "res/resource.h"
#include "ui/CMurmeloDlg.h"

#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/FileBytes.h"
#include "tests/support/RunAndEscape.h"
#include "tests/support/ScriptedPrompts.h"

#include <QImage>
#include <QLabel>

#include <gtest/gtest.h>

#include <set>

namespace {

// The dialog as the program runs it, with the text box as the source and two repetitions.
class MurmeloDialog : public testing::Test {
  protected:
    void SetUp() override { WriteFile("set.ini", "[Setting]\r\nInputFileChk=0\r\nLoop=2\r\n"); }

    FakeSpeechRuntime runtime{{"Voice A", "Voice B"}};
    ScriptedPrompts prompts;
};

// Every command of the table has its control, and no edit or list a user can reach is left
// without a name for screen readers.
TEST(MurmeloTemplate, CommandsHaveControlsAndReachableEditsHaveNames) {
    EnsureGuiApplication();
    std::set<int> ids;
    for (const DialogControl& control : AfxFindDialogTemplate(IDD_MURMELO_DIALOG)->controls) {
        EXPECT_TRUE(control.id == IDC_STATIC || ids.insert(control.id).second) << control.id;
        const bool named =
            control.kind == ControlKind::Edit || control.kind == ControlKind::ComboBox;
        EXPECT_FALSE(named && control.state != ControlState::Hidden && !control.accessibleName)
            << control.id;
    }
    CMurmeloDlg dlg;
    for (const auto& entry :
         dynamic_cast<const MessageMap<CMurmeloDlg>&>(*dlg.GetMessageMap()).Entries())
        EXPECT_TRUE(entry.message != WM_COMMAND || ids.contains(static_cast<int>(entry.id)))
            << entry.id;
}

TEST_F(MurmeloDialog, StartsWithTheFocusOnReadAndTabsInTemplateOrderPastHiddenControls) {
    CMurmeloDlg dlg;
    std::vector<int> visited;
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        for (int step = 0; step < 17; ++step, driver.PressKey(Qt::Key_Tab))
            visited.push_back(driver.FocusedId());
    });
    EXPECT_EQ(visited, (std::vector<int>{IDC_READ, IDCANCEL, IDC_TEXT, IDC_STOP, IDC_RATE_UP,
                                         IDC_RATE_DOWN, IDC_VOLUME_UP, IDC_VOLUME_DOWN, IDC_RATE,
                                         IDC_VOLUME, IDC_VOICE, IDC_INPUT_FILE_CHECK, IDC_LOOP,
                                         IDC_TO_WAV, IDC_BROWSE, IDC_HELP_INFO, IDC_READ}));
}

// Enter in the text box is the default button's, Read, and adds no line break.
TEST_F(MurmeloDialog, EnterInTheTextBoxReadsAndEscapeExitAndTheCloseBoxEndTheDialog) {
    CMurmeloDlg dlg;
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        dlg.m_editText.SetFocus();
        driver.SetText(IDC_TEXT, "Hello");
        driver.PressKey(Qt::Key_Return);
        EXPECT_EQ(driver.Text(IDC_TEXT), "Hello");
    });
    EXPECT_EQ(runtime.QueuedTexts(), (std::vector<std::string>{"Hello", "Hello"}));
    for (void (*end)(DialogDriver&) :
         {+[](DialogDriver& d) { d.PressKey(Qt::Key_Escape); },
          +[](DialogDriver& d) { d.Click(IDCANCEL); }, +[](DialogDriver& d) { d.CloseBox(); }}) {
        CMurmeloDlg other;
        EXPECT_EQ(DialogDriver::RunModal(other, end), IDCANCEL);
    }
}

TEST_F(MurmeloDialog, AClickInsideAGroupBoxReachesTheControlBeneathIt) {
    CMurmeloDlg dlg;
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        QWidget* edit = driver.Control(IDC_TEXT);
        QWidget* hit =
            driver.Window()->childAt(edit->mapTo(driver.Window(), edit->rect().center()));
        EXPECT_TRUE(hit == edit || edit->isAncestorOf(hit));
    });
}

// "Rate:" and "Volume:" are taller than one line; their text belongs in the first line, level
// with the edits they name, so nothing may be drawn below it.
TEST_F(MurmeloDialog, StaticTextsAreDrawnFromTheTopOfTheirRectangles) {
    CMurmeloDlg dlg;
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        for (QLabel* label : driver.Window()->findChildren<QLabel*>()) {
            if (label->text().isEmpty())
                continue;
            const QImage image = label->grab().toImage();
            const QRgb background = label->palette().color(QPalette::Window).rgb();
            int lastInked = -1;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    lastInked = image.pixel(x, y) != background ? y : lastInked;
            EXPECT_TRUE(lastInked >= 0 && lastInked < label->fontMetrics().height())
                << label->text().toStdString() << " inked to row " << lastInked;
        }
    });
}

// Each bound is accepted and the number beyond it rejected with one message.
TEST_F(MurmeloDialog, RateVolumeAndLoopAcceptTheirBoundsAndRejectWhatLiesBeyond) {
    CMurmeloDlg dlg;
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        for (const auto& [id, low, high] :
             {std::tuple{IDC_RATE, -10, 10}, std::tuple{IDC_VOLUME, 0, 100},
              std::tuple{IDC_LOOP, 1, 999}}) {
            for (const int value : {low, high, low - 1, high + 1}) {
                for (const int box : {IDC_RATE, IDC_VOLUME, IDC_LOOP})
                    driver.SetText(box, box == id ? std::to_string(value) : "1");
                const std::size_t boxes = prompts.Boxes().size();
                const bool inside = value >= low && value <= high;
                EXPECT_EQ(dlg.UpdateData(TRUE), inside) << id << ' ' << value;
                EXPECT_EQ(prompts.Boxes().size(), boxes + (inside ? 0 : 1)) << id << ' ' << value;
            }
        }
    });
}

} // namespace
