// Keeps the LED page's live preview up with the hand.
//
// A slider drag or a picker drag notifies the page far more often than the controller can take a
// preview (each command is an exchange of about 4 ms that blocks the user-interface thread). The
// notifications arrive as posted window messages; while an exchange blocks, more of them queue up.
// If every one of them sent its own preview, the controller would fall further and further behind.
//
// So a notification stores its value in the working copy at once (the view follows immediately) and
// only requests a send. The first request posts one flush event to the coalescer at low priority:
// Qt delivers it after every ordinary posted event already queued, so all queued notifications have
// stored their values before it runs. The flush then sends once, reading the working copy as it is at
// that moment. Requests made while a flush is pending (or while a send is running, when a nested
// event loop lets notifications in) only mark it pending again: at most one send waits per target,
// and since the send reads the newest values, the last value always reaches the controller.
//
// The order of commands stays the page's: a send is always a whole sequence, never cut by another
// one of the same coalescer, and an immediate send (a click) first drops the pending request, which
// it supersedes because it reads the same, newest values.
#pragma once

#include <QObject>

#include <functional>

namespace config {

class CPreviewCoalescer : public QObject {
public:
    explicit CPreviewCoalescer(std::function<void()> send, QObject* parent = nullptr);

    // A newer value wants to reach the controller: one send follows once the queued notifications
    // have been handled.
    void Request();
    // Sends now, dropping a pending request; during a running send it only marks one pending.
    void SendNow();
    // Drops a pending request (the value it stood for is no longer to be shown).
    void Cancel() { pending_ = false; }

    bool Pending() const { return pending_; }
    bool Sending() const { return sending_; }

protected:
    bool event(QEvent* event) override;

private:
    void PostFlush();
    void Send();

    std::function<void()> send_;
    bool pending_ = false;
    bool flushPosted_ = false;
    bool sending_ = false;
};

}  // namespace config
