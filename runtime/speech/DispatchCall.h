#pragma once

#include "platform/ole/COleVariant.h"

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

// Checks and answers shared by the runtime's automation objects.
namespace DispatchCall {

// Whether the call asks for this invoke kind (a caller may combine kinds).
bool IsKind(WORD flags, WORD kind);
// Whether the arguments have exactly these types, in this order.
bool HasArguments(std::span<const COleVariant> args, std::initializer_list<VARTYPE> types);

// Refuses a dispatch id or invoke kind the object does not have.
HRESULT NoSuchMember(EXCEPINFO* pExcepInfo, std::u16string_view objectName, DISPID dispId,
                     WORD flags);
// Refuses arguments of the wrong number or type.
HRESULT WrongArguments(EXCEPINFO* pExcepInfo, std::u16string_view memberName,
                       std::u16string_view expected);

// Stores a result when the caller asked for one.
void SetResult(COleVariant* pVarResult, COleVariant value);

std::u16string Number(long value);

} // namespace DispatchCall
