#pragma once

#include "platform/ole/IDispatch.h"

#include <memory>
#include <optional>
#include <string>

// One argument or result of a dispatch call: nothing, a 32-bit integer, a UTF-16 string
// (which may be null, as distinct from empty) or an object. A variant that holds an object
// owns one reference to it. Copies of a string variant share the string, which never
// changes, so a long text passed on from call to call is not copied.
class COleVariant {
  public:
    COleVariant() = default;
    COleVariant(LONG value) : m_vt(VT_I4), m_lVal(value) {}
    // Takes a new reference to the object; a null pointer gives a null object variant.
    COleVariant(IDispatch* object);
    static COleVariant FromString(std::u16string text);
    static COleVariant NullString();

    COleVariant(const COleVariant& other);
    COleVariant(COleVariant&& other) noexcept;
    COleVariant& operator=(COleVariant other) noexcept;
    ~COleVariant();

    VARTYPE vt() const { return m_vt; }
    LONG lVal() const { return m_lVal; }
    const std::u16string& bstrVal() const;
    // Names a string variant's string without keeping it alive, for a cache that must not
    // hold a long text any longer than its users do.
    class WeakString {
      public:
        // A variant that shares the string, while anybody still holds it.
        std::optional<COleVariant> Lock() const;

      private:
        friend class COleVariant;
        std::weak_ptr<const std::u16string> m_string;
    };
    WeakString Weak() const;
    bool IsNullString() const { return m_vt == VT_BSTR && m_bstrNull; }
    IDispatch* pdispVal() const { return m_pdispVal; }
    // Hands the object's reference to the caller and leaves this variant empty.
    IDispatch* DetachDispatch();

    friend void swap(COleVariant& a, COleVariant& b) noexcept;

  private:
    VARTYPE m_vt = VT_EMPTY;
    LONG m_lVal = 0;
    std::shared_ptr<const std::u16string> m_bstrVal;
    bool m_bstrNull = false;
    IDispatch* m_pdispVal = nullptr;
};
