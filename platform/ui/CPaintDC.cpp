#include "platform/ui/CPaintDC.h"

#include "platform/ui/CWnd.h"
#include "platform/ui/DialogWindow.h"

#include <QPainter>

CPaintDC::CPaintDC(CWnd* pWnd) {
    if (auto* window = dynamic_cast<DialogWindow*>(pWnd ? pWnd->GetWidget() : nullptr))
        m_painter = window->BeginPaint();
}
