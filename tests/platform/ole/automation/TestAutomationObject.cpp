#include "tests/platform/ole/automation/TestAutomationObject.h"

#include "platform/ole/AfxOleServer.h"

TestAutomationObject::TestAutomationObject() {
    EnableAutomation();
    AfxOleLockApp();
}

TestAutomationObject::~TestAutomationObject() {
    AfxOleUnlockApp();
}
