#include "KernelUevent.h"

namespace tarnlink {

std::optional<BusEvent> parseKernelUevent(std::string_view message) {
    std::string_view action, subsystem, devname;
    while (!message.empty()) {
        const std::size_t end = message.find('\0');
        const std::string_view field = message.substr(0, end);
        if (field.starts_with("ACTION=")) action = field.substr(7);
        else if (field.starts_with("SUBSYSTEM=")) subsystem = field.substr(10);
        else if (field.starts_with("DEVNAME=")) devname = field.substr(8);
        if (end == std::string_view::npos) break;
        message.remove_prefix(end + 1);
    }
    if (subsystem != "hidraw" || devname.empty() || devname.find("..") != std::string_view::npos) return std::nullopt;
    std::string node = devname.starts_with('/') ? std::string(devname) : "/dev/" + std::string(devname);
    if (action == "add") return BusEvent{BusEvent::Kind::Arrival, std::move(node)};
    if (action == "remove") return BusEvent{BusEvent::Kind::Removal, std::move(node)};
    return std::nullopt;
}

}  // namespace tarnlink
