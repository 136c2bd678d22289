#pragma once

#include <QIcon>

// What an HICON points to: the Qt icon built from the resource's .ico bytes.
class IconHandle {
  public:
    QIcon icon;
};
