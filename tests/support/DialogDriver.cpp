#include "tests/support/DialogDriver.h"

#include "platform/ui/ModalPrompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The prompts of a test that scripted none: a real one would wait for a user who never comes,
// so each fails the test at once with what it asked, and is answered as if dismissed.
class UnexpectedPrompts : public ModalPrompts {
  public:
    int MessageBox(const CWnd*, const CString& text, const CString& caption, UINT nType) override {
        ADD_FAILURE() << "unexpected message box \"" << caption.str() << "\": " << text.str();
        return MessageBoxButtons(nType).back();
    }
    std::optional<std::string> FileDialog(const CWnd*, const FileDialogRequest& request) override {
        ADD_FAILURE() << "unexpected file dialog \"" << request.title << "\"";
        return std::nullopt;
    }
};

// Installed before main, so that every ScriptedPrompts of a test puts these back when it goes.
UnexpectedPrompts g_unexpectedPrompts;
[[maybe_unused]] const ModalPrompts* const g_realPrompts =
    ModalPrompts::Install(&g_unexpectedPrompts);

// Owns the test program's QApplication and destroys it when the tests are done, while
// Qt's own globals still exist; destroyed among the static objects at exit, it would
// outlive some of them.
class GuiApplicationOwner : public testing::EmptyTestEventListener {
    int m_argc = 1;
    char m_name[14] = "murmelo-tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_application =
        (qputenv("QT_QPA_PLATFORM", "offscreen"), std::make_unique<QApplication>(m_argc, m_argv));
    void OnTestProgramEnd(const testing::UnitTest&) override { m_application.reset(); }
};

} // namespace

void EnsureGuiApplication() {
    // The listeners take ownership of what they are given.
    if (!QApplication::instance())
        testing::UnitTest::GetInstance()->listeners().Append(new GuiApplicationOwner);
}

int DialogDriver::RunModal(CDialog& dialog, const std::function<void(DialogDriver&)>& steps) {
    EnsureGuiApplication();
    // The timer belongs to guard, so a dialog that never reaches its loop leaves nothing
    // behind for a later test's loop to run.
    QObject guard;
    QTimer::singleShot(0, &guard, [&] {
        DialogDriver driver(dialog);
        steps(driver);
        EXPECT_FALSE(driver.IsOpen()) << "the steps left the dialog open";
        if (driver.IsOpen())
            dialog.EndDialog(-2);
    });
    return dialog.DoModal();
}

QWidget* DialogDriver::Control(int id) const {
    QWidget* control =
        Window() ? Window()->findChild<QWidget*>(QString::number(id), Qt::FindDirectChildrenOnly)
                 : nullptr;
    EXPECT_NE(control, nullptr) << "no control " << id;
    return control;
}

void DialogDriver::Click(int id) {
    auto* button = qobject_cast<QAbstractButton*>(Control(id));
    EXPECT_NE(button, nullptr) << "control " << id << " is not a button";
    if (button)
        button->click();
}

void DialogDriver::PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = Window()->focusWidget() ? Window()->focusWidget() : Window();
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, modifiers);
        QApplication::sendEvent(target, &event);
    }
}

void DialogDriver::ChooseItem(int id, int index) {
    auto* combo = qobject_cast<QComboBox*>(Control(id));
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void DialogDriver::CloseBox() {
    QCloseEvent event;
    QApplication::sendEvent(Window(), &event);
}
