#include "GTColorWellWnd.h"

#include "GTColorSelectorWnd.h"
#include "GTDrawHelper.h"
#include "PickerNotification.h"

#include <QMouseEvent>
#include <QPainter>

namespace colorpicker {

namespace {

constexpr int kColorInset = 2;

}  // namespace

GTColorWellWnd::GTColorWellWnd(QWidget* parent, int controlId, GTColorSelectorWnd* field)
    : QWidget(parent), controlId_(controlId), field_(field) {
    setObjectName(QStringLiteral("GTColorWellWnd"));
    setWindowTitle(QStringLiteral("GTColorWellWnd"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool GTColorWellWnd::event(QEvent* event) {
    if (const PickerNotification* notification = AsPickerNotification(event)) {
        if (field_ != nullptr && notification->sender == field_) {
            color_ = field_->Color();
            if (handler_ != nullptr) {
                handler_->OnColorPicked(color_);
            }
            update();
        }
        return true;
    }
    return QWidget::event(event);
}

void GTColorWellWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    painter.fillRect(rect().adjusted(kColorInset, kColorInset, 0, 0),
                     QColor(RedOf(color_), GreenOf(color_), BlueOf(color_)));
    GTDrawHelper::DrawFrame(painter, palette(), rect(), GTDrawHelper::kSunken | GTDrawHelper::kInnerBlack);
}

void GTColorWellWnd::mousePressEvent(QMouseEvent* event) { event->accept(); }
void GTColorWellWnd::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }
void GTColorWellWnd::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

void GTColorWellWnd::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        update();
    }
    QWidget::changeEvent(event);
}

}  // namespace colorpicker
