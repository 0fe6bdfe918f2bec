#include "LedWindow.h"

#include "TerminalDisplay.h"

#include "simulator/LedRenderer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadialGradient>
#include <QTimer>
#include <QVBoxLayout>

namespace simulator::app {

namespace {
constexpr int kLedSize = 64;
constexpr int kLedGap = 18;
constexpr int kFrameMs = 33;
}  // namespace

LedStrip::LedStrip(const VirtualController& controller, QWidget* parent)
    : QWidget(parent), controller_(controller), started_(std::chrono::steady_clock::now()) {}

QSize LedStrip::sizeHint() const {
    return {static_cast<int>(kLedCount) * (kLedSize + kLedGap) + kLedGap, kLedSize + 2 * kLedGap};
}

void LedStrip::paintEvent(QPaintEvent*) {
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    LedColors leds{};
    controller_.inspect([&](const ControllerState& s, bool onBus) {
        if (onBus && s.firmware == Firmware::Application) leds = renderLeds(s.live.current(), seconds);
    });
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(24, 24, 28));
    for (std::size_t i = 0; i < leds.size(); ++i) {
        const QPointF centre(kLedGap + kLedSize / 2.0 + static_cast<double>(i) * (kLedSize + kLedGap), height() / 2.0);
        const QColor colour(leds[i].r, leds[i].g, leds[i].b);
        // A glow around the LED, then the LED itself with a dark rim so that "off" is still visible.
        QRadialGradient glow(centre, kLedSize * 0.8);
        QColor halo = colour;
        halo.setAlpha(110);
        glow.setColorAt(0.0, halo);
        glow.setColorAt(1.0, QColor(0, 0, 0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(centre, kLedSize * 0.8, kLedSize * 0.8);
        p.setPen(QPen(QColor(70, 70, 78), 2));
        p.setBrush(colour);
        p.drawEllipse(centre, kLedSize / 2.0, kLedSize / 2.0);
        p.setPen(QColor(150, 150, 160));
        p.drawText(QRectF(centre.x() - 20, height() - 16, 40, 14), Qt::AlignCenter, QString("LED %1").arg(i + 1));
    }
}

LedWindow::LedWindow(std::vector<VirtualController*> controllers) : controllers_(std::move(controllers)) {
    setWindowTitle("Virtual controller");
    auto* layout = new QVBoxLayout(this);
    for (auto* controller : controllers_) {
        auto* name = new QLabel(QString::fromStdString(controller->options().name), this);
        QFont bold = name->font();
        bold.setBold(true);
        name->setFont(bold);
        auto* strip = new LedStrip(*controller, this);
        auto* label = new QLabel(this);
        auto* buttons = new QHBoxLayout;
        auto* effect = new QPushButton("Button (next effect)", this);
        auto* profile = new QPushButton("Profile", this);
        connect(effect, &QPushButton::clicked, this, [controller] { controller->pressEffectButton(); });
        connect(profile, &QPushButton::clicked, this, [controller] { controller->pressProfileButton(); });
        buttons->addWidget(effect);
        buttons->addWidget(profile);
        buttons->addStretch();
        layout->addWidget(name);
        layout->addWidget(strip);
        layout->addWidget(label);
        layout->addLayout(buttons);
        strips_.push_back(strip);
        labels_.push_back(label);
    }
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] { update(); });
    timer->start(kFrameMs);
    update();
}

void LedWindow::update() {
    for (std::size_t i = 0; i < controllers_.size(); ++i) {
        std::string text;
        const auto* controller = controllers_[i];
        controller->inspect([&](const ControllerState& s, bool onBus) { text = describeController(s, onBus); });
        labels_[i]->setText(QString::fromStdString(text));
        strips_[i]->update();
    }
}

}  // namespace simulator::app
