// A small window that shows each controller's four LEDs live, its state in words, and buttons for the
// controller's own button and its profile button.
#pragma once

#include "simulator/VirtualController.h"

#include <QWidget>

#include <chrono>
#include <vector>

class QLabel;

namespace simulator::app {

class LedStrip : public QWidget {
public:
    explicit LedStrip(const VirtualController& controller, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const VirtualController& controller_;
    std::chrono::steady_clock::time_point started_;
};

class LedWindow : public QWidget {
public:
    explicit LedWindow(std::vector<VirtualController*> controllers);

private:
    void update();

    std::vector<VirtualController*> controllers_;
    std::vector<LedStrip*> strips_;
    std::vector<QLabel*> labels_;
};

}  // namespace simulator::app
