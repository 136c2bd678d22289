#pragma once

#include "platform/ole/COleVariant.h"

#include <initializer_list>

// Holds at most one reference to an automation object and calls its members late-bound.
// With auto-release on (the default), the reference is given back when the driver lets go
// of the object or is destroyed.
class COleDispatchDriver {
  public:
    COleDispatchDriver() = default;
    explicit COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE);
    COleDispatchDriver(const COleDispatchDriver& other);
    // Takes a reference of its own to the other driver's object; the object held before is
    // released.
    const COleDispatchDriver& operator=(const COleDispatchDriver& other);
    ~COleDispatchDriver();

    // Creates a new object of the class; FALSE when the class is not registered or the
    // dispatch layer is not initialised.
    BOOL CreateDispatch(REFCLSID clsid);
    void AttachDispatch(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE);
    LPDISPATCH DetachDispatch();
    void ReleaseDispatch();

    // One late-bound call. Throws COleDispatchException when no object is attached, when
    // the object refuses the call, or when the result is not of type vtRet (VT_EMPTY
    // accepts any result).
    COleVariant InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet,
                             std::initializer_list<COleVariant> params = {}) const;

    LPDISPATCH m_lpDispatch = nullptr;
    BOOL m_bAutoRelease = TRUE;
};
