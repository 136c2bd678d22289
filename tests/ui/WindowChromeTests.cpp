#include "platform/text/StringTable.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/IconHandle.h"
#include "platform/ui/ResourceModule.h"
#include "res/resource.h"
#include "ui/CMurmeloDlg.h"
#include "ui/IconOrigin.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/ScriptedPrompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

const char* const kAboutCaption = "关于 Murmelo";

// What a user saw in one about box before pressing its OK button.
struct AboutBoxSeen {
    std::vector<std::string> texts;
    QSize iconSize;
};

// Watches for about boxes while it lives and answers each with its OK button, recording
// what it showed. An about box runs a modal loop of its own, so the test cannot answer it
// from its own steps.
class AboutBoxAnswerer {
  public:
    AboutBoxAnswerer() {
        EnsureGuiApplication();
        QObject::connect(&m_timer, &QTimer::timeout, [this] { AnswerOpenBox(); });
        m_timer.start(5);
    }

    const std::vector<AboutBoxSeen>& Seen() const { return m_seen; }

    // Lets the event loop run until n about boxes have been answered (or a while passed).
    void WaitFor(std::size_t n) const {
        QElapsedTimer elapsed;
        elapsed.start();
        while (m_seen.size() < n && elapsed.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
    }

  private:
    void AnswerOpenBox() {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible() || window->windowTitle() != QString::fromUtf8(kAboutCaption))
                continue;
            AboutBoxSeen seen;
            for (const QLabel* label : window->findChildren<QLabel*>()) {
                if (label->pixmap().isNull())
                    seen.texts.push_back(label->text().toStdString());
                else
                    seen.iconSize = label->pixmap().size();
            }
            for (const QPushButton* button : window->findChildren<QPushButton*>())
                seen.texts.push_back(button->text().toStdString());
            m_seen.push_back(seen);
            window->findChild<QPushButton*>(QString::number(IDOK))->click();
            return;
        }
    }

    QTimer m_timer;
    std::vector<AboutBoxSeen> m_seen;
};

class WindowChrome : public testing::Test {
  protected:
    // The dialog loads its icon when it is constructed, which needs the GUI application.
    WindowChrome() { EnsureGuiApplication(); }

    FakeSpeechRuntime m_runtime;
    ScriptedPrompts m_prompts;
};

// Replaces the program's string table for one test and puts it back afterwards.
class StringTableOverride {
  public:
    explicit StringTableOverride(std::span<const StringResource> table) {
        for (UINT id : {IDP_OLE_INIT_FAILED, IDS_ABOUTBOX}) {
            CString text;
            text.LoadString(id);
            m_texts.push_back(text.str());
        }
        m_original = {{IDP_OLE_INIT_FAILED, m_texts[0].c_str()},
                      {IDS_ABOUTBOX, m_texts[1].c_str()}};
        StringTable::Install(table);
    }
    ~StringTableOverride() { StringTable::Install(m_original); }

