// The dialog framework on a dialog of the test's own resources, with handlers that record
// what reached them: data exchange and command routing.
#include "platform/ole/COleDispatchException.h"
#include "platform/text/CString.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/ResourceModule.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/ScriptedPrompts.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;
using enum ControlKind;
using enum ControlState;

constexpr int IDD_PROBE = 1, IDC_HIDDEN = 11, IDC_DISABLED = 12, IDC_GO = 14, IDC_FIRST = 15,
              IDC_SECOND = 16, IDC_CHOICE = 17, IDC_THROW = 19;
constexpr DWORD kLineEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;

// The hidden and the disabled button come first, so the first focus has to pass them.
constexpr DialogControl kProbeControls[] = {
    {IDC_HIDDEN, PushButton, "Hidden", 4, 4, 40, 14, Hidden, WS_TABSTOP},
    {IDC_DISABLED, PushButton, "Off", 48, 4, 40, 14, Disabled, WS_TABSTOP},
    {IDC_GO, PushButton, "&Go", 4, 20, 40, 14, Visible, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDC_FIRST, Edit, "", 4, 80, 30, 12, Visible, kLineEdit},
    {IDC_SECOND, Edit, "", 40, 80, 30, 12, Visible, kLineEdit},
    {IDC_CHOICE, ComboBox, "", 4, 96, 80, 60, Visible, CBS_DROPDOWNLIST | WS_TABSTOP},
    {IDCANCEL, PushButton, "&Exit", 4, 112, 40, 14, Visible, WS_TABSTOP},
    {IDC_THROW, PushButton, "Throw", 48, 112, 40, 14, Visible, WS_TABSTOP},
};
constexpr DialogTemplate kDialogs[] = {{IDD_PROBE, "Probe", 140, 130, "宋体", 9,
                                        WS_CAPTION | DS_SETFONT | WS_SYSMENU, 0, kProbeControls}};
const ResourceModule kModule{kDialogs, {}};

class ProbeDialog : public CDialog {
  public:
    ProbeDialog() : CDialog(IDD_PROBE) {}
    const AFX_MSGMAP* GetMessageMap() const override { return &messageMap; }

    Calls m_calls;
    int m_nFirst = 5;
    int m_nSecond = 50;
    CComboBox m_comboChoice;

  protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_CHOICE, m_comboChoice);
        DDX_Text(pDX, IDC_FIRST, m_nFirst);
        DDV_MinMaxInt(pDX, m_nFirst, -10, 10);
        DDX_Text(pDX, IDC_SECOND, m_nSecond);
        DDV_MinMaxLong(pDX, m_nSecond, 0, 100);
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
    void OnClose() { m_calls.push_back("OnClose"), CDialog::OnClose(); }
};

const MessageMap<ProbeDialog> ProbeDialog::messageMap{
    &CDialog::messageMap,
    {
        {WM_CLOSE, &ProbeDialog::OnClose},
        {IDC_GO, BN_CLICKED, &ProbeDialog::OnGo},
        {IDC_CHOICE, CBN_SELCHANGE, &ProbeDialog::OnSelchangeChoice},
        {IDC_THROW, BN_CLICKED, &ProbeDialog::OnThrow},
    }};

// The message boxes shown, each as "caption: text" with its buttons; the framework's own
// carry the program's title and an OK button.
Calls Shown(const ScriptedPrompts& prompts) {
    Calls shown;
    for (const auto& box : prompts.Boxes())
        shown.push_back(box.caption + ": " + box.text + testing::PrintToString(box.buttons));
    return shown;
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
                EXPECT_EQ(edit->selectedText(), edit->text());
            }
            driver.Click(IDCANCEL);
        });
        EXPECT_EQ(std::pair(dialog.m_nFirst, dialog.m_nSecond),
                  std::pair(row.memberFirst, row.memberSecond));
        EXPECT_EQ(Shown(prompts),
                  row.message.empty() ? Calls{} : Calls{"Murmelo: " + row.message + "{ 1 }"});
    }
}

// The focus starts on the first visible, enabled tab stop. Enter on a focused button
// presses that button, not the default one. What the handler throws is shown, and the
// dialog goes on. Loading a selection is no selection change; a position outside the list
// clears it. Alt+F4 closes. After DoModal the window is gone and the control members hold
// none of it.
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
        driver.Control(IDC_FIRST)->setFocus();
        driver.PressKey(Qt::Key_F4, Qt::AltModifier);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(Shown(prompts), Calls{"Murmelo: The voice refused the call.{ 1 }"});
    EXPECT_EQ(selectionAfterInit, 1);
    EXPECT_EQ(dialog.m_calls, (Calls{"OnSelchangeChoice", "OnGo", "OnClose", "OnCancel"}));
    EXPECT_EQ(dialog.GetWidget(), nullptr);
    EXPECT_EQ(dialog.m_comboChoice.GetCurSel(), 0);
    EXPECT_FALSE(dialog.m_comboChoice.IsWindowVisible());
}

} // namespace

const ResourceModule& AfxGetResourceModule() {
    return kModule;
}
