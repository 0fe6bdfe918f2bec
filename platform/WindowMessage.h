// Private window messages between objects and threads, carried as Qt events.
//
// A message is a number (WM_DEVICE_PLUG 1277, WM_APPLY_SETTINGS 1274, 0x5401, ...) with two
// parameters. A receiver handles it by overriding QObject::event (or customEvent) and unpacking:
//
//     bool CMainWindow::event(QEvent* e) {
//         if (auto* message = platform::AsWindowMessage(e)) {
//             if (message->Message() == WM_DEVICE_PLUG) { ...; message->SetResult(1); return true; }
//         }
//         return QDialog::event(e);
//     }
#pragma once

#include <QEvent>

#include <cstdint>

class QObject;

namespace platform {

class WindowMessageEvent : public QEvent {
public:
    // The event type of every window message, registered with Qt on first use.
    static QEvent::Type EventType();

    WindowMessageEvent(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

    std::uint32_t Message() const { return message_; }
    std::uintptr_t WParam() const { return wParam_; }
    std::intptr_t LParam() const { return lParam_; }

    // The handler's answer to a sent message; 0 until a handler sets it.
    std::intptr_t Result() const { return result_; }
    void SetResult(std::intptr_t result) { result_ = result; }

private:
    std::uint32_t message_;
    std::uintptr_t wParam_;
    std::intptr_t lParam_;
    std::intptr_t result_ = 0;
};

// The event as a window message, or nullptr when it is another kind of event.
WindowMessageEvent* AsWindowMessage(QEvent* event);

// Queues the message for `receiver` and returns at once. Messages posted to one receiver arrive in
// the order they were posted, on the thread the receiver lives in, when that thread's event loop
// runs. A null receiver is ignored.
void PostWindowMessage(QObject* receiver, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

// Delivers the message to `receiver` and returns the result its handler set (0 when no handler set
// one, and for a null receiver). On the receiver's own thread the handler runs at once; from another
// thread the call waits until the receiver's thread has run it, so that thread's event loop must be
// running and must not itself be waiting on the caller. Returns 0 without waiting when the receiver
// is destroyed before the message is delivered.
std::intptr_t SendWindowMessage(QObject* receiver, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

}  // namespace platform
