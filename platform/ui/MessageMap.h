#pragma once

#include "platform/ui/Icon.h"
#include "platform/ui/WinUser.h"

#include <initializer_list>
#include <variant>
#include <vector>

class CCmdTarget;

// The command table of one class: rows that map a window message, or a control's
// notification, to a member handler, and a link to the base class's table, which is
// searched when no row of this one matches.
class AFX_MSGMAP {
  public:
    explicit AFX_MSGMAP(const AFX_MSGMAP* pBaseMap) : m_pBaseMap(pBaseMap) {}
    virtual ~AFX_MSGMAP() = default;

    // Calls the handler of the first matching row of this table or of a base table; FALSE
    // when no table has one.
    BOOL Dispatch(CCmdTarget& target, UINT message, WPARAM wParam, LPARAM lParam,
                  LRESULT& result) const;

  protected:
    virtual BOOL DispatchOwn(CCmdTarget& target, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT& result) const = 0;

  private:
    const AFX_MSGMAP* m_pBaseMap;
};

// The table of class T. A row reads like the class's command table:
//   {WM_SYSCOMMAND, &CMyDlg::OnSysCommand}     a window message
//   {IDC_READ, BN_CLICKED, &CMyDlg::OnRead}    a control's notification (WM_COMMAND)
template <class T>
class MessageMap : public AFX_MSGMAP {
  public:
    using Command = void (T::*)();
    using SysCommand = void (T::*)(UINT nID, LPARAM lParam);
    using QueryIcon = HCURSOR (T::*)();
    using Handler = std::variant<Command, SysCommand, QueryIcon>;

    struct Entry {
        Entry(UINT message, Handler handler) : message(message), handler(handler) {}
        Entry(int id, UINT code, Command command)
            : message(WM_COMMAND), code(code), id(static_cast<UINT>(id)), handler(command) {}

        UINT message;
        UINT code = 0;
        UINT id = 0;
        Handler handler;
    };

    MessageMap(const AFX_MSGMAP* pBaseMap, std::initializer_list<Entry> entries)
        : AFX_MSGMAP(pBaseMap), m_entries(entries) {}

    const std::vector<Entry>& Entries() const { return m_entries; }

  protected:
    BOOL DispatchOwn(CCmdTarget& target, UINT message, WPARAM wParam, LPARAM lParam,
                     LRESULT& result) const override {
        for (const Entry& entry : m_entries) {
            if (entry.message != message)
                continue;
            if (message == WM_COMMAND &&
                (entry.id != LOWORD(wParam) || entry.code != HIWORD(wParam)))
                continue;
            T& object = static_cast<T&>(target);
            result = 0;
            if (const Command* command = std::get_if<Command>(&entry.handler)) {
                (object.**command)();
            } else if (const SysCommand* sysCommand = std::get_if<SysCommand>(&entry.handler)) {
                (object.**sysCommand)(static_cast<UINT>(wParam), lParam);
            } else {
                result = reinterpret_cast<LRESULT>((object.*std::get<QueryIcon>(entry.handler))());
            }
            return TRUE;
        }
        return FALSE;
    }

  private:
    std::vector<Entry> m_entries;
};
