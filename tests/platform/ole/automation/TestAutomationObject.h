#pragma once

#include "platform/ole/COleAutomationTarget.h"

#include <array>

// The id of the test object's own interface, and the id of its class.
inline constexpr IID IID_ITestObject{
    0x6A0F3C11, 0x52D4, 0x4E0B, {0x9B, 0x1E, 0x3C, 0x7D, 0x21, 0x84, 0x5A, 0x60}};
inline constexpr CLSID CLSID_TestObject{
    0x6A0F3C12, 0x52D4, 0x4E0B, {0x9B, 0x1E, 0x3C, 0x7D, 0x21, 0x84, 0x5A, 0x60}};

// A creatable automation class built like the program's automation proxy: it enables
// automation, holds the application while it lives, and answers to its own interface id
// through its dispatch interface.
class TestAutomationObject : public COleAutomationTarget {
  public:
    static constexpr CRuntimeClass classTestAutomationObject{
        "TestAutomationObject", 0xFFFF, &CRuntimeClass::Construct<TestAutomationObject>,
        RUNTIME_CLASS(COleAutomationTarget)};

    TestAutomationObject();
    ~TestAutomationObject() override;

    const CRuntimeClass* GetRuntimeClass() const override {
        return RUNTIME_CLASS(TestAutomationObject);
    }
    const AFX_INTERFACEMAP* GetInterfaceMap() const override { return &interfaceMap; }

  protected:
    static constexpr std::array<AFX_INTERFACEMAP_ENTRY, 1> interfaceEntries{
        {{&IID_ITestObject, "Murmelo.ITestObject"}}};
    static constexpr AFX_INTERFACEMAP interfaceMap{&COleAutomationTarget::interfaceMap,
                                                   interfaceEntries};
};
