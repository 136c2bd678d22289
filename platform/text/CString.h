#pragma once

#include "platform/base/WinTypes.h"

#include <memory>
#include <string>
#include <string_view>

// Text in the ANSI code page, which is UTF-8 on this platform. It converts to a C string so
// that it can be handed to the functions that take one, as the dialog code does throughout.
// Copies share one buffer until one of them changes, as the framework's strings do, so a
// long text handed from call to call is not copied each time, and code that keeps a copy
// can tell at once whether it is handed the same text again.
class CString {
  public:
    CString() = default;
    CString(const char* text);
    CString(std::string text);
    CString(std::string_view text) : CString(std::string(text)) {}

    CString& operator=(const char* text);
    CString& operator+=(const CString& other);
    CString& operator+=(const char* text);

    operator const char*() const { return str().c_str(); }
    const std::string& str() const;

    int GetLength() const { return static_cast<int>(str().size()); }
    BOOL IsEmpty() const { return str().empty() ? TRUE : FALSE; }
    void Empty() { m_text.reset(); }

    // Loads a string of the program's string table; an absent id leaves the text empty.
    BOOL LoadString(UINT nID);

    // True when both hold the very same buffer, which means the same text; false says
    // nothing about the texts.
    bool SharesBufferWith(const CString& other) const { return m_text == other.m_text; }

    friend CString operator+(CString left, const CString& right) { return left += right; }
    friend bool operator==(const CString& left, const CString& right);
    friend bool operator==(const CString& left, const char* right);

  private:
    // The text for appending to, copied first when another string shares it.
    std::string& Own();

    // Null for an empty text.
    std::shared_ptr<std::string> m_text;
};
