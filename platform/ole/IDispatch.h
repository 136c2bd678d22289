#pragma once

#include "platform/base/WinTypes.h"

#include <span>
#include <string>

class COleVariant;

using DISPID = LONG;
using VARTYPE = WORD;

// Invoke kinds, as flags.
inline constexpr WORD DISPATCH_METHOD = 1;
inline constexpr WORD DISPATCH_PROPERTYGET = 2;
inline constexpr WORD DISPATCH_PROPERTYPUT = 4;
inline constexpr WORD DISPATCH_PROPERTYPUTREF = 8;

// Value types a dispatch call carries.
inline constexpr VARTYPE VT_EMPTY = 0;
inline constexpr VARTYPE VT_I4 = 3;
inline constexpr VARTYPE VT_BSTR = 8;
inline constexpr VARTYPE VT_DISPATCH = 9;

inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003u);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005u);
inline constexpr HRESULT DISP_E_EXCEPTION = static_cast<HRESULT>(0x80020009u);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000Eu);
inline constexpr HRESULT DISP_E_BADINDEX = static_cast<HRESULT>(0x8002000Bu);
inline constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);

// What an object tells its caller when a call fails with DISP_E_EXCEPTION.
struct EXCEPINFO {
    std::u16string bstrSource;
    std::u16string bstrDescription;
    HRESULT scode = S_OK;
};

// A late-bound automation object. It is reference counted: every holder of a pointer owns
// one reference and gives it back with Release; the object deletes itself at zero.
// Invoke takes the arguments in the order the member declares them and never throws: a
// failure comes back as an HRESULT, with a readable description in EXCEPINFO when the
// result is DISP_E_EXCEPTION. A returned object carries one reference for the caller.
class IDispatch {
  public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    virtual HRESULT Invoke(DISPID dispIdMember, WORD wFlags, std::span<const COleVariant> args,
                           COleVariant* pVarResult, EXCEPINFO* pExcepInfo) = 0;

  protected:
    ~IDispatch() = default;
};
using LPDISPATCH = IDispatch*;
