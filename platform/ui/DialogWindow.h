#pragma once

#include "platform/ui/Icon.h"
#include "platform/ui/WinUser.h"

#include <QDialog>

#include <memory>

class CDialog;
class QPainter;
struct DialogControl;
struct DialogTemplate;

// The Qt window of a CDialog: its controls built from the template, the dialog keyboard
// and the window's system menu. Clicks, list selections, Enter, Escape, Alt+Space, the
// close box and painting reach the CDialog as the messages a dialog receives; what the
// CDialog leaves to the default processing of window messages comes back here.
class DialogWindow : public QDialog {
  public:
    DialogWindow(CDialog& owner, const DialogTemplate& dialogTemplate, QWidget* parent);

    // The default processing of WM_SYSCOMMAND, WM_SETICON, WM_PAINT and WM_ICONERASEBKGND.
    LRESULT DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam);

    // A painter on the window while it handles a paint event; null otherwise.
    std::unique_ptr<QPainter> BeginPaint();

    // Cancelling the window from outside (when the program closes its open boxes) ends the
    // dialog with IDCANCEL at once, without asking the dialog's own handlers.
    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ConnectNotifications(QWidget* widget, const DialogControl& control);
    void SendCommand(int id, unsigned code);
    void PressDefaultButton();
    bool HandleWindowKey(const QKeyEvent* event);
    bool TakesEnterFromEdit(const QObject* watched) const;
    LRESULT SysCommand(UINT nID);
    HICON SetIcon(WPARAM which, HICON hIcon);

    CDialog& m_owner;
    const DialogTemplate& m_template;
    HICON m_hBigIcon = nullptr;
    HICON m_hSmallIcon = nullptr;
    QPaintEvent* m_pPaintEvent = nullptr;
};
