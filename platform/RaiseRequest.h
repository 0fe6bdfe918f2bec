// A second start of a program that keeps to one running copy asks the running copy to bring its window
// forward, then leaves. The request is one datagram of the companion notice's form (CompanionNotifier.h)
// with message kRaiseMessage, sent to the Unix datagram socket "<instance name>.raise" in the runtime
// folder, where the copy holding the single-instance lock listens.
#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class QSocketNotifier;

namespace platform {

inline constexpr std::uint32_t kRaiseMessage = 2930;

// The socket's name for the single-instance lock `instanceName`.
std::string RaiseSocketName(std::string_view instanceName);

// Asks the copy that holds `instanceName` to bring its window forward. True when the request was handed
// over; false, quietly, when nobody listens.
bool RequestRaise(std::string_view instanceName);

// Listens for raise requests while it lives; the holder of the single-instance lock makes one, so that
// no other process binds the socket at the same time. `onRequest` runs on the thread of the object, in
// its event loop, once for each batch of requests.
class RaiseRequests : public QObject {
public:
    RaiseRequests(std::string_view instanceName, std::function<void()> onRequest);
    ~RaiseRequests() override;
    RaiseRequests(const RaiseRequests&) = delete;
    RaiseRequests& operator=(const RaiseRequests&) = delete;

    bool Listening() const { return fd_ >= 0; }

private:
    void Drain();

    std::string path_;
    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    std::function<void()> onRequest_;
};

}  // namespace platform
