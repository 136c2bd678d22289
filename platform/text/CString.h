#pragma once

#include "platform/base/WinTypes.h"

#include <memory>
#include <string>
#include <string_view>

// Text in the ANSI code page, which is UTF-8 on this platform. It converts to a C string so
// that it can be handed to the functions that take one, as the dialog code does throughout.
// Copies share one buffer until one of them changes, as the framework's strings do, so a
// long text handed from call to call is not copied each time, and code that remembers a
// text can tell at once whether it is handed the same text again.
class CString {
  public:
    // Names a text's buffer without keeping it alive, for a cache that must not hold a
    // long text any longer than its owners do.
    class WeakRef {
      public:
        // True while the text holds the very buffer named here, which means the same text.
        bool Refers(const CString& text) const;

      private:
        friend class CString;
        std::weak_ptr<const std::string> m_buffer;
    };

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

    // A buffer named by a weak reference is never changed in place afterwards, so the
    // reference cannot mistake a changed text for the one it named.
    WeakRef Weak() const;

    friend CString operator+(CString left, const CString& right) { return left += right; }
    friend bool operator==(const CString& left, const CString& right);
    friend bool operator==(const CString& left, const char* right);

  private:
    // The text for appending to, copied first when another string shares it.
    std::string& Own();

    // Null for an empty text.
    std::shared_ptr<std::string> m_text;
    // Whether a weak reference may name the buffer.
    mutable bool m_named = false;
};
