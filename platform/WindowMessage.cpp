#include "WindowMessage.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace platform {

QEvent::Type WindowMessageEvent::EventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

WindowMessageEvent::WindowMessageEvent(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)
    : QEvent(EventType()), message_(message), wParam_(wParam), lParam_(lParam) {}

WindowMessageEvent* AsWindowMessage(QEvent* event) {
    if (event == nullptr || event->type() != WindowMessageEvent::EventType()) {
        return nullptr;
    }
    return static_cast<WindowMessageEvent*>(event);
}

void PostWindowMessage(QObject* receiver, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (receiver == nullptr) {
        return;
    }
    // Qt takes ownership of the event and deletes it after delivery.
    QCoreApplication::postEvent(receiver, new WindowMessageEvent(message, wParam, lParam));
}

std::intptr_t SendWindowMessage(QObject* receiver, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (receiver == nullptr) {
        return 0;
    }
    const auto deliver = [receiver, message, wParam, lParam]() -> std::intptr_t {
        WindowMessageEvent event(message, wParam, lParam);
        QCoreApplication::sendEvent(receiver, &event);
        return event.Result();
    };
    if (receiver->thread() == QThread::currentThread()) {
        return deliver();
    }
    // The call is queued to the receiver's thread and this thread sleeps until it has run. When the
    // receiver dies first, Qt drops the queued call and wakes this thread; the result stays 0.
    std::intptr_t result = 0;
    QMetaObject::invokeMethod(receiver, deliver, Qt::BlockingQueuedConnection, &result);
    return result;
}

}  // namespace platform
