#include "tests/support/FakeSpeechCall.h"

namespace {

std::string KindName(WORD kind) {
    switch (kind) {
    case DISPATCH_METHOD:
        return "method";
    case DISPATCH_PROPERTYGET:
        return "get";
    case DISPATCH_PROPERTYPUT:
        return "put";
    case DISPATCH_PROPERTYPUTREF:
        return "putref";
    default:
        return "kind" + std::to_string(kind);
    }
}

} // namespace

std::string FakeSpeechCall::Describe() const {
    std::string text = object + ' ' + KindName(kind) + ' ' + std::to_string(dispId) + '(';
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0)
            text += ", ";
        text += arguments[i];
    }
    return text + ')';
}

void PrintTo(const FakeSpeechCall& call, std::ostream* os) {
    *os << call.Describe();
}
