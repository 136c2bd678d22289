#include "platform/text/StringTable.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/IconHandle.h"
#include "platform/ui/ResourceModule.h"
#include "res/resource.h"
#include "ui/CMurmeloDlg.h"
#include "ui/IconOrigin.h"

#include "tests/support/CaseName.h"
#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/RunAndEscape.h"
#include "tests/support/ScriptedPrompts.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

const char* const kAboutCaption = "关于 Murmelo";

// Watches for about boxes while it lives and answers each with its OK button, recording
// what it showed: its texts, and its icon as "icon <width>". An about box runs a modal
// loop of its own, so the test cannot answer it from its own steps.
class AboutBoxAnswerer {
  public:
    AboutBoxAnswerer() {
        EnsureGuiApplication();
        QObject::connect(&m_timer, &QTimer::timeout, [this] { AnswerOpenBox(); });
        m_timer.start(5);
    }

    const std::vector<std::vector<std::string>>& Seen() const { return m_seen; }

  private:
    void AnswerOpenBox() {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible() || window->windowTitle() != QString::fromUtf8(kAboutCaption))
                continue;
            std::vector<std::string>& seen = m_seen.emplace_back();
            for (const QLabel* label : window->findChildren<QLabel*>())
                seen.push_back(label->pixmap().isNull()
                                   ? label->text().toStdString()
                                   : "icon " + std::to_string(label->pixmap().width()));
            for (const QPushButton* button : window->findChildren<QPushButton*>())
                seen.push_back(button->text().toStdString());
            window->findChild<QPushButton*>(QString::number(IDOK))->click();
            return;
        }
    }

    QTimer m_timer;
    std::vector<std::vector<std::string>> m_seen;
};

class WindowChrome : public testing::Test {
  protected:
    // The dialog loads its icon when it is constructed, which needs the GUI application.
    WindowChrome() { EnsureGuiApplication(); }

    FakeSpeechRuntime m_runtime;
    ScriptedPrompts m_prompts;
};

// Installs a string table of its own for one test and puts the program's back afterwards.
// The table is held by reference, so the program's is kept for the life of the process.
class StringTableOverride {
  public:
    explicit StringTableOverride(std::span<const StringResource> table) {
        static const StringResource program[] = {
            {IDP_OLE_INIT_FAILED, StringTable::Find(IDP_OLE_INIT_FAILED)},
            {IDS_ABOUTBOX, StringTable::Find(IDS_ABOUTBOX)}};
        m_program = program;
        StringTable::Install(table);
    }
    ~StringTableOverride() { StringTable::Install(m_program); }

  private:
    std::span<const StringResource> m_program;
};

std::vector<UINT> MenuIds(const CMenu& menu) {
    std::vector<UINT> ids;
    for (int pos = 0; pos < menu.GetMenuItemCount(); ++pos)
        ids.push_back(menu.GetMenuItemID(pos));
    return ids;
}

} // namespace

void PrintTo(const POINT& point, std::ostream* out) {
    *out << "(" << point.x << ", " << point.y << ")";
}

TEST_F(WindowChrome, EverySystemCommandOfTheAboutRangeOpensTheAboutBox) {
    CMurmeloDlg dlg;
    AboutBoxAnswerer answerer;
    RunAndEscape(dlg, [&](DialogDriver&) {
        for (UINT id = 0x000F; id <= 0x0020; ++id)
            dlg.SendMessage(WM_SYSCOMMAND, id, 0);
    });
    // Neighbours of the range are not the about command.
    ASSERT_EQ(answerer.Seen().size(), 16u);
    EXPECT_EQ(answerer.Seen().front(), (std::vector<std::string>{"icon 32", "Murmelo 1.0 版",
                                                                 "Copyright (C) 2026", "确定"}));
}

TEST_F(WindowChrome, OtherSystemCommandsTakeTheDefaultPath) {
    CMurmeloDlg dlg;
    const int result = DialogDriver::RunModal(dlg, [&](DialogDriver& d) {
        dlg.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        EXPECT_TRUE(dlg.IsIconic());
        dlg.SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_FALSE(dlg.IsIconic());
        // Close reaches WM_CLOSE and, with no automation client, ends the dialog.
        dlg.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_FALSE(d.IsOpen());
    });
    EXPECT_EQ(result, IDCANCEL);
}

struct AboutEntryCase {
    const char* name;
    std::vector<StringResource> strings;
    std::vector<UINT> appended;
};

void PrintTo(const AboutEntryCase& c, std::ostream* out) {
    *out << c.name;
}

class AboutEntry : public WindowChrome, public testing::WithParamInterface<AboutEntryCase> {};

