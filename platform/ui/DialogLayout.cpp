#include "platform/ui/DialogLayout.h"

#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Icon.h"
#include "platform/ui/IconHandle.h"
#include "platform/ui/NamedComboBoxAccessible.h"
#include "platform/ui/SystemMetrics.h"
#include "platform/ui/WinUser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

namespace {

// Used where the template's font is not installed; it covers the Chinese texts too.
constexpr const char* kFallbackFamily = "WenQuanYi Zen Hei";

bool HasTemplateFont(const DialogTemplate& dialogTemplate) {
    return QFontDatabase::hasFamily(QString::fromUtf8(dialogTemplate.fontName));
}

QFont TemplateFont(const DialogTemplate& dialogTemplate) {
    QFont font(HasTemplateFont(dialogTemplate) ? QString::fromUtf8(dialogTemplate.fontName)
                                               : QString(kFallbackFamily));
    font.setPointSize(dialogTemplate.pointSize);
    return font;
}

int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>((product >= 0 ? product + half : product - half) / denominator);
}

// An icon control takes the size of the standard icon, whatever the template gives it.
QSize IconSize() {
    return QSize(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
}

QWidget* CreateWidget(const DialogControl& control, QWidget* parent) {
    const QString caption = QString::fromUtf8(control.caption);
    switch (control.kind) {
    case ControlKind::PushButton: {
        auto* button = new QPushButton(caption, parent);
        button->setDefault((control.style & BS_DEFPUSHBUTTON) != 0);
        return button;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(caption, parent);
    case ControlKind::GroupBox: {
        // A group box only frames the controls inside it. It lies above them in template
        // order, so it must let clicks through to them.
        auto* group = new QGroupBox(caption, parent);
        group->setAttribute(Qt::WA_TransparentForMouseEvents);
        return group;
    }
    case ControlKind::Static: {
        // The platform's static controls draw their text from the top of the rectangle; a
        // label would centre it, below the edit it names when the rectangle is taller.
        auto* label = new QLabel(caption, parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::Icon: {
        auto* label = new QLabel(parent);
        if (HICON icon = AfxLoadIcon(control.iconId))
            label->setPixmap(icon->icon.pixmap(IconSize()));
        return label;
    }
    case ControlKind::ComboBox: {
        NamedComboBoxAccessible::Install();
        auto* combo = new QComboBox(parent);
        combo->setInsertPolicy(QComboBox::InsertAtBottom);
        return combo;
    }
    case ControlKind::Edit:
        if (control.style & ES_MULTILINE) {
            auto* edit = new QPlainTextEdit(caption, parent);
            edit->setTabChangesFocus(true);
            edit->setLineWrapMode((control.style & ES_AUTOHSCROLL) ? QPlainTextEdit::NoWrap
                                                                   : QPlainTextEdit::WidgetWidth);
            edit->setVerticalScrollBarPolicy((control.style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn
                                                                          : Qt::ScrollBarAlwaysOff);
            return edit;
        }
        return new QLineEdit(caption, parent);
    }
    return nullptr;
}

} // namespace

DialogLayout::DialogLayout(const DialogTemplate& dialogTemplate)
    : m_font(TemplateFont(dialogTemplate)) {
    const QFontMetrics metrics(m_font);
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseX = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
    // The template's font is a CJK font whose height is its em size. The fallback font adds
    // generous line spacing on top, which would stretch every dialog by a third, so its em
    // size stands in for the height.
    m_baseY = HasTemplateFont(dialogTemplate) ? metrics.height() : QFontInfo(m_font).pixelSize();
}

QRect DialogLayout::ToPixels(const QRect& units) const {
    return QRect(MulDiv(units.x(), m_baseX, 4), MulDiv(units.y(), m_baseY, 8),
                 MulDiv(units.width(), m_baseX, 4), MulDiv(units.height(), m_baseY, 8));
}

QWidget* DialogLayout::CreateControl(const DialogControl& control, QWidget* parent) const {
    QWidget* widget = CreateWidget(control, parent);
    widget->setObjectName(QString::number(control.id));
    if (control.accessibleName)
        widget->setAccessibleName(QString::fromUtf8(control.accessibleName));
    const bool focusable = control.kind != ControlKind::GroupBox &&
                           control.kind != ControlKind::Static && control.kind != ControlKind::Icon;
    widget->setFocusPolicy(!focusable                     ? Qt::NoFocus
                           : (control.style & WS_TABSTOP) ? Qt::StrongFocus
                                                          : Qt::ClickFocus);
    QRect place = ToPixels(QRect(control.x, control.y, control.cx, control.cy));
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // The template's height includes the dropped-down list; the closed box is one line.
        const int lineHeight = combo->sizeHint().height();
        combo->setMaxVisibleItems(std::max(1, place.height() / lineHeight - 1));
        place.setHeight(std::min(place.height(), lineHeight));
    }
    if (control.kind == ControlKind::Icon)
        place.setSize(IconSize());
    widget->setGeometry(place);
    widget->setVisible(control.state != ControlState::Hidden);
    widget->setEnabled(control.state != ControlState::Disabled);
    return widget;
}
