// Junk in the bus folder and devices that misbehave: each is skipped or dropped, never a crash or hang.
#include "BusFixture.h"
#include "tarnlink/VirtualWire.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <fstream>
#include <thread>

namespace tarnlink::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

int bindSocket(const std::string& path, int type) {
    const int fd = ::socket(AF_UNIX, type | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0) << path;
    return fd;
}

// A listening socket that answers every connection with one fixed packet (none when empty), then
// hangs up at once or keeps the connection.
class RawDevice {
public:
    RawDevice(const std::string& path, Bytes firstPacket, bool hangUp)
        : listener_(bindSocket(path, SOCK_SEQPACKET)), stop_(::eventfd(0, EFD_CLOEXEC)),
          packet_(std::move(firstPacket)), hangUp_(hangUp) {
        ::listen(listener_, 8);
        thread_ = std::thread([this] { serve(); });
    }
    ~RawDevice() {
        const std::uint64_t one = 1;
        EXPECT_EQ(::write(stop_, &one, sizeof one), 8);
        thread_.join();
        for (const int fd : kept_) ::close(fd);
        ::close(listener_);
        ::close(stop_);
    }

private:
    void serve() {
        for (;;) {
            pollfd fds[2] = {{stop_, POLLIN, 0}, {listener_, POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0 || fds[0].revents) return;
            const int host = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (host < 0) continue;
            if (!packet_.empty()) ::send(host, packet_.data(), packet_.size(), MSG_NOSIGNAL);
            if (hangUp_) ::close(host);
            else kept_.push_back(host);
        }
    }
    int listener_;
    int stop_;
    Bytes packet_;
    bool hangUp_;
    std::vector<int> kept_;
    std::thread thread_;
};

Bytes describe(const Bytes& descriptor) { return encodeDeviceDescription(description(descriptor)); }

using BadDeviceTest = BusFixture;

TEST_F(BadDeviceTest, JunkAndBrokenDevicesAreSkippedAndTheGoodOneIsFound) {
    std::ofstream(bus_ + "/junk.txt") << "not a device";
    std::filesystem::create_directory(bus_ + "/folder");
    ::close(bindSocket(bus_ + "/stale", SOCK_SEQPACKET));  // nobody listens any more
    const int datagram = bindSocket(bus_ + "/datagram", SOCK_DGRAM);
    Bytes truncatedDescription = describe(kVendorDescriptor);
    truncatedDescription.resize(8);
    Bytes badMagic = describe(kVendorDescriptor);
    badMagic[0] = 'X';
    Bytes tooLongReports = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x96, 0xD0, 0x07,
                            0x09, 0x01, 0x81, 0x02, 0xC0};  // 2000-byte input: beyond the callback buffer
    std::vector<std::unique_ptr<RawDevice>> broken;
    broken.push_back(std::make_unique<RawDevice>(bus_ + "/hangs-up-at-once", Bytes{}, true));
    broken.push_back(std::make_unique<RawDevice>(bus_ + "/truncated", truncatedDescription, true));
    broken.push_back(std::make_unique<RawDevice>(bus_ + "/bad-magic", badMagic, false));
    broken.push_back(std::make_unique<RawDevice>(bus_ + "/hostile-descriptor", describe({0xA1, 0x01, 0xB4}), false));
    broken.push_back(std::make_unique<RawDevice>(bus_ + "/too-long", describe(tooLongReports), false));
    broken.push_back(std::make_unique<RawDevice>(bus_ + "/mute", Bytes{}, false));  // never describes itself
    auto good = plug("zz-good");

    EXPECT_EQ(openSlot(), 2);
    const auto notices = recorder_.notices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_TRUE(isAdded(notices[0], 1));
    ::close(datagram);
}

TEST_F(BadDeviceTest, DeviceThatHangsUpAfterDescribingItselfLeavesNothingBehind) {
    auto good = plug("good");
    ASSERT_EQ(openSlot(), 2);
    RawDevice quitter(bus_ + "/quitter", describe(kVendorDescriptor), true);
    // It may be added and then removed, or never added; either way it leaves the list.
    ASSERT_TRUE(eventually([&] {
        const auto n = recorder_.notices();
        const auto added = std::count_if(n.begin(), n.end(), [](const auto& s) { return s.event == 1; });
        const auto removed = std::count_if(n.begin(), n.end(), [](const auto& s) { return s.event == 0; });
        return added == removed + 1 && TarnWrite(2, "x", 1, 0) == 0;
    }));
    EXPECT_EQ(TarnWrite(1, "x", 1, 0), 1);
}

TEST_F(BadDeviceTest, WriteToADeviceThatWentAwayReturnsZero) {
    auto device = plug("controller");
    ASSERT_EQ(openSlot(), 2);
    device.reset();
    ASSERT_TRUE(recorder_.waitNoticeCount(2));
    EXPECT_EQ(TarnWrite(1, "x", 1, 0), 0);
}

TEST_F(BadDeviceTest, WriteToADeviceThatStopsReadingGivesUpInsteadOfHanging) {
    RawDevice deaf(bus_ + "/deaf", describe(kVendorDescriptor), false);  // never reads a report
    ASSERT_EQ(openSlot(), 2);
    const Bytes data(64, 0x5A);
    int accepted = 0;
    while (TarnWrite(1, data.data(), 64, 0) == 1) ASSERT_LT(++accepted, 100000) << "the socket never filled";
    EXPECT_GT(accepted, 0);
}

TEST_F(BadDeviceTest, ArrivalOfJunkWhileOpenIsIgnored) {
    ASSERT_EQ(openSlot(), 0);
    std::ofstream(bus_ + "/junk") << "x";
    std::ofstream(bus_ + "/power") << "neither";
    RawDevice broken(bus_ + "/broken", Bytes{1, 2, 3}, true);
    auto good = plug("good");
    ASSERT_TRUE(recorder_.waitNoticeCount(2));
    EXPECT_TRUE(isAdded(recorder_.notices()[1], 1));
}

TEST(VirtualWire, DescriptionRoundTripsAndMalformedPacketsAreRefused) {
    const DeviceDescription d = description(kKeyboardDescriptor, 0x4321);
    const Bytes packet = encodeDeviceDescription(d);
    const auto back = decodeDeviceDescription(packet);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->vendorId, d.vendorId);
    EXPECT_EQ(back->productId, d.productId);
    EXPECT_EQ(back->version, 0x4321);
    EXPECT_EQ(back->reportDescriptor, d.reportDescriptor);
    Bytes wrongVersion = packet;
    wrongVersion[4] = 9;
    for (const Bytes& bad : {Bytes(packet.begin(), packet.begin() + 11), wrongVersion, Bytes(kMaxPacketBytes + 1, 0)})
        EXPECT_FALSE(decodeDeviceDescription(bad));
}

}  // namespace
}  // namespace tarnlink::test
