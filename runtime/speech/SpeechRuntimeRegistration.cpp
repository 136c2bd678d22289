#include "runtime/speech/SpeechRuntime.h"

// Linking this file into a program makes the speech runtime available to it: the voice
// class is in the class registry before main runs, and the program's own code never
// names the runtime.
namespace {

const struct Registrar {
    Registrar() { SpeechRuntime::Register(); }
} registrar;

} // namespace
