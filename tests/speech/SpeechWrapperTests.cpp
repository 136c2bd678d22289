#include "platform/ole/COleDispatchException.h"
#include "platform/ole/DispatchErrors.h"
#include "platform/text/AnsiCodePage.h"
#include "speech/CSpeechObjectToken.h"
#include "speech/CSpeechObjectTokens.h"
#include "speech/CSpeechVoice.h"
#include "speech/SpeechFlags.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// An object that records each call with its arguments as they arrived and answers with a
// prepared result or a prepared failure. It lives on the test's stack, so it only counts
// references.
class RecordingDispatch final : public IDispatch {
  public:
    struct Call {
        DISPID dispId;
        WORD kind;
        std::vector<COleVariant> args;
        bool wantsResult;
    };

    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }
    HRESULT Invoke(DISPID dispId, WORD kind, std::span<const COleVariant> args,
                   COleVariant* pVarResult, EXCEPINFO* pExcepInfo) override {
        calls.push_back({dispId, kind, {args.begin(), args.end()}, pVarResult != nullptr});
        if (!failure.empty())
            return DispatchErrors::Raise(pExcepInfo, failure);
        if (pVarResult)
            *pVarResult = reply;
        return S_OK;
    }

    ULONG refs = 1;
    std::vector<Call> calls;
    COleVariant reply;
    std::u16string failure;
};

// An argument with its type, the way the rows below expect it.
std::string Typed(const COleVariant& value) {
    switch (value.vt()) {
    case VT_I4:
        return "long " + std::to_string(value.lVal());
    case VT_BSTR:
        return value.IsNullString()
                   ? "null string"
                   : "string \"" + AnsiCodePage::FromWide(value.bstrVal()).str() + '"';
    case VT_DISPATCH:
        return value.pdispVal() ? "object" : "null object";
    default:
        return "empty";
    }
}

// The three wrappers on one recording object, as the dialog holds them.
struct Wrappers {
    Wrappers(RecordingDispatch& object, IDispatch* argument)
        : voice(&object, FALSE), tokens(&object, FALSE), token(&object, FALSE), argument(argument) {
    }

    CSpeechVoice voice;
    CSpeechObjectTokens tokens;
    CSpeechObjectToken token;
    IDispatch* argument; // a token handed to SetRefVoice
};

struct Row {
    const char* name;
    std::function<void(Wrappers&)> call;
    DISPID dispId;
    WORD kind;
    std::vector<std::string> args;
    VARTYPE result; // VT_EMPTY: the wrapper asks for no result
};

// Names the row in test output instead of dumping its bytes.
void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

class WrapperCall : public testing::TestWithParam<Row> {};

