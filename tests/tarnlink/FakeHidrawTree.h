// Test support: a made-up hidraw tree (the sysfs class folder with each node's HID uevent, and the
// device folder with a regular file per node standing for the node), laid out as under "/", so that
// TARNLINK_HIDRAW_ROOT or a HidrawTree can point at it. Everything is readable by every user, except
// the nodes given mode 0: opening those for writing fails with EACCES for any user but root.
#pragma once

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace tarnlink_test {

class FakeHidrawTree {
public:
    FakeHidrawTree() {
        char pattern[] = "/tmp/hidraw-tree-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) ADD_FAILURE() << "mkdtemp failed";
        root_ = pattern;
        ::chmod(root_.c_str(), 0755);  // an unprivileged user must find its way in
        std::filesystem::create_directories(classFolder());
        std::filesystem::create_directories(deviceFolder());
    }
    ~FakeHidrawTree() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    FakeHidrawTree(const FakeHidrawTree&) = delete;
    FakeHidrawTree& operator=(const FakeHidrawTree&) = delete;

    const std::string& root() const { return root_; }
    std::string classFolder() const { return root_ + "/sys/class/hidraw"; }
    std::string deviceFolder() const { return root_ + "/dev"; }
    std::string node(const std::string& name) const { return deviceFolder() + "/" + name; }

    // A node `name` of a USB HID device with these ids; `mode` 0 makes it unusable to anyone but root,
    // a negative mode leaves the node out (listed in sysfs, gone from the device folder).
    void add(const std::string& name, std::uint16_t vendorId, std::uint16_t productId, int mode) {
        const auto device = std::filesystem::path(classFolder()) / name / "device";
        std::filesystem::create_directories(device);
        char id[64];
        std::snprintf(id, sizeof id, "HID_ID=0003:%08X:%08X", vendorId, productId);
        std::ofstream(device / "uevent") << "DRIVER=hid-generic\n" << id << "\nHID_NAME=Test\n";
        if (mode < 0) return;
        std::ofstream(node(name)) << "";
        ::chmod(node(name).c_str(), static_cast<mode_t>(mode));
    }

private:
    std::string root_;
};

// The command prefix that runs a program as an unprivileged user: root is not refused by file modes,
// so a root test drops to "nobody" (setpriv from util-linux); other users run it as they are.
inline std::string unprivilegedPrefix() {
    return ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
}

}  // namespace tarnlink_test
