#include "platform/ui/Icon.h"

#include "platform/ui/IconHandle.h"
#include "platform/ui/ResourceModule.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>

#include <map>
#include <memory>

namespace {

std::unique_ptr<IconHandle> LoadFromBytes(std::span<const unsigned char> bytes) {
    QByteArray data(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    // An .ico file holds one image per size; the icon keeps them all.
    QImageReader reader(&buffer, "ico");
    auto handle = std::make_unique<IconHandle>();
    for (QImage image = reader.read(); !image.isNull(); image = reader.read()) {
        handle->icon.addPixmap(QPixmap::fromImage(image));
        if (!reader.jumpToNextImage())
            break;
    }
    if (handle->icon.isNull())
        return nullptr;
    return handle;
}

} // namespace

HICON AfxLoadIcon(UINT nIDResource) {
    // Pixmaps need the GUI application; before it exists no icon can be made.
    if (!QGuiApplication::instance())
        return nullptr;
    static std::map<UINT, std::unique_ptr<IconHandle>> loaded;
    if (auto found = loaded.find(nIDResource); found != loaded.end())
        return found->second.get();
    for (const IconResource& resource : AfxGetResourceModule().icons) {
        if (resource.id == nIDResource) {
            std::unique_ptr<IconHandle>& handle = loaded[nIDResource];
            handle = LoadFromBytes(resource.bytes);
            return handle.get();
        }
    }
    return nullptr;
}
