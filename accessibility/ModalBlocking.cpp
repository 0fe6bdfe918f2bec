#include "ModalBlocking.h"

#include <QApplication>
#include <QWidget>

namespace accessibility {

bool BlockedByModalPopUp(const QWidget& widget) {
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return false;
    // The pop-up's own widgets, and those of windows opened over it, stay reachable. Every pop-up of
    // the programs is modal to the whole application, so everything else is behind it.
    for (const QWidget* window = widget.window(); window != nullptr; window = window->parentWidget()) {
        if (window == modal) return false;
    }
    return true;
}

}  // namespace accessibility
