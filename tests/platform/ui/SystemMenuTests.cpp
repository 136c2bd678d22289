#include "platform/ui/CDialog.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CPaintDC.h"
#include "platform/ui/IconHandle.h"
#include "platform/ui/ResourceModule.h"
#include "tests/support/CaseName.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/RunAndEscape.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPixmap>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

// Dialogs of this test's own resources: one with the system menu and the minimise box, one
// with the system menu only, one without a system menu.
enum ChromeId {
    IDD_WITH_MINIMISE = 1,
    IDD_SYSMENU_ONLY = 2,
    IDD_NO_SYSMENU = 3,
    IDC_GO = 20,
    IDC_LABEL = 21,
};

constexpr UINT kProbeCommand = 0x0020;

constexpr DialogControl kControls[] = {
    {IDC_GO, ControlKind::PushButton, "&Go", 60, 4, 40, 14, ControlState::Visible,
     BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDC_LABEL, ControlKind::Static, "Label", 60, 40, 40, 8, ControlState::Visible, SS_LEFT},
};

constexpr DWORD kFrame = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;

constexpr DialogTemplate kDialogs[] = {
    {IDD_WITH_MINIMISE, "Chrome", 120, 60, "宋体", 9, kFrame | WS_SYSMENU | WS_MINIMIZEBOX, 0,
     kControls},
    {IDD_SYSMENU_ONLY, "Chrome", 120, 60, "宋体", 9, kFrame | WS_SYSMENU, 0, kControls},
    {IDD_NO_SYSMENU, "Chrome", 120, 60, "宋体", 9, kFrame, 0, kControls},
};

const ResourceModule kModule{kDialogs, {}};

// Records the system commands, closes and paints that reach its table, and passes each on
// to the default processing; told to, it paints an icon at the top-left corner itself.
class ChromeProbe : public CDialog {
  public:
    explicit ChromeProbe(UINT nIDTemplate) : CDialog(nIDTemplate) {}

    const AFX_MSGMAP* GetMessageMap() const override { return &messageMap; }

    std::vector<UINT> m_sysCommands;
    int m_nCloses = 0;
    int m_nPaints = 0;
    HICON m_hPaintIcon = nullptr;
    BOOL m_bIconDrawn = FALSE;

  private:
    static const MessageMap<ChromeProbe> messageMap;

    void OnSysCommand(UINT nID, LPARAM /*lParam*/) {
        m_sysCommands.push_back(nID);
        Default();
    }
    void OnClose() {
        ++m_nCloses;
        Default();
    }
    void OnPaint() {
        ++m_nPaints;
        if (!m_hPaintIcon) {
            Default();
            return;
        }
        CPaintDC dc(this);
        m_bIconDrawn = dc.DrawIcon(0, 0, m_hPaintIcon);
    }
};

const MessageMap<ChromeProbe> ChromeProbe::messageMap{
    &CDialog::messageMap,
    {
        {WM_SYSCOMMAND, &ChromeProbe::OnSysCommand},
        {WM_CLOSE, &ChromeProbe::OnClose},
        {WM_PAINT, &ChromeProbe::OnPaint},
    }};

QMenu* OpenPopup() {
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

std::vector<std::string> EntryTexts(const CMenu& menu) {
    std::vector<std::string> texts;
    for (int pos = 0; pos < menu.GetMenuItemCount(); ++pos) {
        CString text;
        menu.GetMenuString(static_cast<UINT>(pos), text, MF_BYPOSITION);
        texts.push_back(text.str());
    }
    return texts;
}

// A key typed on the open menu, as a user chooses an entry by its access key.
void TypeOnMenu(QMenu* menu, Qt::Key key, const char* text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString::fromLatin1(text));
    QApplication::sendEvent(menu, &press);
    // The chosen command arrives once the menu has closed.
    QApplication::processEvents();
}

std::unique_ptr<IconHandle> SolidIcon(Qt::GlobalColor color) {
    EnsureGuiApplication();
    QPixmap pixmap(32, 32);
    pixmap.fill(color);
    auto icon = std::make_unique<IconHandle>();
    icon->icon.addPixmap(pixmap);
    return icon;
}

} // namespace

const ResourceModule& AfxGetResourceModule() {
    return kModule;
}

