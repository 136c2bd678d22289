#include "platform/text/CString.h"

#include "platform/text/StringTable.h"

CString::CString(const char* text) : m_text(text ? text : "") {}

CString& CString::operator=(const char* text) {
    m_text = text ? text : "";
    return *this;
}

CString& CString::operator+=(const CString& other) {
    m_text += other.m_text;
    return *this;
}

CString& CString::operator+=(const char* text) {
    if (text)
        m_text += text;
    return *this;
}

BOOL CString::LoadString(UINT nID) {
    const char* text = StringTable::Find(nID);
    m_text = text ? text : "";
    return text ? TRUE : FALSE;
}

bool operator==(const CString& left, const char* right) {
    return left.m_text == (right ? right : "");
}