  private:
    std::vector<std::string> m_texts;
    std::vector<StringResource> m_original;
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
    DialogDriver::RunModal(dlg, [&](DialogDriver& d) {
        for (UINT id = 0x0010; id <= 0x001F; ++id)
            dlg.SendMessage(WM_SYSCOMMAND, id, 0);
        EXPECT_EQ(answerer.Seen().size(), 16u);
        // Neighbours of the range are not the about command.
        dlg.SendMessage(WM_SYSCOMMAND, 0x000F, 0);
        dlg.SendMessage(WM_SYSCOMMAND, 0x0020, 0);
        EXPECT_EQ(answerer.Seen().size(), 16u);
        d.PressKey(Qt::Key_Escape);
    });
    ASSERT_FALSE(answerer.Seen().empty());
    const AboutBoxSeen& box = answerer.Seen().front();
    EXPECT_EQ(box.texts,
              (std::vector<std::string>{"Murmelo 1.0 版", "Copyright (C) 2026", "确定"}));
    EXPECT_EQ(box.iconSize, QSize(32, 32));
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

TEST_F(WindowChrome, AltSpaceOpensTheSystemMenuWithTheAboutEntry) {
    CMurmeloDlg dlg;
    AboutBoxAnswerer answerer;
    DialogDriver::RunModal(dlg, [&](DialogDriver& d) {
        ASSERT_EQ(d.FocusedId(), IDC_READ);
        d.PressKey(Qt::Key_Space, Qt::AltModifier);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        ASSERT_FALSE(menu->actions().isEmpty());
        EXPECT_EQ(menu->actions().back()->text().toStdString(), "关于 Murmelo(&A)...");
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(menu, &key);
        answerer.WaitFor(1);
        EXPECT_EQ(answerer.Seen().size(), 1u);
        d.PressKey(Qt::Key_Escape);
    });
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
    DialogDriver::RunModal(dlg, [&](DialogDriver& d) {
        CMenu* menu = dlg.GetSystemMenu(FALSE);
        ASSERT_NE(menu, nullptr);
        std::vector<UINT> expected{SC_MINIMIZE, 0, SC_CLOSE};
        expected.insert(expected.end(), GetParam().appended.begin(), GetParam().appended.end());
        EXPECT_EQ(MenuIds(*menu), expected);
        d.PressKey(Qt::Key_Escape);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Strings, AboutEntry,
    testing::Values(AboutEntryCase{"present", {{IDS_ABOUTBOX, "About"}}, {0, IDM_ABOUTBOX}},
                    AboutEntryCase{"empty", {{IDS_ABOUTBOX, ""}}, {}},
                    AboutEntryCase{"absent", {{IDP_OLE_INIT_FAILED, "OLE"}}, {}}),
    [](const testing::TestParamInfo<AboutEntryCase>& info) { return info.param.name; });

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
    [](const testing::TestParamInfo<IconOriginCase>& info) { return info.param.name; });

TEST_F(WindowChrome, TheWindowCarriesTheIconAndPaintsItWhenMinimised) {
    CMurmeloDlg dlg;
    ASSERT_NE(dlg.m_hIcon, nullptr);
    DialogDriver::RunModal(dlg, [&](DialogDriver& d) {
        EXPECT_FALSE(d.Window()->windowIcon().isNull());
        EXPECT_EQ(dlg.SendMessage(WM_QUERYDRAGICON), reinterpret_cast<LRESULT>(dlg.m_hIcon));

        dlg.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(dlg.IsIconic());
        // The window's own painting, without the controls drawn over it.
        QPixmap window(d.Window()->size());
        d.Window()->render(&window, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        const QImage shot = window.toImage();
        const QImage icon = dlg.m_hIcon->icon.pixmap(QSize(32, 32)).toImage();
        const CRect client(0, 0, d.Window()->width(), d.Window()->height());
        const POINT origin = IconOrigin(client, 32, 32);
        int opaque = 0;
        int matching = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const QColor want = icon.pixelColor(x, y);
                if (want.alpha() != 255)
                    continue;
                ++opaque;
                if (shot.pixelColor(origin.x + x, origin.y + y) == want)
                    ++matching;
            }
        }
        // Every opaque pixel of the icon is where the minimised window paints it.
        EXPECT_GT(opaque, 0);
        EXPECT_EQ(matching, opaque);
        dlg.SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
        d.PressKey(Qt::Key_Escape);
    });
}

TEST_F(WindowChrome, HelpShowsTheVoiceNoticeAndChangesNothing) {
    CMurmeloDlg dlg;
    DialogDriver::RunModal(dlg, [&](DialogDriver& d) {
        // Typed but not pulled: Help must neither pull nor push.
        d.SetText(IDC_RATE, "7");
        d.SetText(IDC_TEXT, "typed");
        const LONG rate = dlg.m_nRate;
        const CString text = dlg.m_strText;

        // From Read, Shift+Tab reaches Help (the last control), and Enter presses it.
        ASSERT_EQ(d.FocusedId(), IDC_READ);
        d.PressKey(Qt::Key_Backtab, Qt::ShiftModifier);
        ASSERT_EQ(d.FocusedId(), IDC_HELP_INFO);
        d.PressKey(Qt::Key_Return);

        EXPECT_EQ(d.Text(IDC_RATE), "7");
        EXPECT_EQ(d.Text(IDC_TEXT), "typed");
        EXPECT_EQ(dlg.m_nRate, rate);
        EXPECT_EQ(dlg.m_strText, text);
        EXPECT_TRUE(d.IsOpen());
        d.PressKey(Qt::Key_Escape);
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
    EXPECT_EQ(box.type, MB_OK);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
}