TEST(SystemMenu, OffersTheStandardCommandsWithAccessKeys) {
    ChromeProbe dlg(IDD_WITH_MINIMISE);
    DialogDriver::RunModal(dlg, [&](DialogDriver& d) {
        CMenu* menu = dlg.GetSystemMenu(FALSE);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(EntryTexts(*menu), (std::vector<std::string>{"Mi&nimize", "", "&Close\tAlt+F4"}));
        EXPECT_EQ(menu->GetMenuItemID(0), SC_MINIMIZE);
        EXPECT_EQ(menu->GetMenuItemID(1), 0u);
        EXPECT_EQ(menu->GetMenuItemID(2), SC_CLOSE);
        EXPECT_EQ(menu->GetMenuItemID(3), static_cast<UINT>(-1));
        d.PressKey(Qt::Key_Escape);
    });
}

// Alt+Space opens the menu where the window has one; Minimize works only with the box.
TEST(SystemMenu, FollowsTheWindowStyle) {
    const struct {
        UINT dialog;
        bool menu;
        bool minimise;
    } rows[] = {{IDD_WITH_MINIMISE, true, true},
                {IDD_SYSMENU_ONLY, true, false},
                {IDD_NO_SYSMENU, false, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.dialog);
        ChromeProbe dlg(row.dialog);
        RunAndEscape(dlg, [&](DialogDriver& d) {
            EXPECT_EQ(dlg.GetSystemMenu(FALSE) != nullptr, row.menu);
            d.PressKey(Qt::Key_Space, Qt::AltModifier);
            QMenu* popup = OpenPopup();
            ASSERT_EQ(popup != nullptr, row.menu);
            if (popup) {
                EXPECT_EQ(popup->actions().at(0)->isEnabled(), row.minimise);
                EXPECT_TRUE(popup->actions().at(2)->isEnabled());
                popup->close();
            } else {
                EXPECT_TRUE(dlg.m_sysCommands.empty());
            }
        });
    }
}

TEST(SystemMenu, AppendedEntriesCanBeChosenAndReverted) {
    ChromeProbe dlg(IDD_WITH_MINIMISE);
    DialogDriver::RunModal(dlg, [&](DialogDriver& d) {
        CMenu* menu = dlg.GetSystemMenu(FALSE);
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(menu->AppendMenu(MF_SEPARATOR));
        EXPECT_TRUE(menu->AppendMenu(MF_STRING, kProbeCommand, "&Probe..."));
        EXPECT_EQ(menu->GetMenuItemCount(), 5);
        EXPECT_EQ(menu->GetMenuItemID(3), 0u);
        CString text;
        EXPECT_EQ(menu->GetMenuString(kProbeCommand, text, 0), 9);
        EXPECT_EQ(text, "&Probe...");

        d.PressKey(Qt::Key_Space, Qt::AltModifier);
        QMenu* popup = OpenPopup();
        ASSERT_NE(popup, nullptr);
        TypeOnMenu(popup, Qt::Key_P, "p");
        EXPECT_EQ(dlg.m_sysCommands, (std::vector<UINT>{SC_KEYMENU, kProbeCommand}));

        EXPECT_EQ(dlg.GetSystemMenu(TRUE), nullptr);
        EXPECT_EQ(dlg.GetSystemMenu(FALSE)->GetMenuItemCount(), 3);
        d.PressKey(Qt::Key_Escape);
    });
}

// The menu opens from the keyboard and from a right click on the background; choosing
// Close by its access key ends the dialog through WM_CLOSE's default processing.
struct OpenerCase {
    const char* name;
    void (*open)(DialogDriver&);
};

void PrintTo(const OpenerCase& c, std::ostream* out) {
    *out << c.name;
}

class SystemMenuOpener : public testing::TestWithParam<OpenerCase> {};

TEST_P(SystemMenuOpener, OpensTheMenuWhoseCloseEndsTheDialog) {
    ChromeProbe dlg(IDD_WITH_MINIMISE);
    const int result = DialogDriver::RunModal(dlg, [&](DialogDriver& d) {
        GetParam().open(d);
        QMenu* popup = OpenPopup();
        ASSERT_NE(popup, nullptr);
        TypeOnMenu(popup, Qt::Key_C, "c");
        EXPECT_EQ(dlg.m_sysCommands.back(), SC_CLOSE);
        EXPECT_EQ(dlg.m_nCloses, 1);
    });
    EXPECT_EQ(result, IDCANCEL);
}

