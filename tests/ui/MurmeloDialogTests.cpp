#include "platform/ui/CMenu.h"
#include "platform/ui/IconHandle.h"
#include "platform/ui/ResourceModule.h"
#include "res/resource.h"
#include "ui/CMurmeloDlg.h"

#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/RunAndEscape.h"
#include "tests/support/ScriptedPrompts.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>

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

// Every command of the table has its control, and no edit or list a user can reach is left
// without a name for screen readers.
TEST_F(MurmeloDialog, CommandsHaveControlsAndReachableEditsHaveNames) {
    std::set<int> ids;
    for (const DialogControl& control : AfxFindDialogTemplate(IDD_MURMELO_DIALOG)->controls) {
        EXPECT_TRUE(control.id == IDC_STATIC || ids.insert(control.id).second) << control.id;
        const bool named =
            control.kind == ControlKind::Edit || control.kind == ControlKind::ComboBox;
        EXPECT_FALSE(named && control.state != ControlState::Hidden && !control.accessibleName)
            << control.id;
    }
    for (const auto& entry :
         dynamic_cast<const MessageMap<CMurmeloDlg>&>(*dlg.GetMessageMap()).Entries())
        EXPECT_TRUE(entry.message != WM_COMMAND || ids.contains(static_cast<int>(entry.id)))
            << entry.id;
}

// A click inside a group box reaches the control beneath it.
TEST_F(MurmeloDialog, GroupBoxesLetClicksThrough) {
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        QWidget* edit = driver.Control(IDC_TEXT);
        QWidget* hit =
            driver.Window()->childAt(edit->mapTo(driver.Window(), edit->rect().center()));
        EXPECT_TRUE(hit == edit || edit->isAncestorOf(hit));
    });
}

// Each bound is accepted and the number beyond it rejected with one message.
TEST_F(MurmeloDialog, RateVolumeAndLoopAcceptTheirBoundsAndRejectWhatLiesBeyond) {
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        for (const auto& [id, low, high] :
             {std::tuple{IDC_RATE, -10, 10}, {IDC_VOLUME, 0, 100}, {IDC_LOOP, 1, 999}}) {
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

std::vector<UINT> SystemMenuIds(CMurmeloDlg& dlg) {
    std::vector<UINT> ids;
    RunAndEscape(dlg, [&](DialogDriver&) {
        for (int pos = 0; pos < dlg.GetSystemMenu(FALSE)->GetMenuItemCount(); ++pos)
            ids.push_back(dlg.GetSystemMenu(FALSE)->GetMenuItemID(pos));
    });
    return ids;
}

// An about box runs a modal loop of its own, so a timer answers each one with its OK button.
// The low four bits are the platform's; the neighbours of the range are not about.
TEST_F(MurmeloDialog, TheAboutEntryAndEverySystemCommandOfItsRangeOpenTheAboutBox) {
    EXPECT_EQ(SystemMenuIds(dlg), (std::vector<UINT>{SC_MINIMIZE, 0, SC_CLOSE, 0, IDM_ABOUTBOX}));
    int opened = 0;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        for (QWidget* box : QApplication::topLevelWidgets()) {
            if (box->isVisible() && box->windowTitle() == QString::fromUtf8("关于 Murmelo")) {
                ++opened;
                box->findChild<QPushButton*>(QString::number(IDOK))->click();
            }
        }
    });
    answerer.start(5);
    CMurmeloDlg other;
    RunAndEscape(other, [&](DialogDriver&) {
        for (UINT id = 0x000F; id <= 0x0020; ++id)
            other.SendMessage(WM_SYSCOMMAND, id, 0);
    });
    EXPECT_EQ(opened, 16);
}

// The window carries the program's icon, in the sizes a task bar and a title bar ask for.
TEST_F(MurmeloDialog, TheWindowCarriesTheIcon) {
    ASSERT_NE(dlg.m_hIcon, nullptr);
    const QList<QSize> sizes = dlg.m_hIcon->icon.availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)) && sizes.contains(QSize(16, 16)));
    RunAndEscape(dlg, [&](DialogDriver& d) { EXPECT_FALSE(d.Window()->windowIcon().isNull()); });
}

// Help neither pulls what was typed into the members nor pushes the members over it.
TEST_F(MurmeloDialog, HelpShowsTheVoiceNoticeAndChangesNothing) {
    RunAndEscape(dlg, [&](DialogDriver& d) {
        d.SetText(IDC_RATE, "7");
        d.Click(IDC_HELP_INFO);
        EXPECT_EQ(d.Text(IDC_RATE), "7");
        EXPECT_EQ(dlg.m_nRate, 10);
    });
    ASSERT_EQ(prompts.Boxes().size(), 1u);
    EXPECT_EQ(prompts.Boxes()[0].caption + ": " + prompts.Boxes()[0].text.substr(0, 38),
              "Info: For Supporting Chinese/Japanese Speech");
    EXPECT_EQ(prompts.Boxes()[0].buttons, std::vector<int>{IDOK});
}

} // namespace
