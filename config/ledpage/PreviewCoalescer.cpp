#include "PreviewCoalescer.h"

#include <QCoreApplication>
#include <QEvent>

namespace config {

namespace {
const QEvent::Type kFlushEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
}  // namespace

CPreviewCoalescer::CPreviewCoalescer(std::function<void()> send, QObject* parent)
    : QObject(parent), send_(std::move(send)) {}

void CPreviewCoalescer::Request() {
    pending_ = true;
    if (!sending_) PostFlush();
}

void CPreviewCoalescer::SendNow() {
    if (sending_) {
        pending_ = true;  // sent once the running sequence is complete
        return;
    }
    pending_ = false;
    Send();
}

void CPreviewCoalescer::PostFlush() {
    if (flushPosted_) return;
    flushPosted_ = true;
    QCoreApplication::postEvent(this, new QEvent(kFlushEvent), Qt::LowEventPriority);
}

void CPreviewCoalescer::Send() {
    sending_ = true;
    send_();
    sending_ = false;
    if (pending_) PostFlush();
}

bool CPreviewCoalescer::event(QEvent* event) {
    if (event->type() != kFlushEvent) return QObject::event(event);
    flushPosted_ = false;
    if (pending_ && !sending_) {
        pending_ = false;
        Send();
    }
    return true;
}

}  // namespace config