INSTANTIATE_TEST_SUITE_P(
    Openers, SystemMenuOpener,
    testing::Values(OpenerCase{"alt_space_on_a_button",
                               [](DialogDriver& d) { d.PressKey(Qt::Key_Space, Qt::AltModifier); }},
                    OpenerCase{"right_click_on_the_background",
                               [](DialogDriver& d) {
                                   QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, 2),
                                                           d.Window()->mapToGlobal(QPoint(2, 2)));
                                   QApplication::sendEvent(d.Window(), &click);
                               }},
                    OpenerCase{"right_click_on_a_label",
                               [](DialogDriver& d) {
                                   QWidget* label = d.Control(IDC_LABEL);
                                   const QPoint inside = label->geometry().center();
                                   QContextMenuEvent click(QContextMenuEvent::Mouse, inside,
                                                           d.Window()->mapToGlobal(inside));
                                   QApplication::sendEvent(d.Window(), &click);
                               }}),
    CaseName());

TEST(SystemMenu, ARightClickOnAButtonDoesNotOpenIt) {
    ChromeProbe dlg(IDD_WITH_MINIMISE);
    DialogDriver::RunModal(dlg, [&](DialogDriver& d) {
        QWidget* button = d.Control(IDC_GO);
        const QPoint inside = button->geometry().center();
        QContextMenuEvent click(QContextMenuEvent::Mouse, inside, d.Window()->mapToGlobal(inside));
        QApplication::sendEvent(d.Window(), &click);
        EXPECT_EQ(OpenPopup(), nullptr);
        d.PressKey(Qt::Key_Escape);
    });
}

TEST(SystemCommand, DefaultProcessingMinimisesRestoresAndCloses) {
    ChromeProbe dlg(IDD_WITH_MINIMISE);
    const int result = DialogDriver::RunModal(dlg, [&](DialogDriver&) {
        EXPECT_FALSE(dlg.IsIconic());
        dlg.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
        EXPECT_TRUE(dlg.IsIconic());
        // The low four bits are the platform's and do not change the command.
        dlg.SendMessage(WM_SYSCOMMAND, SC_RESTORE | 0x2);
        EXPECT_FALSE(dlg.IsIconic());
        dlg.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
        EXPECT_EQ(dlg.m_nCloses, 1);
    });
    EXPECT_EQ(result, IDCANCEL);
}

TEST(SystemCommand, AltF4ClosesThroughTheTable) {
    ChromeProbe dlg(IDD_SYSMENU_ONLY);
    const int result = DialogDriver::RunModal(
        dlg, [&](DialogDriver& d) { d.PressKey(Qt::Key_F4, Qt::AltModifier); });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dlg.m_sysCommands, std::vector<UINT>{SC_CLOSE});
    EXPECT_EQ(dlg.m_nCloses, 1);
}

TEST(WindowIcon, SetIconShowsTheIconAndReturnsTheOneItReplaces) {
    const auto red = SolidIcon(Qt::red);
    const auto blue = SolidIcon(Qt::blue);
    ChromeProbe dlg(IDD_WITH_MINIMISE);
    DialogDriver::RunModal(dlg, [&](DialogDriver& d) {
        EXPECT_EQ(dlg.SetIcon(red.get(), TRUE), nullptr);
        EXPECT_EQ(dlg.SetIcon(red.get(), FALSE), nullptr);
        EXPECT_FALSE(d.Window()->windowIcon().isNull());
        EXPECT_EQ(dlg.SetIcon(blue.get(), TRUE), red.get());
        EXPECT_EQ(dlg.SetIcon(nullptr, TRUE), blue.get());
        EXPECT_EQ(dlg.SetIcon(nullptr, FALSE), red.get());
        EXPECT_TRUE(d.Window()->windowIcon().isNull());
        d.PressKey(Qt::Key_Escape);
    });
}

TEST(Painting, PaintEventsReachTheTableAndAPaintContextDrawsIcons) {
    const auto red = SolidIcon(Qt::red);
    ChromeProbe dlg(IDD_WITH_MINIMISE);
    DialogDriver::RunModal(dlg, [&](DialogDriver& d) {
        const int before = dlg.m_nPaints;
        const QImage normal = d.Window()->grab().toImage();
        EXPECT_GT(dlg.m_nPaints, before);
        EXPECT_NE(normal.pixelColor(5, 5), QColor(Qt::red));

        dlg.m_hPaintIcon = red.get();
        const QImage painted = d.Window()->grab().toImage();
        EXPECT_TRUE(dlg.m_bIconDrawn);
        EXPECT_EQ(painted.pixelColor(5, 5), QColor(Qt::red));
        EXPECT_EQ(painted.pixelColor(31, 31), QColor(Qt::red));
        EXPECT_NE(painted.pixelColor(33, 33), QColor(Qt::red));

        // Outside a paint event there is nothing to paint on.
        dlg.SendMessage(WM_PAINT);
        EXPECT_FALSE(dlg.m_bIconDrawn);
        d.PressKey(Qt::Key_Escape);
    });
}
