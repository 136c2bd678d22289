// The dialog framework on a dialog of the test's own resources, with one control of each
// kind and handlers that record what reached them: data exchange, command routing and the
// system menu.
#include "platform/ole/COleDispatchException.h"
#include "platform/text/CString.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/ResourceModule.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/ScriptedPrompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Calls = std::vector<std::string>;
using enum ControlKind;
using enum ControlState;

// The same dialog comes with less window chrome: without the minimise box, and without the
// system menu.
enum DialogId { IDD_PROBE = 1, IDD_NO_MINIMISE, IDD_NO_SYSMENU };
constexpr int IDC_HIDDEN = 11, IDC_DISABLED = 12, IDC_LABEL = 13, IDC_GO = 14, IDC_FIRST = 15,
              IDC_SECOND = 16, IDC_CHOICE = 17, IDC_CHECK = 18, IDC_THROW = 19;

constexpr DWORD kLineEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;

// The hidden and the disabled button come first, so the first focus has to pass them.
constexpr DialogControl kProbeControls[] = {
    {IDC_HIDDEN, PushButton, "Hidden", 4, 4, 40, 14, Hidden, WS_TABSTOP},
    {IDC_DISABLED, PushButton, "Off", 48, 4, 40, 14, Disabled, WS_TABSTOP},
    {IDC_LABEL, Static, "Label", 92, 4, 40, 8, Visible, SS_LEFT},
    {IDC_GO, PushButton, "&Go", 4, 20, 40, 14, Visible, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDC_FIRST, Edit, "", 4, 80, 30, 12, Visible, kLineEdit},
    {IDC_SECOND, Edit, "", 40, 80, 30, 12, Visible, kLineEdit},
    {IDC_CHOICE, ComboBox, "", 4, 96, 80, 60, Visible, CBS_DROPDOWNLIST | WS_TABSTOP},
    {IDC_CHECK, CheckBox, "&Check", 90, 96, 40, 10, Visible, BS_AUTOCHECKBOX | WS_TABSTOP},
    {IDCANCEL, PushButton, "&Exit", 4, 112, 40, 14, Visible, WS_TABSTOP},
    {IDC_THROW, PushButton, "Throw", 48, 112, 40, 14, Visible, WS_TABSTOP},
};

constexpr DWORD kFrame = WS_CAPTION | DS_SETFONT;
constexpr DialogTemplate kDialogs[] = {
    {IDD_PROBE, "Probe", 140, 130, "宋体", 9, kFrame | WS_SYSMENU | WS_MINIMIZEBOX, 0,
     kProbeControls},
    {IDD_NO_MINIMISE, "Probe", 140, 130, "宋体", 9, kFrame | WS_SYSMENU, 0, kProbeControls},
    {IDD_NO_SYSMENU, "Probe", 140, 130, "宋体", 9, kFrame, 0, kProbeControls},
};
const ResourceModule kModule{kDialogs, {}};

class ProbeDialog : public CDialog {
  public:
    explicit ProbeDialog(UINT nIDTemplate = IDD_PROBE) : CDialog(nIDTemplate) {}
    const AFX_MSGMAP* GetMessageMap() const override { return &messageMap; }

    Calls m_calls;
    int m_nFirst = 5;
    int m_nSecond = 50;
    BOOL m_bCheck = 0;
    CComboBox m_comboChoice;

  protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_CHOICE, m_comboChoice);
        DDX_Text(pDX, IDC_FIRST, m_nFirst);
        DDV_MinMaxInt(pDX, m_nFirst, -10, 10);
        DDX_Text(pDX, IDC_SECOND, m_nSecond);
        DDV_MinMaxLong(pDX, m_nSecond, 0, 100);
        DDX_Check(pDX, IDC_CHECK, m_bCheck);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        for (const char* item : {"one", "two", "three"})
            m_comboChoice.AddString(item);
        m_comboChoice.SetCurSel(1);
        return TRUE;
    }
    void OnCancel() override { m_calls.push_back("OnCancel"), CDialog::OnCancel(); }

  private:
    static const MessageMap<ProbeDialog> messageMap;

    void OnGo() { m_calls.push_back("OnGo"); }
    void OnSelchangeChoice() { m_calls.push_back("OnSelchangeChoice"); }
    void OnThrow() { throw COleDispatchException("The voice refused the call.", E_FAIL); }
    void OnSysCommand(UINT nID, LPARAM) { m_calls.push_back(std::to_string(nID)), Default(); }
    void OnClose() { m_calls.push_back("OnClose"), CDialog::OnClose(); }
};

