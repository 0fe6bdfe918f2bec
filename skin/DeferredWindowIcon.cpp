#include "DeferredWindowIcon.h"

#include "BaseDlg.h"

#include <QApplication>

#include <utility>

namespace skin {

DeferredWindowIcon::DeferredWindowIcon(std::function<QIcon()> make) : make_(std::move(make)) {}

void DeferredWindowIcon::SetAfterFirstPaintOf(CBaseDlg& mainWindow) {
    connect(&mainWindow, &CBaseDlg::firstPainted, this, &DeferredWindowIcon::Set);
}

void DeferredWindowIcon::Set() {
    if (set_) return;
    set_ = true;
    QApplication::setWindowIcon(make_());
}

}  // namespace skin
