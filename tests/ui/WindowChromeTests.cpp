#include "platform/text/StringTable.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/IconHandle.h"
#include "res/resource.h"
#include "ui/CMurmeloDlg.h"
#include "ui/IconOrigin.h"

#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/RunAndEscape.h"
#include "tests/support/ScriptedPrompts.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class WindowChrome : public testing::Test {
  protected:
    // The dialog loads its icon when it is constructed, which needs the GUI application.
    WindowChrome() { EnsureGuiApplication(); }

    FakeSpeechRuntime m_runtime;
    ScriptedPrompts m_prompts;
};

std::vector<UINT> SystemMenuIds(CMurmeloDlg& dlg) {
    std::vector<UINT> ids;
    RunAndEscape(dlg, [&](DialogDriver&) {
        for (int pos = 0; pos < dlg.GetSystemMenu(FALSE)->GetMenuItemCount(); ++pos)
            ids.push_back(dlg.GetSystemMenu(FALSE)->GetMenuItemID(pos));
    });
    return ids;
}

// An about box runs a modal loop of its own, so a timer answers each one with its OK button
// and keeps the texts of the first: "icon <width>" for its icon.
TEST_F(WindowChrome, TheAboutEntryAndEverySystemCommandOfItsRangeOpenTheAboutBox) {
    CMurmeloDlg dlg;
    EXPECT_EQ(SystemMenuIds(dlg), (std::vector<UINT>{SC_MINIMIZE, 0, SC_CLOSE, 0, IDM_ABOUTBOX}));
    int opened = 0;
    std::vector<std::string> texts;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        for (QWidget* box : QApplication::topLevelWidgets()) {
            if (!box->isVisible() || box->windowTitle() != QString::fromUtf8("关于 Murmelo"))
                continue;
            for (const QLabel* label : box->findChildren<QLabel*>())
                if (opened == 0)
                    texts.push_back(label->pixmap().isNull()
                                        ? label->text().toStdString()
                                        : "icon " + std::to_string(label->pixmap().width()));
            ++opened;
            box->findChild<QPushButton*>(QString::number(IDOK))->click();
        }
    });
    answerer.start(5);
    CMurmeloDlg other;
    RunAndEscape(other, [&](DialogDriver&) {
        // The low four bits are the platform's; the neighbours of the range are not about.
        for (UINT id = 0x000F; id <= 0x0020; ++id)
            other.SendMessage(WM_SYSCOMMAND, id, 0);
    });
    EXPECT_EQ(opened, 16);
    EXPECT_EQ(texts, (std::vector<std::string>{"icon 32", "Murmelo 1.0 版", "Copyright (C) 2026"}));
}

TEST_F(WindowChrome, AnEmptyAboutStringAddsNoEntry) {
    static const StringResource program[] = {{IDS_ABOUTBOX, StringTable::Find(IDS_ABOUTBOX)}};
    static const StringResource empty[] = {{IDS_ABOUTBOX, ""}};
    StringTable::Install(empty);
    CMurmeloDlg dlg;
    const std::vector<UINT> ids = SystemMenuIds(dlg);
    StringTable::Install(program);
    EXPECT_EQ(ids, (std::vector<UINT>{SC_MINIMIZE, 0, SC_CLOSE}));
}

TEST(IconPlacement, CentresTheIconWithSignedHalvesTruncatedTowardZero) {
    EXPECT_EQ(IconOrigin(CRect(10, 20, 110, 120), 32, 32), (POINT{34, 34}));
    EXPECT_EQ(IconOrigin(CRect(0, 0, 0, 30), 32, 32), (POINT{-15, 0}));
    EXPECT_EQ(IconOrigin(CRect(0, 0, 33, 35), 32, 32), (POINT{1, 2}));
}

// Minimise and restore take the default path, and so does Close, which ends the dialog.
TEST_F(WindowChrome, TheWindowCarriesTheIconAndPaintsItWhenMinimised) {
    CMurmeloDlg dlg;
    ASSERT_NE(dlg.m_hIcon, nullptr);
    const QList<QSize> sizes = dlg.m_hIcon->icon.availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)) && sizes.contains(QSize(16, 16)));
    const int result = DialogDriver::RunModal(dlg, [&](DialogDriver& d) {
        EXPECT_FALSE(d.Window()->windowIcon().isNull());
        EXPECT_EQ(dlg.SendMessage(WM_QUERYDRAGICON), reinterpret_cast<LRESULT>(dlg.m_hIcon));
        dlg.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(dlg.IsIconic());
        // The window's own painting, without the controls drawn over it.
        QPixmap window(d.Window()->size());
        d.Window()->render(&window, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        const QImage shot = window.toImage();
        const QImage icon = dlg.m_hIcon->icon.pixmap(QSize(32, 32)).toImage();
        const POINT at = IconOrigin(CRect(0, 0, shot.width(), shot.height()), 32, 32);
        int opaque = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                if (icon.pixelColor(x, y).alpha() != 255)
                    continue;
                ++opaque;
                EXPECT_EQ(shot.pixelColor(at.x + x, at.y + y), icon.pixelColor(x, y));
            }
        }
        EXPECT_GT(opaque, 0);
        dlg.SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_FALSE(dlg.IsIconic());
        dlg.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_FALSE(d.IsOpen());
    });
    EXPECT_EQ(result, IDCANCEL);
}

// Help neither pulls what was typed into the members nor pushes the members over it.
TEST_F(WindowChrome, HelpShowsTheVoiceNoticeAndChangesNothing) {
    CMurmeloDlg dlg;
    RunAndEscape(dlg, [&](DialogDriver& d) {
        d.SetText(IDC_RATE, "7");
        d.Click(IDC_HELP_INFO);
        EXPECT_EQ(d.Text(IDC_RATE), "7");
        EXPECT_EQ(dlg.m_nRate, 10);
    });
    ASSERT_EQ(m_prompts.Boxes().size(), 1u);
    EXPECT_EQ(m_prompts.Boxes()[0].caption, "Info");
    EXPECT_EQ(m_prompts.Boxes()[0].text.rfind("For Supporting Chinese/Japanese Speech", 0), 0u);
    EXPECT_EQ(m_prompts.Boxes()[0].buttons, std::vector<int>{IDOK});
}

} // namespace
