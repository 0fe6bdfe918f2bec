// An image button as assistive technology sees it: named by its caption (or, for a button that only
// shows a picture, by its key's accessible text), a push button or, when it can be checked (tabs, the
// effect list, menu items), a radio button with its checked state; its one action presses it.
#pragma once

#include <QAccessibleWidget>

namespace skin {
class CBitmapBtn;
}

namespace accessibility {

class AccessibleSkinButton : public QAccessibleWidget {
public:
    explicit AccessibleSkinButton(skin::CBitmapBtn* button);

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    skin::CBitmapBtn* Button() const;
};

}  // namespace accessibility