TEST_P(AboutEntry, IsAppendedOnlyWhenItsStringHasText) {
    const StringTableOverride strings(GetParam().strings);
    CMurmeloDlg dlg;
    RunAndEscape(dlg, [&](DialogDriver&) {
        CMenu* menu = dlg.GetSystemMenu(FALSE);
        ASSERT_NE(menu, nullptr);
        std::vector<UINT> expected{SC_MINIMIZE, 0, SC_CLOSE};
        expected.insert(expected.end(), GetParam().appended.begin(), GetParam().appended.end());
        EXPECT_EQ(MenuIds(*menu), expected);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Strings, AboutEntry,
    testing::Values(AboutEntryCase{"present", {{IDS_ABOUTBOX, "About"}}, {0, IDM_ABOUTBOX}},
                    AboutEntryCase{"empty", {{IDS_ABOUTBOX, ""}}, {}},
                    AboutEntryCase{"absent", {{IDP_OLE_INIT_FAILED, "OLE"}}, {}}),
    CaseName());

struct IconOriginCase {
    const char* name;
    CRect client;
    POINT origin;
};

void PrintTo(const IconOriginCase& c, std::ostream* out) {
    *out << c.name;
}

class IconPlacement : public testing::TestWithParam<IconOriginCase> {};

TEST_P(IconPlacement, CentresTheIconWithSignedHalvesTruncatedTowardZero) {
    EXPECT_EQ(IconOrigin(GetParam().client, 32, 32), GetParam().origin);
}

INSTANTIATE_TEST_SUITE_P(
    Clients, IconPlacement,
    testing::Values(IconOriginCase{"wide_100", {0, 0, 100, 100}, {34, 34}},
                    IconOriginCase{"empty", {0, 0, 0, 0}, {-15, -15}},
                    IconOriginCase{"narrower_than_the_icon", {0, 0, 1, 30}, {-15, 0}},
                    IconOriginCase{"odd_difference", {0, 0, 33, 35}, {1, 2}},
                    IconOriginCase{"offset_rectangle", {10, 20, 110, 120}, {34, 34}}),
    CaseName());

TEST_F(WindowChrome, TheWindowCarriesTheIconAndPaintsItWhenMinimised) {
    CMurmeloDlg dlg;
    ASSERT_NE(dlg.m_hIcon, nullptr);
    const QList<QSize> sizes = dlg.m_hIcon->icon.availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)) && sizes.contains(QSize(16, 16)));
    RunAndEscape(dlg, [&](DialogDriver& d) {
        EXPECT_FALSE(d.Window()->windowIcon().isNull());
        EXPECT_EQ(dlg.SendMessage(WM_QUERYDRAGICON), reinterpret_cast<LRESULT>(dlg.m_hIcon));
        dlg.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(dlg.IsIconic());
        // The window's own painting, without the controls drawn over it.
        QPixmap window(d.Window()->size());
        d.Window()->render(&window, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        const QImage shot = window.toImage();
        const QImage icon = dlg.m_hIcon->icon.pixmap(QSize(32, 32)).toImage();
        const POINT origin = IconOrigin(CRect(0, 0, shot.width(), shot.height()), 32, 32);
        // Every opaque pixel of the icon is where the minimised window paints it.
        int opaque = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                if (icon.pixelColor(x, y).alpha() != 255)
                    continue;
                ++opaque;
                EXPECT_EQ(shot.pixelColor(origin.x + x, origin.y + y), icon.pixelColor(x, y));
            }
        }
        EXPECT_GT(opaque, 0);
        dlg.SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    });
}

// Help neither pulls what was typed into the members nor pushes the members over it.
TEST_F(WindowChrome, HelpShowsTheVoiceNoticeAndChangesNothing) {
    CMurmeloDlg dlg;
    RunAndEscape(dlg, [&](DialogDriver& d) {
        d.SetText(IDC_RATE, "7");
        d.SetText(IDC_TEXT, "typed");
        d.Click(IDC_HELP_INFO);
        EXPECT_EQ(d.Text(IDC_RATE), "7");
        EXPECT_EQ(d.Text(IDC_TEXT), "typed");
        EXPECT_EQ(dlg.m_nRate, 10);
        EXPECT_EQ(dlg.m_strText, "");
    });
    ASSERT_EQ(m_prompts.Boxes().size(), 1u);
    const ScriptedPrompts::Box& box = m_prompts.Boxes().front();
    EXPECT_EQ(box.caption, "Info");
    EXPECT_EQ(box.text, "For Supporting Chinese/Japanese Speech, Please Download and \n"
                        "Install TTS Library of: \n"
                        "\n"
                        "Microsoft - speechsdk51.exe and speechsdk51LangPack.exe.\n"
                        "\n"
                        "NeoSpeech - Text-To-Speech.Tts.Chinese.Mandarin.China.-.Wang.16Khz.");
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
}
