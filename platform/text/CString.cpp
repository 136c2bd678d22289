#include "platform/text/CString.h"

#include "platform/text/StringTable.h"

namespace {

std::shared_ptr<std::string> Buffer(std::string text) {
    if (text.empty())
        return nullptr;
    return std::make_shared<std::string>(std::move(text));
}

} // namespace

CString::CString(const char* text) : m_text(Buffer(text ? text : "")) {}

CString::CString(std::string text) : m_text(Buffer(std::move(text))) {}

const std::string& CString::str() const {
    static const std::string empty;
    return m_text ? *m_text : empty;
}

std::string& CString::Own() {
    if (!m_text)
        m_text = std::make_shared<std::string>();
    else if (m_text.use_count() > 1 || m_named)
        m_text = std::make_shared<std::string>(*m_text);
    m_named = false;
    return *m_text;
}

bool CString::WeakRef::Refers(const CString& text) const {
    const std::shared_ptr<const std::string> buffer = m_buffer.lock();
    return buffer && buffer == text.m_text;
}

CString::WeakRef CString::Weak() const {
    m_named = true;
    WeakRef reference;
    reference.m_buffer = m_text;
    return reference;
}

CString& CString::operator=(const char* text) {
    m_text = Buffer(text ? text : "");
    m_named = false;
    return *this;
}

CString& CString::operator+=(const CString& other) {
    if (!other.str().empty())
        Own() += other.str();
    return *this;
}

CString& CString::operator+=(const char* text) {
    if (text && *text)
        Own() += text;
    return *this;
}

BOOL CString::LoadString(UINT nID) {
    const char* text = StringTable::Find(nID);
    m_text = Buffer(text ? text : "");
    m_named = false;
    return text ? TRUE : FALSE;
}

bool operator==(const CString& left, const CString& right) {
    return left.m_text == right.m_text || left.str() == right.str();
}

bool operator==(const CString& left, const char* right) {
    return left.str() == (right ? right : "");
}
