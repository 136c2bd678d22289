#include "platform/ole/COleDispatchDriver.h"

#include "platform/ole/COleDispatchException.h"
#include "platform/ole/ClassRegistry.h"
#include "platform/ole/DispatchErrors.h"

#include <utility>

COleDispatchDriver::COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease)
    : m_lpDispatch(lpDispatch), m_bAutoRelease(bAutoRelease) {}

COleDispatchDriver::COleDispatchDriver(const COleDispatchDriver& other)
    : m_lpDispatch(other.m_lpDispatch) {
    if (m_lpDispatch)
        m_lpDispatch->AddRef();
}

const COleDispatchDriver& COleDispatchDriver::operator=(const COleDispatchDriver& other) {
    if (this != &other) {
        LPDISPATCH previous = m_lpDispatch;
        m_lpDispatch = other.m_lpDispatch;
        if (m_lpDispatch)
            m_lpDispatch->AddRef();
        if (previous && m_bAutoRelease)
            previous->Release();
        m_bAutoRelease = TRUE;
    }
    return *this;
}

COleDispatchDriver::~COleDispatchDriver() {
    ReleaseDispatch();
}

BOOL COleDispatchDriver::CreateDispatch(REFCLSID clsid) {
    LPDISPATCH created = nullptr;
    if (FAILED(ClassRegistry::CreateInstance(clsid, &created)))
        return FALSE;
    AttachDispatch(created, TRUE);
    return TRUE;
}

void COleDispatchDriver::AttachDispatch(LPDISPATCH lpDispatch, BOOL bAutoRelease) {
    ReleaseDispatch();
    m_lpDispatch = lpDispatch;
    m_bAutoRelease = bAutoRelease;
}

LPDISPATCH COleDispatchDriver::DetachDispatch() {
    return std::exchange(m_lpDispatch, nullptr);
}

void COleDispatchDriver::ReleaseDispatch() {
    LPDISPATCH held = std::exchange(m_lpDispatch, nullptr);
    if (held && m_bAutoRelease)
        held->Release();
}

COleVariant COleDispatchDriver::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet,
                                             std::initializer_list<COleVariant> params) const {
    if (!m_lpDispatch)
        throw COleDispatchException("The automation object is not available.", E_FAIL);
    COleVariant result;
    EXCEPINFO excepInfo;
    const HRESULT hr =
        m_lpDispatch->Invoke(dwDispID, wFlags, std::span(params.begin(), params.size()),
                             vtRet == VT_EMPTY ? nullptr : &result, &excepInfo);
    if (FAILED(hr))
        throw COleDispatchException(DispatchErrors::Describe(hr, excepInfo), hr);
    if (vtRet != VT_EMPTY && result.vt() != vtRet)
        throw COleDispatchException(DispatchErrors::Describe(DISP_E_TYPEMISMATCH, {}),
                                    DISP_E_TYPEMISMATCH);
    return result;
}
