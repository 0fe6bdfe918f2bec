// The picker's colour well: shows the colour of its field in a sunken frame and, on each notification
// from that field, hands the colour to the page's PickedColorHandler.
#pragma once

#include "PickedColorHandler.h"
#include "PickerColor.h"

#include <QPointer>
#include <QWidget>

namespace colorpicker {

class GTColorSelectorWnd;

class GTColorWellWnd : public QWidget {
public:
    GTColorWellWnd(QWidget* parent, int controlId, GTColorSelectorWnd* field);

    int ControlId() const { return controlId_; }
    PickerColor Color() const { return color_; }

    // The handler is not owned; the page that implements it outlives its child well.
    void SetColorHandler(PickedColorHandler* handler) { handler_ = handler; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // The well keeps its mouse presses: they neither pick anything nor reach the page behind it.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int controlId_;
    PickerColor color_ = 0;
    QPointer<GTColorSelectorWnd> field_;
    PickedColorHandler* handler_ = nullptr;
};

}  // namespace colorpicker
