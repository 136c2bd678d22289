#include "ui/IconOrigin.h"

POINT IconOrigin(const RECT& client, int cxIcon, int cyIcon) {
    const LONG width = client.right - client.left;
    const LONG height = client.bottom - client.top;
    return POINT{(width - cxIcon + 1) / 2, (height - cyIcon + 1) / 2};
}
