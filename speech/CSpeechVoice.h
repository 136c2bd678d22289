#pragma once

#include "platform/ole/COleDispatchDriver.h"
#include "platform/ole/COleVariant.h"
#include "platform/text/CString.h"

// The speech voice object ("SAPI.SpVoice"): it speaks queued texts with its chosen voice,
// rate and volume, and lists the installed voices.
class CSpeechVoice : public COleDispatchDriver {
  public:
    using COleDispatchDriver::COleDispatchDriver;
    using COleDispatchDriver::operator=;

    // The voice keeps its own reference to the token; the caller's stays with the caller.
    void SetRefVoice(LPDISPATCH token);
    LONG GetRate();
    void SetRate(LONG rate);
    LONG GetVolume();
    void SetVolume(LONG volume);
    LONG Speak(LPCTSTR text, LONG flags);
    // The same for a string the caller keeps: speaking the very same string again, as
    // each repetition of a Read does, hands the runtime the text it already has instead
    // of converting it once more.
    LONG Speak(const CString& text, LONG flags);
    // Returns the collection of installed voices with one reference for the caller. Null
    // attribute strings mean no filter.
    LPDISPATCH GetVoices(LPCTSTR requiredAttributes, LPCTSTR optionalAttributes);

  private:
    LONG SpeakArgument(const COleVariant& text, LONG flags);

    // The text spoken last, and its converted form, held only as long as the caller keeps
    // the text and the queued speech keeps the converted form: a long text is not kept
    // alive here once its Read is over.
    CString::WeakRef m_spokenText;
    COleVariant::WeakString m_spokenArgument;
};