const MessageMap<ProbeDialog> ProbeDialog::messageMap{
    &CDialog::messageMap,
    {
        {WM_SYSCOMMAND, &ProbeDialog::OnSysCommand},
        {WM_CLOSE, &ProbeDialog::OnClose},
        {IDC_GO, BN_CLICKED, &ProbeDialog::OnGo},
        {IDC_CHOICE, CBN_SELCHANGE, &ProbeDialog::OnSelchangeChoice},
        {IDC_THROW, BN_CLICKED, &ProbeDialog::OnThrow},
    }};

// A message box of the framework's own: the program's title and an OK button.
void ExpectOneBox(const ScriptedPrompts& prompts, const std::string& text) {
    ASSERT_EQ(prompts.Boxes().size(), 1u);
    EXPECT_EQ(prompts.Boxes()[0].text, text);
    EXPECT_EQ(prompts.Boxes()[0].caption, "Murmelo");
    EXPECT_EQ(prompts.Boxes()[0].buttons, std::vector<int>{IDOK});
}

// Members start at first = 5, second = 50; each row types two texts and pulls them in. A
// failure shows its message, selects the text of the edit at fault and stops the pull.
TEST(DataExchangeSave, ReadsValidatesAndStopsAtTheFirstFailure) {
    const std::string integer = "Please enter an integer.";
    const std::string first = "Please enter an integer between -10 and 10.";
    const struct {
        const char *name, *first, *second;
        int memberFirst, memberSecond;
        std::string message; // empty when the pull succeeds
        int focus;
    } rows[] = {
        {"bounds", "-10", "100", -10, 100, "", IDC_GO},
        {"blanks and sign", " +7 ", "\t0", 7, 0, "", IDC_GO},
        {"letters keep the member", "abc", "20", 5, 50, integer, IDC_FIRST},
        {"empty is not a number", "", "20", 5, 50, integer, IDC_FIRST},
        {"trailing text", "3x", "20", 5, 50, integer, IDC_FIRST},
        {"range failure keeps the value and stops", "11", "20", 11, 50, first, IDC_FIRST},
        {"second entry fails after the first was read", "-3", "101", -3, 101,
         "Please enter an integer between 0 and 100.", IDC_SECOND},
        {"huge numbers are clamped", "99999999999999999999", "1", 2147483647, 50, first, IDC_FIRST},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPrompts prompts;
        ProbeDialog dialog;
        DialogDriver::RunModal(dialog, [&](DialogDriver& driver) {
            driver.SetText(IDC_FIRST, row.first);
            driver.SetText(IDC_SECOND, row.second);
            EXPECT_EQ(dialog.UpdateData(TRUE), row.message.empty());
            EXPECT_EQ(driver.FocusedId(), row.focus);
            if (auto* edit = qobject_cast<QLineEdit*>(driver.Control(row.focus))) {
                EXPECT_EQ(edit->selectedText().toStdString(), edit->text().toStdString());
            }
            driver.Click(IDCANCEL);
        });
        EXPECT_EQ(dialog.m_nFirst, row.memberFirst);
        EXPECT_EQ(dialog.m_nSecond, row.memberSecond);
        if (row.message.empty())
            EXPECT_TRUE(prompts.Boxes().empty());
        else
            ExpectOneBox(prompts, row.message);
    }
}

