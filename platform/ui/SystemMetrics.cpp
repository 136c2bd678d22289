#include "platform/ui/SystemMetrics.h"

#include "platform/ui/WinUser.h"

namespace {

// The standard icon is 32 pixels square, the size of the big image of the program's icon.
constexpr int kIconSize = 32;

} // namespace

int GetSystemMetrics(int nIndex) {
    switch (nIndex) {
    case SM_CXICON:
    case SM_CYICON:
        return kIconSize;
    default:
        return 0;
    }
}
