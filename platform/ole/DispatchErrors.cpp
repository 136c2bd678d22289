#include "platform/ole/DispatchErrors.h"

#include "platform/text/AnsiCodePage.h"

namespace {

struct KnownError {
    HRESULT hr;
    const char* text;
};

constexpr KnownError kKnownErrors[] = {
    {DISP_E_MEMBERNOTFOUND, "The automation object has no such member."},
    {DISP_E_TYPEMISMATCH, "The automation object returned a value of the wrong type."},
    {DISP_E_BADPARAMCOUNT, "The automation call had the wrong number of arguments."},
    {DISP_E_BADINDEX, "The index is outside the collection."},
    {E_INVALIDARG, "An argument of the automation call is not valid."},
    {E_OUTOFMEMORY, "Not enough memory for the automation call."},
    {CO_E_NOTINITIALIZED, "Automation has not been initialised."},
    {REGDB_E_CLASSNOTREG, "The automation class is not registered."},
};

} // namespace

CString DispatchErrors::Describe(HRESULT hr, const EXCEPINFO& excepInfo) {
    if (!excepInfo.bstrDescription.empty())
        return AnsiCodePage::FromWide(excepInfo.bstrDescription);
    for (const KnownError& known : kKnownErrors) {
        if (known.hr == hr)
            return known.text;
    }
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string code = "0x";
    for (int shift = 28; shift >= 0; shift -= 4)
        code += kDigits[(static_cast<std::uint32_t>(hr) >> shift) & 0xF];
    return CString("The automation call failed (error ") + CString(code) + ").";
}

HRESULT DispatchErrors::Raise(EXCEPINFO* pExcepInfo, std::u16string description) {
    if (pExcepInfo) {
        pExcepInfo->bstrDescription = std::move(description);
        pExcepInfo->scode = DISP_E_EXCEPTION;
    }
    return DISP_E_EXCEPTION;
}
