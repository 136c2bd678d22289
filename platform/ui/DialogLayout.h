#pragma once

#include <QFont>
#include <QRect>

struct DialogControl;
struct DialogTemplate;
class QWidget;

// The template's font and the conversion of dialog units to pixels: a horizontal unit is a
// quarter of the font's average character width, a vertical unit an eighth of its height.
class DialogLayout {
  public:
    explicit DialogLayout(const DialogTemplate& dialogTemplate);

    const QFont& Font() const { return m_font; }
    QRect ToPixels(const QRect& dialogUnits) const;

    // Creates the control's widget as a child of parent, named by its id, at its place and
    // in its initial state.
    QWidget* CreateControl(const DialogControl& control, QWidget* parent) const;

  private:
    QFont m_font;
    int m_baseX;
    int m_baseY;
};
