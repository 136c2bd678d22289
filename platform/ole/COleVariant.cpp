#include "platform/ole/COleVariant.h"

#include <utility>

COleVariant::COleVariant(IDispatch* object) : m_vt(VT_DISPATCH), m_pdispVal(object) {
    if (m_pdispVal)
        m_pdispVal->AddRef();
}

COleVariant COleVariant::FromString(std::u16string text) {
    COleVariant v;
    v.m_vt = VT_BSTR;
    v.m_bstrVal = std::make_shared<const std::u16string>(std::move(text));
    return v;
}

const std::u16string& COleVariant::bstrVal() const {
    static const std::u16string empty;
    return m_bstrVal ? *m_bstrVal : empty;
}

std::optional<COleVariant> COleVariant::WeakString::Lock() const {
    std::shared_ptr<const std::u16string> string = m_string.lock();
    if (!string)
        return std::nullopt;
    COleVariant v;
    v.m_vt = VT_BSTR;
    v.m_bstrVal = std::move(string);
    return v;
}

COleVariant::WeakString COleVariant::Weak() const {
    WeakString weak;
    weak.m_string = m_bstrVal;
    return weak;
}

COleVariant COleVariant::NullString() {
    COleVariant v;
    v.m_vt = VT_BSTR;
    v.m_bstrNull = true;
    return v;
}

COleVariant::COleVariant(const COleVariant& other)
    : m_vt(other.m_vt), m_lVal(other.m_lVal), m_bstrVal(other.m_bstrVal),
      m_bstrNull(other.m_bstrNull), m_pdispVal(other.m_pdispVal) {
    if (m_pdispVal)
        m_pdispVal->AddRef();
}

COleVariant::COleVariant(COleVariant&& other) noexcept {
    swap(*this, other);
}

COleVariant& COleVariant::operator=(COleVariant other) noexcept {
    swap(*this, other);
    return *this;
}

COleVariant::~COleVariant() {
    if (m_pdispVal)
        m_pdispVal->Release();
}

IDispatch* COleVariant::DetachDispatch() {
    IDispatch* object = std::exchange(m_pdispVal, nullptr);
    m_vt = VT_EMPTY;
    return object;
}

void swap(COleVariant& a, COleVariant& b) noexcept {
    using std::swap;
    swap(a.m_vt, b.m_vt);
    swap(a.m_lVal, b.m_lVal);
    swap(a.m_bstrVal, b.m_bstrVal);
    swap(a.m_bstrNull, b.m_bstrNull);
    swap(a.m_pdispVal, b.m_pdispVal);
}
