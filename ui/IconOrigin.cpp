#include "ui/IconOrigin.h"

POINT IconOrigin(const CRect& client, int cxIcon, int cyIcon) {
    return POINT{(client.Width() - cxIcon + 1) / 2, (client.Height() - cyIcon + 1) / 2};
}
