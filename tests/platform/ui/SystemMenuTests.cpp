#include "ProbeDialog.h"

#include "tests/support/DialogDriver.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Calls = std::vector<std::string>;

void RightClickOn(DialogDriver& driver, QPoint inside) {
    QContextMenuEvent click(QContextMenuEvent::Mouse, inside, driver.Window()->mapToGlobal(inside));
    QApplication::sendEvent(driver.Window(), &click);
}

void RightClickOnControl(DialogDriver& driver, int id) {
    RightClickOn(driver, driver.Control(id)->geometry().center());
}

} // namespace

// The menu opens from the keyboard and from a right click on the background or a label,
// where the window has one; Minimize works only with the minimise box; choosing Close by
// its access key ends the dialog through WM_CLOSE's default processing.
TEST(SystemMenu, OpensWhereTheWindowHasOneAndItsCloseEndsTheDialog) {
    const struct {
        const char* name;
        UINT dialog;
        void (*open)(DialogDriver&);
        bool menu;
        bool minimise;
    } rows[] = {
        {"Alt+Space", IDD_PROBE,
         [](DialogDriver& d) { d.PressKey(Qt::Key_Space, Qt::AltModifier); }, true, true},
        {"right click on the background", IDD_PROBE,
         [](DialogDriver& d) { RightClickOn(d, QPoint(2, 2)); }, true, true},
        {"right click on a label", IDD_PROBE,
         [](DialogDriver& d) { RightClickOnControl(d, IDC_LABEL); }, true, true},
        {"right click on a button", IDD_PROBE,
         [](DialogDriver& d) { RightClickOnControl(d, IDC_GO); }, false, false},
        {"no minimise box", IDD_PROBE_NO_MINIMISE,
         [](DialogDriver& d) { d.PressKey(Qt::Key_Space, Qt::AltModifier); }, true, false},
        {"no system menu", IDD_PROBE_NO_SYSMENU,
         [](DialogDriver& d) { d.PressKey(Qt::Key_Space, Qt::AltModifier); }, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ProbeDialog dlg(row.dialog);
        const int result = DialogDriver::RunModal(dlg, [&](DialogDriver& d) {
            EXPECT_EQ(dlg.GetSystemMenu(FALSE) != nullptr, row.dialog != IDD_PROBE_NO_SYSMENU);
            row.open(d);
            auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_EQ(popup != nullptr, row.menu);
            if (!popup) {
                d.PressKey(Qt::Key_Escape);
                return;
            }
            EXPECT_EQ(popup->actions().at(0)->isEnabled(), row.minimise);
            QKeyEvent press(QEvent::KeyPress, Qt::Key_C, Qt::NoModifier, QStringLiteral("c"));
            QApplication::sendEvent(popup, &press);
            // The chosen command arrives once the menu has closed.
            QApplication::processEvents();
        });
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(std::ranges::count(dlg.m_calls, "OnClose"), row.menu ? 1 : 0);
        EXPECT_EQ(!dlg.m_sysCommands.empty() && dlg.m_sysCommands.back() == SC_CLOSE, row.menu);
    }
}

// The low four bits of a system command are the platform's and do not change it; Alt+F4
// is Close, through the dialog's own table.
TEST(SystemCommand, DefaultProcessingIgnoresTheLowBitsAndAltF4Closes) {
    ProbeDialog dlg;
    const int result = DialogDriver::RunModal(dlg, [&](DialogDriver& d) {
        dlg.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE | 0x3);
        EXPECT_TRUE(dlg.IsIconic());
        dlg.SendMessage(WM_SYSCOMMAND, SC_RESTORE | 0x2);
        EXPECT_FALSE(dlg.IsIconic());
        d.PressKey(Qt::Key_F4, Qt::AltModifier);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dlg.m_sysCommands.back(), SC_CLOSE);
    EXPECT_EQ(dlg.m_calls, (Calls{"OnClose", "OnCancel"}));
}
