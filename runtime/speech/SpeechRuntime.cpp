#include "runtime/speech/SpeechRuntime.h"

#include "platform/ole/ClassRegistry.h"
#include "runtime/speech/SpVoice.h"

void SpeechRuntime::Register() {
    Register(&AudioOutput::OpenConfigured);
}

void SpeechRuntime::Register(SinkOpener openSink) {
    ClassRegistry::Register(u"SAPI.SpVoice", kVoiceClsid,
                            [openSink = std::move(openSink)] { return SpVoice::Create(openSink); });
}
