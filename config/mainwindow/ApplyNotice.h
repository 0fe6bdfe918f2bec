// The short notice beside the apply button that tells how the last apply went: "Settings applied" or
// that the controller did not take them. Success clears itself after a moment; a refusal stays until the
// next apply. It is drawn in the place and
// the look of the skin's record MAIN/STR_APPLIED; assistive technology gets it as a notification, which
// a screen reader says as it appears.
#pragma once

#include <QLabel>
#include <QTimer>

namespace config {

class ApplyNotice : public QLabel {
    Q_OBJECT
public:
    // How long the notice of a successful apply stays.
    static constexpr int kShownMs = 2000;

    explicit ApplyNotice(QWidget* parent);

    // Places the notice at its record (after the skin is loaded) and hides it.
    void Place();
    // Shows the string document's text of the outcome (success for a moment, a refusal until the next apply).
    void ShowOutcome(bool applied);
    // Takes the notice away at once (an apply starts again).
    void Clear();

protected:
    void paintEvent(QPaintEvent* event) override;

private:

    QTimer clearTimer_;
};

}  // namespace config
