#pragma once

#include "platform/ole/IDispatch.h"

#include <functional>
#include <string>

// The in-process class registry: a ProgID names a class id, a class id names the function
// that creates its objects. The speech runtime registers itself here at start-up; tests
// register fakes under the same names.
class ClassRegistry {
  public:
    // Creates one object with one reference for the caller, or returns null on failure.
    using CreateFunction = std::function<LPDISPATCH()>;

    static void Register(const std::u16string& progId, REFCLSID clsid, CreateFunction create);
    static void Unregister(REFCLSID clsid);

    static HRESULT FindClass(std::u16string_view progId, CLSID* pClsid);
    static HRESULT CreateInstance(REFCLSID clsid, LPDISPATCH* ppObject);

    // Automation works only after initialisation (AfxOleInit). A test can make the next
    // initialisation fail, to see what the program does then.
    static BOOL Initialize();
    static void FailNextInitialize();
};
