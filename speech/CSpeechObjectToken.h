#pragma once

#include "platform/ole/COleDispatchDriver.h"
#include "platform/text/CString.h"

// One installed voice.
class CSpeechObjectToken : public COleDispatchDriver {
  public:
    using COleDispatchDriver::COleDispatchDriver;
    using COleDispatchDriver::operator=;

    // The voice's name as the voice list shows it.
    CString GetDescription(LONG locale);
};
