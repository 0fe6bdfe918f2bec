#include "HidrawAccess.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tarnlink {

namespace {

bool isController(std::uint16_t vendorId, std::uint16_t productId) {
    return vendorId == kControllerVendorId && (productId == kControllerProductId || productId == kBootLoaderProductId);
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

HidrawTree systemHidrawTree() {
    const char* root = std::getenv("TARNLINK_HIDRAW_ROOT");
    if (root == nullptr || *root == '\0') return {};
    const std::string base(root);
    return {base + "/sys/class/hidraw", base + "/dev"};
}

bool parseHidIdentity(const std::string& ueventText, std::uint16_t& vendorId, std::uint16_t& productId) {
    std::istringstream lines(ueventText);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.starts_with("HID_ID=")) continue;
        // HID_ID=0003:00002516:0000004F (bus, vendor, product in hexadecimal)
        unsigned bus = 0;
        unsigned long vendor = 0;
        unsigned long product = 0;
        char colon1 = 0;
        char colon2 = 0;
        std::istringstream fields(line.substr(7));
        fields >> std::hex >> bus >> colon1 >> vendor >> colon2 >> product;
        if (!fields || colon1 != ':' || colon2 != ':' || vendor > 0xFFFF || product > 0xFFFF) return false;
        vendorId = static_cast<std::uint16_t>(vendor);
        productId = static_cast<std::uint16_t>(product);
        return true;
    }
    return false;
}

std::vector<DeniedController> findDeniedControllers(const HidrawTree& tree) {
    std::vector<DeniedController> denied;
    std::error_code error;
    for (std::filesystem::directory_iterator it(tree.classFolder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name.front() == '.') continue;
        std::uint16_t vendorId = 0;
        std::uint16_t productId = 0;
        if (!parseHidIdentity(readFile(it->path() / "device" / "uevent"), vendorId, productId) ||
            !isController(vendorId, productId))
            continue;
        const std::string node = tree.deviceFolder + "/" + name;
        // The same open as the hidraw backend's, so the answer is the one the backend got.
        const int fd = ::open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            ::close(fd);
            continue;
        }
        if (errno == EACCES || errno == EPERM) denied.push_back({node, vendorId, productId, errno});
    }
    std::sort(denied.begin(), denied.end(), [](const auto& a, const auto& b) { return a.node < b.node; });
    return denied;
}

}  // namespace tarnlink
