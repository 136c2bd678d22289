#include "platform/ui/DataExchange.h"

#include "platform/ui/CDataExchange.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/ControlWidget.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace {

// Reads a decimal integer with optional sign and surrounding blanks. A value beyond the
// range of int is clamped to it, so the range check that follows names the bounds.
std::optional<int> ParseInteger(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    text.remove_prefix(std::min(text.find_first_not_of('0'), text.size() - 1));
    long long magnitude = std::numeric_limits<long long>::max();
    if (text.size() <= 18)
        std::from_chars(text.data(), text.data() + text.size(), magnitude);
    const long long value = negative ? -magnitude : magnitude;
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

QWidget* ControlOf(CDataExchange* pDX, int nIDC) {
    CWnd* control = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    return control ? control->GetWidget() : nullptr;
}

void MinMax(CDataExchange* pDX, long long value, long long minVal, long long maxVal) {
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate)
        return;
    if (value >= minVal && value <= maxVal)
        return;
    const std::string message = "Please enter an integer between " + std::to_string(minVal) +
                                " and " + std::to_string(maxVal) + ".";
    pDX->Fail(message.c_str());
}

} // namespace

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (pDX->m_bFailed || rControl.IsAttached())
        return;
    if (pDX->m_pDlgWnd->GetDlgItem(nIDC))
        rControl.AttachToControl(pDX->m_pDlgWnd, nIDC);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    if (pDX->m_bFailed)
        return;
    pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = CString(ControlWidget::GetText(ControlOf(pDX, nIDC)));
    else
        ControlWidget::SetText(ControlOf(pDX, nIDC), value.str());
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX->m_bFailed)
        return;
    pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        ControlWidget::SetText(ControlOf(pDX, nIDC), std::to_string(value));
        return;
    }
    const std::optional<int> parsed = ParseInteger(ControlWidget::GetText(ControlOf(pDX, nIDC)));
    if (!parsed) {
        pDX->Fail("Please enter an integer.");
        return;
    }
    value = *parsed;
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX->m_bFailed)
        return;
    pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = ControlWidget::GetCheck(ControlOf(pDX, nIDC));
        return;
    }
    if (value < 0 || value > 2)
        value = 0;
    ControlWidget::SetCheck(ControlOf(pDX, nIDC), value);
}

void DDV_MinMaxLong(CDataExchange* pDX, LONG value, LONG minVal, LONG maxVal) {
    MinMax(pDX, value, minVal, maxVal);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    MinMax(pDX, value, minVal, maxVal);
}
