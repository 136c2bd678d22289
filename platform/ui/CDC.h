#pragma once

#include "platform/ui/Icon.h"

#include <memory>

class CDC;
class QPainter;

// A device context is known to the messages that carry it by its own address.
using HDC = CDC*;

// A device context: what a window paints with while it paints.
class CDC {
  public:
    CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC();

    HDC GetSafeHdc() { return this; }

    // Draws the icon at its standard size with its top-left corner at (x, y).
    BOOL DrawIcon(int x, int y, HICON hIcon);

    // The framework's side: the painter, or null when there is nothing to paint on.
    QPainter* GetPainter() const { return m_painter.get(); }

  protected:
    std::unique_ptr<QPainter> m_painter;
};
