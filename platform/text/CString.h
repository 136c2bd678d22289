#pragma once

#include "platform/base/WinTypes.h"

#include <string>
#include <string_view>

// Text in the ANSI code page, which is UTF-8 on this platform. It converts to a C string so
// that it can be handed to the functions that take one, as the dialog code does throughout.
class CString {
  public:
    CString() = default;
    CString(const char* text);
    CString(std::string text) : m_text(std::move(text)) {}
    CString(std::string_view text) : m_text(text) {}

    CString& operator=(const char* text);
    CString& operator+=(const CString& other);
    CString& operator+=(const char* text);

    operator const char*() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }

    int GetLength() const { return static_cast<int>(m_text.size()); }
    BOOL IsEmpty() const { return m_text.empty() ? TRUE : FALSE; }
    void Empty() { m_text.clear(); }

    // Loads a string of the program's string table; an absent id leaves the text empty.
    BOOL LoadString(UINT nID);

    friend CString operator+(CString left, const CString& right) { return left += right; }
    friend bool operator==(const CString& left, const CString& right) = default;
    friend bool operator==(const CString& left, const char* right);

  private:
    std::string m_text;
};
