#include "PopupWindows.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

namespace config {

bool g_popupOpen = false;

QWidget* FindWindowByTitle(const QString& title) {
    // Only windows on the screen count: a pop-up that has ended its modal run is hidden, and its
    // object may live on a little longer (the loading pop-up until the end of the arrival).
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowTitle() == title) return window;
    }
    return nullptr;
}

bool CloseWindowByTitle(const QString& title) {
    QWidget* window = FindWindowByTitle(title);
    if (window == nullptr) return false;
    QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
    return true;
}

void CentreOnParent(QWidget& window) {
    const QWidget* parent = window.parentWidget();
    QRect area;
    if (parent != nullptr) {
        area = parent->window()->frameGeometry();
    } else if (const QScreen* screen = window.screen()) {
        area = screen->availableGeometry();
    }
    if (area.isNull()) return;
    window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
}

}  // namespace config
