#include "PopupWindows.h"

#include "SkinAttributes.h"
#include "SkinDocuments.h"
#include "SkinKeys.h"
#include "XmlDocument.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

namespace config {

bool g_popupOpen = false;

QWidget* FindWindowByTitle(const QString& title) {
    // Only windows on the screen count: a pop-up that has ended its modal run is hidden, and its
    // object may live on a little longer (the loading pop-up until the end of the arrival).
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->objectName() == title) return window;
    }
    return nullptr;
}

void MarkAsWarnDlg(QWidget& window, const QString& title) {
    window.setObjectName(kWarnDlgTitle);
    window.setWindowTitle(title.isEmpty() ? kProgramTitle : title + QStringLiteral(" \u2013 ") + kProgramTitle);
}

QString StringTitle(const QString& section) {
    return skin::ToQString(xml::LookupValue(skindocs::StringDocument(), skin::ToU16(section), skindocs::keys::kStrTitle));
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
