#include "CompanionNotifier.h"

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(const std::array<std::uint8_t, platform::kCompanionNoticeSize>& notice) {
    return Bytes(notice.begin(), notice.end());
}

TEST(CompanionNotice, ThreeLittleEndian64BitFields) {
    struct Case {
        std::uint32_t message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
        Bytes bytes;
    };
    const Case cases[] = {
        {2929, 0, 1, {0x71, 0x0B, 0, 0, 0, 0, 0, 0, /**/ 0, 0, 0, 0, 0, 0, 0, 0, /**/ 1, 0, 0, 0, 0, 0, 0, 0}},
        {2929, 0, 0, {0x71, 0x0B, 0, 0, 0, 0, 0, 0, /**/ 0, 0, 0, 0, 0, 0, 0, 0, /**/ 0, 0, 0, 0, 0, 0, 0, 0}},
        {0xFFFFFFFF, 0x0102030405060708, -2,
         {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, /**/ 8, 7, 6, 5, 4, 3, 2, 1, /**/
          0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {0, UINTPTR_MAX, INTPTR_MIN,
         {0, 0, 0, 0, 0, 0, 0, 0, /**/ 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, /**/
          0, 0, 0, 0, 0, 0, 0, 0x80}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToBytes(platform::EncodeCompanionNotice(c.message, c.wParam, c.lParam)), c.bytes)
            << c.message << " " << c.wParam << " " << c.lParam;
    }
}

// A companion standing by on its socket in a private runtime folder.
class CompanionNotifierTest : public testing::Test {
protected:
    void SetUp() override { environment_.Set("XDG_RUNTIME_DIR", runtime_.Path()); }
    void TearDown() override {
        if (socket_ >= 0) {
            close(socket_);
        }
    }

    void Listen() {
        socket_ = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        ASSERT_GE(socket_, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = runtime_.File(std::string(platform::kCompanionSocketName));
        ASSERT_LT(path.size(), sizeof(address.sun_path));
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        ASSERT_EQ(bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0) << strerror(errno);
    }

    // The next datagram, or nothing within a generous time.
    Bytes Receive() {
        pollfd ready{socket_, POLLIN, 0};
        if (poll(&ready, 1, 10000) != 1) {
            return {};
        }
        Bytes datagram(256);
        const ssize_t size = recv(socket_, datagram.data(), datagram.size(), MSG_DONTWAIT);
        datagram.resize(size < 0 ? 0 : static_cast<size_t>(size));
        return datagram;
    }

    platform_test::TemporaryFolder runtime_;
    platform_test::ScopedEnvironment environment_;
    int socket_ = -1;
};

TEST_F(CompanionNotifierTest, TheListeningCompanionReceivesEachNotice) {
    Listen();
    EXPECT_TRUE(platform::NotifyCompanion(platform::kCompanionSocketName, platform::kCompanionMessage, 0, 1));
    EXPECT_TRUE(platform::NotifyCompanion(platform::kCompanionSocketName, platform::kCompanionMessage, 0, 0));
    EXPECT_EQ(Receive(), ToBytes(platform::EncodeCompanionNotice(2929, 0, 1)));
    EXPECT_EQ(Receive(), ToBytes(platform::EncodeCompanionNotice(2929, 0, 0)));
}

TEST_F(CompanionNotifierTest, WithoutAListenerNothingIsSentAndNothingFails) {
    EXPECT_FALSE(platform::NotifyCompanion(platform::kCompanionSocketName, 2929, 0, 1));  // no socket

    Listen();  // a socket file left behind by a companion that has gone
    close(socket_);
    socket_ = -1;
    EXPECT_FALSE(platform::NotifyCompanion(platform::kCompanionSocketName, 2929, 0, 0));

    for (const std::string_view name : {std::string_view{""}, std::string_view{"../x"}, std::string_view{".."}}) {
        EXPECT_FALSE(platform::NotifyCompanion(name, 2929, 0, 0)) << '"' << name << '"';
    }
    // A folder too long for a socket address.
    environment_.Set("XDG_RUNTIME_DIR", runtime_.Path() + "/" + std::string(120, 'd'));
    EXPECT_FALSE(platform::NotifyCompanion(platform::kCompanionSocketName, 2929, 0, 0));
}

TEST_F(CompanionNotifierTest, ACompanionThatDoesNotReadNeverBlocksTheSender) {
    Listen();
    // Nobody reads, so the socket's queue fills; from then on notices are dropped instead of waited on.
    int sent = 0;
    bool dropped = false;
    for (int attempt = 0; attempt < 100000 && !dropped; ++attempt) {
        if (platform::NotifyCompanion(platform::kCompanionSocketName, 2929, 0, attempt)) {
            ++sent;
        } else {
            dropped = true;
        }
    }
    EXPECT_TRUE(dropped);
    EXPECT_GT(sent, 0);
    EXPECT_EQ(Receive(), ToBytes(platform::EncodeCompanionNotice(2929, 0, 0)));  // the first is intact
}

}  // namespace
