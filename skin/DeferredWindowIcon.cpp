#include "DeferredWindowIcon.h"

#include "BaseDlg.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <utility>

namespace skin {

DeferredWindowIcon::DeferredWindowIcon(std::function<QIcon()> make) : make_(std::move(make)) {
    // Every window's show passes here until the icon is set.
    QApplication::instance()->installEventFilter(this);
}

DeferredWindowIcon::~DeferredWindowIcon() {
    if (!set_) QApplication::instance()->removeEventFilter(this);
}

void DeferredWindowIcon::SetAfterFirstPaintOf(CBaseDlg& mainWindow) {
    mainWindow_ = &mainWindow;
    connect(&mainWindow, &CBaseDlg::firstPainted, this, &DeferredWindowIcon::Set);
}

bool DeferredWindowIcon::eventFilter(QObject* watched, QEvent* event) {
    // A window's show event comes before the window is mapped: the icon set now is the one it shows.
    if (event->type() == QEvent::Show && watched != mainWindow_ && watched->isWidgetType() &&
        static_cast<const QWidget*>(watched)->isWindow()) {
        Set();
    }
    return QObject::eventFilter(watched, event);
}

void DeferredWindowIcon::Set() {
    if (set_) return;
    set_ = true;
    QApplication::instance()->removeEventFilter(this);
    QApplication::setWindowIcon(make_());
}

}  // namespace skin
