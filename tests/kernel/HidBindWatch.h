// Waits for the kernel to finish binding a HID device to its driver, seen as the "bind" uevent of the
// device with the given unique string (HID_UNIQ).
//
// The kernel creates a device's hidraw node while its driver's probe still runs, and until that probe
// returns it drops every input report (the HID core cannot take its input lock). A program that opens
// the node as soon as it appears and writes at once can therefore have the answer thrown away. A USB
// controller never answers that early: the USB HID driver holds the first open of the node for 50 ms
// before the interrupt endpoint's reports reach the HID core. A UHID device answers from user space at
// once, so it waits for the bind instead, which is what a real controller's timing amounts to.
#pragma once

#include <string>

namespace kernel_guest {

class HidBindWatch {
public:
    // Listens to the kernel's uevents from now on; start it before the device is created, so that its
    // bind cannot be missed. Not listening (and bound() then waits only out its time) when the socket
    // cannot be opened.
    explicit HidBindWatch(std::string uniq);
    ~HidBindWatch();
    HidBindWatch(const HidBindWatch&) = delete;
    HidBindWatch& operator=(const HidBindWatch&) = delete;

    const std::string& uniq() const { return uniq_; }
    // True once the device is bound; waits up to timeoutMs for its bind uevent.
    bool bound(int timeoutMs);

private:
    bool isOurBind(const char* message, std::size_t length) const;

    std::string uniq_;
    int socket_ = -1;
    bool bound_ = false;
};

}  // namespace kernel_guest
