#include "AccessibleSkinButton.h"

#include "AccessibleTexts.h"
#include "BitmapBtn.h"
#include "ColorBtn.h"
#include "ModalBlocking.h"

#include <QMetaObject>
#include <QPointer>

namespace accessibility {

AccessibleSkinButton::AccessibleSkinButton(skin::CBitmapBtn* button)
    : QAccessibleWidget(button, QAccessible::PushButton) {}

skin::CBitmapBtn* AccessibleSkinButton::Button() const { return static_cast<skin::CBitmapBtn*>(widget()); }

QAccessible::Role AccessibleSkinButton::role() const {
    return Button()->IsCheckable() ? QAccessible::RadioButton : QAccessible::PushButton;
}

QAccessible::State AccessibleSkinButton::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    const skin::CBitmapBtn* button = Button();
    state.checkable = button->IsCheckable();
    state.checked = button->IsChecked();
    state.pressed = button->isDown();
    state.hotTracked = button->IsHovering();
    return state;
}

QString AccessibleSkinButton::text(QAccessible::Text t) const {
    const skin::CBitmapBtn* button = Button();
    const QString caption = OneLine(button->GetCaption());
    const QString name = WidgetName(*button, caption);
    switch (t) {
    case QAccessible::Name:
        return name;
    case QAccessible::Description:
    case QAccessible::Value:
        // A colour button says its colour; a button named apart from its caption (a value button
        // showing a number) says what it shows.
        if (const auto* colorButton = dynamic_cast<const skin::CColorBtn*>(button);
            colorButton != nullptr && colorButton->ShowsSwatch()) {
            const QRgb color = colorButton->Color();
            return ColorInWords(qRed(color), qGreen(color), qBlue(color));
        }
        return caption != name ? caption : QString();
    default:
        return QAccessibleWidget::text(t);
    }
}

QStringList AccessibleSkinButton::actionNames() const {
    QStringList names;
    if (Button()->isEnabled() && !BlockedByModalPopUp(*Button())) names << pressAction();
    return names + QAccessibleWidget::actionNames();
}

void AccessibleSkinButton::doAction(const QString& actionName) {
    if (actionName == pressAction()) {
        // Pressed from the event loop, not inside the client's call: a press may open a modal
        // pop-up, whose loop would keep the call from returning. A pop-up open by then (such as the
        // progress pane of a first press of Apply) keeps the press from the button, as from a click.
        QPointer<skin::CBitmapBtn> button = Button();
        QMetaObject::invokeMethod(
            button, [button] { if (button && !BlockedByModalPopUp(*button)) button->Press(); },
            Qt::QueuedConnection);
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

QStringList AccessibleSkinButton::keyBindingsForAction(const QString&) const {
    // No key presses a skinned button.
    return {};
}

}  // namespace accessibility
