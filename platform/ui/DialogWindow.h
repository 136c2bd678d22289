#pragma once

#include <QDialog>

class CDialog;
struct DialogControl;
struct DialogTemplate;

// The Qt window of a CDialog: its controls built from the template, and the dialog
// keyboard. Clicks, list selections, Enter, Escape and the close box reach the CDialog as
// the messages a dialog receives.
class DialogWindow : public QDialog {
  public:
    DialogWindow(CDialog& owner, const DialogTemplate& dialogTemplate, QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ConnectNotifications(QWidget* widget, const DialogControl& control);
    void SendCommand(int id, unsigned code);
    void PressDefaultButton();

    CDialog& m_owner;
    const DialogTemplate& m_template;
};