TEST_P(WrapperCall, MakesOneCallWithTheMembersIdKindAndArguments) {
    const Row& row = GetParam();
    RecordingDispatch argument;
    RecordingDispatch returned;
    RecordingDispatch object;
    switch (row.result) {
    case VT_I4:
        object.reply = COleVariant(LONG{7});
        break;
    case VT_BSTR:
        object.reply = COleVariant::FromString(u"x");
        break;
    case VT_DISPATCH:
        object.reply = COleVariant(&returned);
        break;
    }
    {
        Wrappers wrappers(object, &argument);
        row.call(wrappers);
    }
    ASSERT_EQ(object.calls.size(), 1u);
    const RecordingDispatch::Call& call = object.calls[0];
    EXPECT_EQ(call.dispId, row.dispId);
    EXPECT_EQ(call.kind, row.kind);
    std::vector<std::string> args;
    for (const COleVariant& arg : call.args)
        args.push_back(Typed(arg));
    EXPECT_EQ(args, row.args);
    EXPECT_EQ(call.wantsResult, row.result != VT_EMPTY);
    object.calls.clear();
    object.reply = COleVariant();
    // The wrappers did not own the recording object, a returned object came back to the
    // caller, who released it, and an object argument stays the caller's.
    EXPECT_EQ(object.refs, 1u);
    EXPECT_EQ(returned.refs, 1u);
    EXPECT_EQ(argument.refs, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    SpeechWrappers, WrapperCall,
    testing::Values(Row{"SetRefVoice",
                        [](Wrappers& w) { w.voice.SetRefVoice(w.argument); },
                        2,
                        DISPATCH_PROPERTYPUTREF,
                        {"object"},
                        VT_EMPTY},
                    Row{"GetRate",
                        [](Wrappers& w) { EXPECT_EQ(w.voice.GetRate(), 7); },
                        5,
                        DISPATCH_PROPERTYGET,
                        {},
                        VT_I4},
                    Row{"SetRate",
                        [](Wrappers& w) { w.voice.SetRate(-3); },
                        5,
                        DISPATCH_PROPERTYPUT,
                        {"long -3"},
                        VT_EMPTY},
                    Row{"GetVolume",
                        [](Wrappers& w) { EXPECT_EQ(w.voice.GetVolume(), 7); },
                        6,
                        DISPATCH_PROPERTYGET,
                        {},
                        VT_I4},
                    Row{"SetVolume",
                        [](Wrappers& w) { w.voice.SetVolume(70); },
                        6,
                        DISPATCH_PROPERTYPUT,
                        {"long 70"},
                        VT_EMPTY},
                    Row{"SpeakAsync",
                        [](Wrappers& w) { EXPECT_EQ(w.voice.Speak("Apple", SVSFlagsAsync), 7); },
                        12,
                        DISPATCH_METHOD,
                        {"string \"Apple\"", "long 1"},
                        VT_I4},
                    Row{"SpeakEmptyToPurge",
                        [](Wrappers& w) { w.voice.Speak("", SVSFPurgeBeforeSpeak); },
                        12,
                        DISPATCH_METHOD,
                        {"string \"\"", "long 2"},
                        VT_I4},
                    Row{"SpeakNull",
                        [](Wrappers& w) { w.voice.Speak(nullptr, SVSFlagsAsync); },
                        12,
                        DISPATCH_METHOD,
                        {"null string", "long 1"},
                        VT_I4},
                    Row{"GetVoicesUnfiltered",
                        [](Wrappers& w) { w.voice.GetVoices(nullptr, nullptr)->Release(); },
                        17,
                        DISPATCH_METHOD,
                        {"null string", "null string"},
                        VT_DISPATCH},
                    Row{"GetVoicesFiltered",
                        [](Wrappers& w) { w.voice.GetVoices("Gender=Female", nullptr)->Release(); },
                        17,
                        DISPATCH_METHOD,
                        {"string \"Gender=Female\"", "null string"},
                        VT_DISPATCH},
                    Row{"GetCount",
                        [](Wrappers& w) { EXPECT_EQ(w.tokens.GetCount(), 7); },
                        1,
                        DISPATCH_PROPERTYGET,
                        {},
                        VT_I4},
                    Row{"Item",
                        [](Wrappers& w) { w.tokens.Item(3)->Release(); },
                        0,
                        DISPATCH_METHOD,
                        {"long 3"},
                        VT_DISPATCH},
                    Row{"GetDescription",
                        [](Wrappers& w) { EXPECT_EQ(w.token.GetDescription(0), "x"); },
                        4,
                        DISPATCH_METHOD,
                        {"long 0"},
                        VT_BSTR}),
    [](const testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

TEST(SpeechWrappers, ChineseTextReachesTheRuntimeAsUtf16AndComesBackAsAnsi) {
    RecordingDispatch object;
    Wrappers wrappers(object, nullptr);

    object.reply = COleVariant(LONG{1});
    wrappers.voice.Speak("白日依山尽，黄河入海流。", SVSFlagsAsync);
    ASSERT_EQ(object.calls.size(), 1u);
    EXPECT_EQ(object.calls[0].args[0].bstrVal(), u"白日依山尽，黄河入海流。");

    object.reply = COleVariant::FromString(u"苹果 (Mandarin)");
    EXPECT_EQ(wrappers.token.GetDescription(0), "苹果 (Mandarin)");
}

TEST(SpeechWrappers, AFailingCallThrowsTheObjectsMessage) {
    RecordingDispatch object;
    Wrappers wrappers(object, nullptr);
    object.failure = u"Die Stimme ist nicht verfügbar.";
    try {
        wrappers.voice.GetVoices(nullptr, nullptr);
        FAIL() << "GetVoices did not throw";
    } catch (const COleDispatchException& e) {
        EXPECT_EQ(e.m_strDescription, "Die Stimme ist nicht verfügbar.");
        EXPECT_EQ(e.m_scError, DISP_E_EXCEPTION);
    }
}

} // namespace
