// Test support for the controller links: a private virtual bus and desktop folder per test, an owner
// that records the window messages it receives, and scripted controllers on the bus that record the
// commands they get and answer them as the test says.
#pragma once

#include "CUSBDriver.h"
#include "DebugLog.h"
#include "LinkMessages.h"
#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"
#include "TestDescriptors.h"
#include "WindowMessage.h"
#include "tarnlink/VirtualDevice.h"
#include "tarnlink/tarnlink.h"

#include <QCoreApplication>
#include <QObject>

#include <array>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace config_test {

using config::CommandReport;

// Generous: the machine is shared and slow under sanitizers. Only failures wait this long.
inline constexpr auto kDeadline = std::chrono::seconds(20);

// Runs the event loop until `condition` holds; false after the deadline.
inline bool WaitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    for (;;) {
        QCoreApplication::processEvents();
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

struct Message {
    std::uint32_t number;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool operator==(const Message&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Message& m) {
    return out << "{" << m.number << ", " << m.wParam << ", " << m.lParam << "}";
}

// The owner window: records every window message posted to it, in order of arrival.
class MessageRecorder : public QObject {
public:
    std::vector<Message> messages;

    std::size_t Count(std::uint32_t number) const {
        std::size_t n = 0;
        for (const Message& m : messages) n += m.number == number ? 1 : 0;
        return n;
    }

protected:
    bool event(QEvent* e) override {
        if (auto* message = platform::AsWindowMessage(e)) {
            messages.push_back({message->Message(), message->WParam(), message->LParam()});
            return true;
        }
        return QObject::event(e);
    }
};

// A command as the controller should receive it: group, key, index, data, zero-filled.
inline CommandReport Command(std::uint8_t command, std::uint8_t key, std::uint16_t index = 0,
                             std::vector<std::uint8_t> data = {}) {
    CommandReport report = config::MakeCommand(command, key, index);
    std::copy(data.begin(), data.end(), report.begin() + config::kReportDataOffset);
    return report;
}

// The reply to a command: its first four bytes, then the given data, zero-filled.
inline CommandReport ReplyTo(const CommandReport& command, std::vector<std::uint8_t> data = {}) {
    CommandReport reply{};
    std::copy_n(command.begin(), 4, reply.begin());
    std::copy(data.begin(), data.end(), reply.begin() + config::kReportDataOffset);
    return reply;
}

// Five 12-byte effect-parameter entries, one row each, as the 60 bytes the effect commands carry.
using EffectEntryRows = std::array<std::array<std::uint8_t, 12>, 5>;
inline std::array<std::uint8_t, 60> JoinEntries(const EffectEntryRows& rows) {
    std::array<std::uint8_t, 60> bytes{};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::copy(rows[i].begin(), rows[i].end(), bytes.begin() + static_cast<std::ptrdiff_t>(12 * i));
    }
    return bytes;
}

// A device on the virtual bus that records every command and sends the reports that `answer` gives.
// The default answer repeats the command as its reply.
class ScriptedController {
public:
    using Answer = std::function<std::vector<CommandReport>(const CommandReport& command)>;

    ScriptedController(const std::string& bus, const std::string& name, std::uint16_t productId = 0x004F) {
        const tarnlink::DeviceDescription description{0x2516, productId, 0x0100, tarnlink::test::kVendorDescriptor};
        device_ = tarnlink::VirtualDevice::publish(
            bus, name, description, [this](tarnlink::VirtualDevice& device, std::span<const std::uint8_t> report) {
                OnCommand(device, report);
            });
        EXPECT_TRUE(device_) << name;
    }

    void SetAnswer(Answer answer) {
        std::lock_guard lock(mutex_);
        answer_ = std::move(answer);
    }
    // Answers with nothing: every command goes unanswered.
    void Silence() {
        SetAnswer([](const CommandReport&) { return std::vector<CommandReport>{}; });
    }

    std::vector<CommandReport> Commands() const {
        std::lock_guard lock(mutex_);
        return commands_;
    }
    void ClearCommands() {
        std::lock_guard lock(mutex_);
        commands_.clear();
    }

    // Sends an input report of its own (an event report, a late reply).
    bool Send(const CommandReport& report) { return device_->sendReport(report); }

    // Unplugs the device.
    void Unplug() { device_.reset(); }

private:
    void OnCommand(tarnlink::VirtualDevice& device, std::span<const std::uint8_t> report) {
        CommandReport command{};
        std::copy_n(report.begin(), std::min(report.size(), command.size()), command.begin());
        std::vector<CommandReport> replies;
        {
            std::lock_guard lock(mutex_);
            commands_.push_back(command);
            replies = answer_ ? answer_(command) : std::vector<CommandReport>{command};
        }
        for (const CommandReport& reply : replies) {
            device.sendReport(reply);
        }
    }

    mutable std::mutex mutex_;
    Answer answer_;
    std::vector<CommandReport> commands_;
    std::unique_ptr<tarnlink::VirtualDevice> device_;
};

// A private bus folder ($TARNLINK_BUS) and desktop folder ($XDG_DESKTOP_DIR) per test, the debug
// switch off, an owner window, and the library bound through its ordinal table.
class LinkFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(bus_);
        environment_.Set("TARNLINK_BUS", bus_);
        environment_.Set("XDG_DESKTOP_DIR", folder_.File("Desktop"));
        environment_.Set("HOME", folder_.Path());
        config::g_debugLog = false;
        const auto api = config::BindTarnlinkByOrdinal(&TarnGetProcByOrdinal);
        ASSERT_TRUE(api.has_value());
        api_ = *api;
    }
    void TearDown() override { config::g_debugLog = false; }

    // A link of type Link with the recorder as owner; destroyed (and its slot closed) with the test.
    template <typename Link = config::CUSBDriver>
    Link& MakeLink() {
        auto link = std::make_unique<Link>(api_);
        link->SetOwnerWindow(&owner_);
        Link& reference = *link;
        links_.push_back(std::move(link));
        return reference;
    }

    std::unique_ptr<ScriptedController> Plug(const std::string& name, std::uint16_t productId = 0x004F) {
        return std::make_unique<ScriptedController>(bus_, name, productId);
    }

    // The debug log's lines, decoded from UTF-16LE, without stamps and line ends.
    std::vector<std::string> LogMessages() const {
        const std::string bytes = platform_test::ReadFileText(config::DebugLogFilePath());
        std::vector<std::string> lines;
        std::string line;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {  // after the byte-order mark; ASCII text
            const char c = bytes[i];
            if (c == '\n') {
                lines.push_back(line.substr(12, line.size() - 13));  // stamp "MM/DD HH:MM " and CR
                line.clear();
            } else {
                line += c;
            }
        }
        return lines;
    }

    platform_test::TemporaryFolder folder_;
    std::string bus_ = folder_.File("bus");
    platform_test::ScopedEnvironment environment_;
    config::TarnlinkApi api_;
    MessageRecorder owner_;
    std::vector<std::unique_ptr<config::CUSBDriver>> links_;
};

}  // namespace config_test
