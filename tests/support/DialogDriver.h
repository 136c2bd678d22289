#pragma once

#include "platform/ui/CDialog.h"
#include "platform/ui/ControlWidget.h"

#include <QString>
#include <QWidget>
#include <Qt>

#include <functional>
#include <string>

// Runs a real dialog on Qt's offscreen platform and acts on it as a user would: clicks,
// keys and typing go to the controls, found by their ids, while the dialog's modal loop
// runs. A QApplication is created on first use.
class DialogDriver {
  public:
    // Runs dialog.DoModal(); once the dialog is up, steps runs with a driver for it. Returns
    // what DoModal returns. If the steps leave the dialog open, the test fails and the
    // dialog is ended with -2.
    static int RunModal(CDialog& dialog, const std::function<void(DialogDriver&)>& steps);

    // The dialog's window and the control with this id (the test fails when there is none).
    QWidget* Window() const { return m_dialog.GetWidget(); }
    QWidget* Control(int id) const;
    // The id of the control that has the keyboard focus, or 0.
    int FocusedId() const {
        return Window() && Window()->focusWidget() ? Window()->focusWidget()->objectName().toInt()
                                                   : 0;
    }

    void Click(int id);
    // A key pressed and released on the focused control (or the window when none is).
    void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Replaces the text of an edit, as typing would.
    void SetText(int id, const std::string& text) { ControlWidget::SetText(Control(id), text); }
    std::string Text(int id) const { return ControlWidget::GetText(Control(id)); }
    // The user picks an item of a drop-down list.
    void ChooseItem(int id, int index);
    // The close box of the window's caption bar.
    void CloseBox();
    bool IsOpen() const { return Window() && Window()->isVisible(); }

  private:
    explicit DialogDriver(CDialog& dialog) : m_dialog(dialog) {}

    CDialog& m_dialog;
};

// Creates the process's QApplication (offscreen) if there is none yet.
void EnsureGuiApplication();
