#pragma once

#include "platform/base/WinTypes.h"
#include "platform/text/CString.h"

#include <exception>

// Thrown by the dispatch layer when an automation call fails. It carries a message a
// user can read; the dialog framework shows it when it escapes a command handler.
class COleDispatchException : public std::exception {
  public:
    COleDispatchException(CString description, HRESULT scError)
        : m_strDescription(std::move(description)), m_scError(scError) {}

    const char* what() const noexcept override { return m_strDescription; }

    CString m_strDescription;
    HRESULT m_scError;
};