// 2 stays in the member and is shown checked, so it reads back as 1; other values outside
// 0 to 2 become 0. Once shown a 2, the box still toggles between two states only.
TEST(DataExchangeLoad, CheckValuesOutsideZeroToTwoBecomeZeroAndTheBoxKeepsTwoStates) {
    ProbeDialog dialog;
    std::vector<int> seen; // member after the push, then as read back; then after each click
    DialogDriver::RunModal(dialog, [&](DialogDriver& driver) {
        for (int value : {-1, 1, 3, 10, 2}) {
            dialog.m_bCheck = value;
            dialog.UpdateData(FALSE);
            seen.push_back(dialog.m_bCheck);
            dialog.UpdateData(TRUE);
            seen.push_back(dialog.m_bCheck);
        }
        for (int click = 0; click < 3; ++click) {
            driver.Click(IDC_CHECK);
            dialog.UpdateData(TRUE);
            seen.push_back(dialog.m_bCheck);
        }
        EXPECT_FALSE(qobject_cast<QCheckBox*>(driver.Control(IDC_CHECK))->isTristate());
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(seen, (std::vector<int>{0, 0, 1, 1, 0, 0, 0, 0, 2, 1, 0, 1, 0}));
}

// The focus starts on the first visible, enabled tab stop. Enter on a focused button
// presses that button, not the default one. What the handler throws is shown with the
// program's title and an OK button, and the dialog goes on. Loading a selection is no
// selection change; a position outside the list clears it. After DoModal the window is gone
// and the control members hold none of it.
TEST(DialogRouting, HandlerExceptionsAreShownAndOnlyTheUsersChoiceIsASelectionChange) {
    ScriptedPrompts prompts;
    ProbeDialog dialog;
    int selectionAfterInit = -2;
    const int result = DialogDriver::RunModal(dialog, [&](DialogDriver& driver) {
        EXPECT_EQ(driver.FocusedId(), IDC_GO);
        driver.Control(IDC_THROW)->setFocus();
        driver.PressKey(Qt::Key_Return);
        EXPECT_TRUE(driver.IsOpen());
        selectionAfterInit = dialog.m_comboChoice.GetCurSel();
        dialog.m_comboChoice.SetCurSel(2);
        for (int position : {3, -1}) {
            dialog.m_comboChoice.SetCurSel(0);
            EXPECT_EQ(dialog.m_comboChoice.SetCurSel(position), CB_ERR) << position;
            EXPECT_EQ(dialog.m_comboChoice.GetCurSel(), CB_ERR) << position;
        }
        EXPECT_EQ(dialog.m_calls, Calls{});
        driver.ChooseItem(IDC_CHOICE, 0);
        driver.Click(IDC_GO);
        // Escape ends the dialog also from an edit.
        driver.Control(IDC_FIRST)->setFocus();
        driver.PressKey(Qt::Key_Escape);
    });
    EXPECT_EQ(result, IDCANCEL);
    ExpectOneBox(prompts, "The voice refused the call.");
    EXPECT_EQ(selectionAfterInit, 1);
    EXPECT_EQ(dialog.m_calls, (Calls{"OnSelchangeChoice", "OnGo", "OnCancel"}));
    EXPECT_EQ(dialog.GetWidget(), nullptr);
    EXPECT_EQ(dialog.m_comboChoice.GetCurSel(), 0);
    EXPECT_FALSE(dialog.m_comboChoice.IsWindowVisible());
}

// The menu opens from the keyboard (where 0) and from a right click on the background (-1)
// or a label, where the window has one; Minimize works only with the minimise box; choosing
// Close by its access key ends the dialog through WM_CLOSE's default processing.
TEST(SystemMenu, OpensWhereTheWindowHasOneAndItsCloseEndsTheDialog) {
    const struct {
        const char* name;
        UINT dialog;
        int where;
        bool menu, minimise;
    } rows[] = {
        {"Alt+Space", IDD_PROBE, 0, true, true},
        {"right click on the background", IDD_PROBE, -1, true, true},
        {"right click on a label", IDD_PROBE, IDC_LABEL, true, true},
        {"right click on a button", IDD_PROBE, IDC_GO, false, false},
        {"no minimise box", IDD_NO_MINIMISE, 0, true, false},
        {"no system menu", IDD_NO_SYSMENU, 0, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ProbeDialog dlg(row.dialog);
        const int result = DialogDriver::RunModal(dlg, [&](DialogDriver& d) {
            EXPECT_EQ(dlg.GetSystemMenu(FALSE) != nullptr, row.dialog != IDD_NO_SYSMENU);
            if (row.where == 0) {
                d.PressKey(Qt::Key_Space, Qt::AltModifier);
            } else {
                const QPoint at =
                    row.where < 0 ? QPoint(2, 2) : d.Control(row.where)->geometry().center();
                QContextMenuEvent click(QContextMenuEvent::Mouse, at, d.Window()->mapToGlobal(at));
                QApplication::sendEvent(d.Window(), &click);
            }
            auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_EQ(popup != nullptr, row.menu);
            if (!popup)
                return d.PressKey(Qt::Key_Escape);
            EXPECT_EQ(popup->actions().at(0)->isEnabled(), row.minimise);
            QKeyEvent press(QEvent::KeyPress, Qt::Key_C, Qt::NoModifier, QStringLiteral("c"));
            QApplication::sendEvent(popup, &press);
            // The chosen command arrives once the menu has closed.
            QApplication::processEvents();
        });
        EXPECT_EQ(result, IDCANCEL);
        const Calls closed{std::to_string(SC_CLOSE), "OnClose", "OnCancel"};
        EXPECT_EQ(std::ranges::search(dlg.m_calls, closed).empty(), !row.menu);
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
        dlg.m_calls.clear();
        d.PressKey(Qt::Key_F4, Qt::AltModifier);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dlg.m_calls, (Calls{std::to_string(SC_CLOSE), "OnClose", "OnCancel"}));
}

} // namespace

const ResourceModule& AfxGetResourceModule() {
    return kModule;
}
