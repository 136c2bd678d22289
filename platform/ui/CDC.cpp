#include "platform/ui/CDC.h"

#include "platform/ui/IconHandle.h"
#include "platform/ui/SystemMetrics.h"
#include "platform/ui/WinUser.h"

#include <QPainter>

CDC::CDC() = default;
CDC::~CDC() = default;

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) {
    if (!m_painter || !hIcon)
        return FALSE;
    const QSize size(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    m_painter->drawPixmap(x, y, hIcon->icon.pixmap(size));
    return TRUE;
}
