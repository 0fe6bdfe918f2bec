#include "SkinErrorMessage.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace skin {

namespace {

ErrorMessageHook& Hook() {
    static ErrorMessageHook hook;
    return hook;
}

}  // namespace

ErrorMessageHook SetErrorMessageHook(ErrorMessageHook hook) { return std::exchange(Hook(), std::move(hook)); }

void ShowErrorMessage(QWidget* owner, const QString& text) {
    if (Hook()) {
        Hook()(owner, text);
        return;
    }
    QMessageBox::warning(owner, QApplication::applicationDisplayName(), text, QMessageBox::Ok);
}

}  // namespace skin
