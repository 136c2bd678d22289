#include "runtime/speech/DispatchCall.h"

#include "platform/ole/DispatchErrors.h"

bool DispatchCall::IsKind(WORD flags, WORD kind) {
    return (flags & kind) != 0;
}

bool DispatchCall::HasArguments(std::span<const COleVariant> args,
                                std::initializer_list<VARTYPE> types) {
    if (args.size() != types.size())
        return false;
    auto type = types.begin();
    for (const COleVariant& arg : args) {
        if (arg.vt() != *type++)
            return false;
    }
    return true;
}

HRESULT DispatchCall::NoSuchMember(EXCEPINFO* pExcepInfo, std::u16string_view objectName,
                                   DISPID dispId, WORD flags) {
    return DispatchErrors::Raise(pExcepInfo,
                                 std::u16string(objectName) + u" has no member with dispatch id " +
                                     Number(dispId) + u" and invoke kind " + Number(flags) + u".");
}

HRESULT DispatchCall::WrongArguments(EXCEPINFO* pExcepInfo, std::u16string_view memberName,
                                     std::u16string_view expected) {
    return DispatchErrors::Raise(pExcepInfo, std::u16string(memberName) + u" takes " +
                                                 std::u16string(expected) + u".");
}

void DispatchCall::SetResult(COleVariant* pVarResult, COleVariant value) {
    if (pVarResult)
        *pVarResult = std::move(value);
}

std::u16string DispatchCall::Number(long value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}
