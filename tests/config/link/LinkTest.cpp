// The controller link against scripted devices on the virtual bus: opening, plug messages, SetData's
// reply matching and time-out, event reports, several devices, and the boot-loader link.
#include "DebugOutput.h"
#include "IAP_CUSBDriver.h"
#include "LinkTestSupport.h"
#include "StandardErrorCapture.h"

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>

namespace config_test {
namespace {

using config::CUSBDriver;
using config::WM_DEVICE_EVENT;
using config::WM_DEVICE_PLUG;
using platform_test::StandardErrorCapture;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(LinkFixture, StartUpWithoutControllerPostsClosedAndEveryCommandFailsAtOnce) {
    config::g_debugLog = true;
    CUSBDriver& link = MakeLink();
    EXPECT_FALSE(link.OpenDevice());
    EXPECT_FALSE(link.IsOpen());
    // The all-zero notice of the enumeration was handled inside OpenDevice.
    QCoreApplication::processEvents();
    EXPECT_EQ(owner_.messages, (std::vector<Message>{{WM_DEVICE_PLUG, 0, 0}}));

    // Every command tests the open indicator first: no exchange, outputs untouched.
    std::array<std::uint8_t, 64> full;
    full.fill(0xAB);
    std::array<std::uint8_t, 60> sixty;
    sixty.fill(0xAB);
    std::array<std::uint8_t, 520> block;
    block.fill(0xAB);
    std::array<std::uint8_t, 20> twenty{};
    std::array<std::uint8_t, 48> colors{};
    std::array<std::uint8_t, 18> list{};
    std::array<std::uint8_t, 11> active{};
    std::uint8_t profile = 7;
    std::uint16_t index = 9;
    const int results[] = {
        link.GetDeviceInfo(), link.GetInfoRecord(1, twenty), link.GetStatus(twenty), link.SetMode(1),
        link.SetEventConfig(0x01000001, 1), link.ResetProfile(), link.StoreSettings(), link.SelectProfile(1),
        link.GetProfile(profile), link.SetProfileBlock(0, block), link.GetProfileBlock(0, block),
        link.SetActiveEffect(1), link.GetActiveEffect(active), link.SetEffectList(list), link.GetEffectList(list),
        link.SetEffectParams(0, sixty), link.GetEffectParams(0, sixty), link.SetColorMode(0), link.SetLayerMap(sixty),
        link.GetLayerMap(sixty), link.SetLedColors(0, colors), link.GetLedColors(0, colors),
        link.SetConversionTable(0, sixty), link.GetConversionTable(sixty), link.SetPwmConfig(sixty),
        link.GetPwmConfig(sixty), link.GetFWInfo(full), link.GetAPIndex(index), link.GetInfoPage(0, sixty)};
    for (const int result : results) {
        EXPECT_EQ(result, 1);
    }
    EXPECT_EQ(profile, 7);
    EXPECT_EQ(index, 9);
    EXPECT_TRUE(std::all_of(full.begin(), full.end(), [](auto b) { return b == 0xAB; }));
    EXPECT_TRUE(std::all_of(sixty.begin(), sixty.end(), [](auto b) { return b == 0xAB; }));
    EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](auto b) { return b == 0xAB; }));
    EXPECT_EQ(LogMessages(), (std::vector<std::string>{"Open USB Driver"}));

    // SetData itself writes nothing, waits out the reply time and leaves the command in place.
    CommandReport command = Command(0x40, 0x63);
    EXPECT_EQ(link.SetData(command), 1);
    EXPECT_EQ(command, Command(0x40, 0x63));
    EXPECT_EQ(LogMessages(), (std::vector<std::string>{"Open USB Driver", "SetData Out: cmd:40, Key:63, Index:0, Data:0",
                                                       "SetData Error ...Error "}));
}

TEST_F(LinkFixture, PlugMessagesFollowArrivalRemovalAndReturn) {
    // The notices' trace lines reach standard error while debugging is on.
    platform::SetDebugOutput(true);
    auto controller = Plug("controller");
    CUSBDriver& link = MakeLink();
    StandardErrorCapture capture(folder_.File("stderr"));
    ASSERT_TRUE(link.OpenDevice());
    EXPECT_TRUE(link.IsOpen());
    ASSERT_EQ(link.Devices().size(), 1u);
    const _DEVICE_STATE device = link.Devices()[0];
    EXPECT_EQ(device.vendorId, 0x2516);
    EXPECT_EQ(device.productId, 0x004F);
    EXPECT_EQ(device.usagePage, 0xFF00);
    // Posted before OpenDevice returned: one pass of the event loop delivers it.
    QCoreApplication::processEvents();
    EXPECT_EQ(owner_.messages, (std::vector<Message>{{WM_DEVICE_PLUG, 0, 1}}));

    controller->Unplug();
    ASSERT_TRUE(WaitUntil([&] { return owner_.messages.size() == 2; }));
    EXPECT_EQ(owner_.messages[1], (Message{WM_DEVICE_PLUG, 0, 0}));
    EXPECT_FALSE(link.IsOpen());
    EXPECT_TRUE(link.Devices().empty());

    controller = Plug("controller");
    ASSERT_TRUE(WaitUntil([&] { return owner_.messages.size() == 3; }));
    EXPECT_EQ(owner_.messages[2], (Message{WM_DEVICE_PLUG, 0, 1}));
    EXPECT_TRUE(link.IsOpen());
    CommandReport command = Command(0x40, 0x63);
    EXPECT_EQ(link.SetData(command), 0);
    EXPECT_FALSE(std::filesystem::exists(config::DebugLogFilePath())) << "the debug switch is off";

    const std::string errorText = capture.Stop();
    char expected[128];
    std::snprintf(expected, sizeof expected, "MONITOROPEN:dwDeviceID=%x,usage:0x1,uagePage:0xff00\n",
                  device.deviceNumber);
    EXPECT_TRUE(Contains(errorText, expected)) << errorText;
    std::snprintf(expected, sizeof expected, "MONITORCLOSE:dwDeviceID=%x,usage:0x1,uagePage:0xff00\n",
                  device.deviceNumber);
    EXPECT_TRUE(Contains(errorText, expected)) << errorText;
    platform::SetDebugOutput(false);
}

TEST_F(LinkFixture, ReplyMatchesOnTheFirstFourBytesWhateverFollows) {
    config::g_debugLog = true;
    auto controller = Plug("controller");
    controller->SetAnswer([](const CommandReport& command) {
        CommandReport reply = ReplyTo(command, {0xAA, 0xBB});
        reply[63] = 0x5A;
        return std::vector<CommandReport>{reply};
    });
    CUSBDriver& link = MakeLink();
    ASSERT_TRUE(link.OpenDevice());

    CommandReport command = Command(0x40, 0x63, 0x0201, {0x11, 0x22, 0x33});
    ASSERT_EQ(link.SetData(command), 0);
    CommandReport expected = ReplyTo(Command(0x40, 0x63, 0x0201), {0xAA, 0xBB});
    expected[63] = 0x5A;
    EXPECT_EQ(command, expected);
    EXPECT_EQ(controller->Commands(), (std::vector<CommandReport>{Command(0x40, 0x63, 0x0201, {0x11, 0x22, 0x33})}));
    EXPECT_EQ(LogMessages(),
              (std::vector<std::string>{"Open USB Driver", "SetData Out: cmd:40, Key:63, Index:201, Data:11",
                                        "SetData In: cmd:40, Key:63, Index:201, Data:aa"}));
}

TEST_F(LinkFixture, LateRepliesSatisfyOnlyALaterCommandWithTheSameHead) {
    auto controller = Plug("controller");
    CUSBDriver& link = MakeLink();
    ASSERT_TRUE(link.OpenDevice());
    const CommandReport first = Command(0x52, 0x29);
    const CommandReport second = Command(0x52, 0x28);

    // A reply to another command arriving first is not taken; the command's own reply is.
    controller->SetAnswer([&](const CommandReport& command) {
        return std::vector<CommandReport>{ReplyTo(first, {0xEE}), ReplyTo(command, {0x01})};
    });
    CommandReport command = second;
    ASSERT_EQ(link.SetData(command), 0);
    EXPECT_EQ(command, ReplyTo(second, {0x01}));

    // A report that repeats group and key but not the index is no reply: time-out, command kept.
    controller->SetAnswer([](const CommandReport& c) {
        CommandReport other = c;
        other[3] = 0x01;
        return std::vector<CommandReport>{other};
    });
    command = first;
    EXPECT_EQ(link.SetData(command), 1);
    EXPECT_EQ(command, first);

    // The reply to `first` comes late, after the time-out; a marker event report behind it shows it
    // has been handled. The next command with the same head resets the event before it writes, so the
    // late reply does not answer it.
    controller->Silence();
    ASSERT_TRUE(controller->Send(ReplyTo(first, {0xEE})));
    ASSERT_TRUE(controller->Send(Command(0x42, 0x20, 0, {0x77})));
    ASSERT_TRUE(WaitUntil([&] { return owner_.Count(WM_DEVICE_EVENT) == 1; }));
    command = first;
    EXPECT_EQ(link.SetData(command), 1);
    EXPECT_EQ(command, first);
}

TEST_F(LinkFixture, EventReportsBecomeDeviceEventMessages) {
    auto controller = Plug("controller");
    CUSBDriver& link = MakeLink();
    ASSERT_TRUE(link.OpenDevice());
    QCoreApplication::processEvents();
    owner_.messages.clear();
    const std::intptr_t open = link.OpenIndicator();
    ASSERT_NE(open, 0);

    struct Case {
        std::uint16_t index;
        std::uint8_t byte4, byte7, byte8;
        bool posts;
        std::uintptr_t wParam;
    };
    const Case cases[] = {
        {0x0000, 0x05, 0, 0, true, 0x05},  {0x0000, 0, 0, 0, false, 0},     {0x0000, 0, 0x01, 0, true, 0},
        {0x0000, 0, 0, 0x01, true, 0},     {0x0040, 0x09, 0, 0, true, 0},   {0x0041, 0x09, 0x01, 0x01, false, 0},
        {0x4000, 0x03, 0, 0, false, 0},
    };
    constexpr std::uint8_t kMarker = 0x7E;
    for (const Case& c : cases) {
        CommandReport report = Command(0x42, 0x20, c.index);
        report[4] = c.byte4;
        report[7] = c.byte7;
        report[8] = c.byte8;
        owner_.messages.clear();
        ASSERT_TRUE(controller->Send(report));
        ASSERT_TRUE(controller->Send(Command(0x42, 0x20, 0, {kMarker})));
        ASSERT_TRUE(WaitUntil([&] { return !owner_.messages.empty() && owner_.messages.back().wParam == kMarker; }));
        std::vector<Message> expected;
        if (c.posts) expected.push_back({WM_DEVICE_EVENT, c.wParam, open});
        expected.push_back({WM_DEVICE_EVENT, kMarker, open});
        EXPECT_EQ(owner_.messages, expected) << "index " << c.index << " byte 4 " << int(c.byte4);
    }

    // Other reports, and reports of another length than 65, are dropped.
    owner_.messages.clear();
    ASSERT_TRUE(controller->Send(Command(0x43, 0x20, 0, {0x05})));
    std::array<std::uint8_t, 66> longReport{};
    longReport[1] = 0x42;
    longReport[2] = 0x20;
    longReport[5] = 0x05;
    CUSBDriver::HandleReport(&link, longReport.data(), 66);
    CUSBDriver::HandleReport(&link, longReport.data(), 64);
    ASSERT_TRUE(controller->Send(Command(0x42, 0x20, 0, {kMarker})));
    ASSERT_TRUE(WaitUntil([&] { return !owner_.messages.empty(); }));
    EXPECT_EQ(owner_.messages, (std::vector<Message>{{WM_DEVICE_EVENT, kMarker, open}}));
}

TEST_F(LinkFixture, CommandsGoToTheRemainingDeviceWhenOneOfTwoIsRemoved) {
    auto first = Plug("first");
    CUSBDriver& link = MakeLink();
    ASSERT_TRUE(link.OpenDevice());
    auto second = Plug("second");
    ASSERT_TRUE(WaitUntil([&] { return link.Devices().size() == 2 && owner_.messages.size() == 2; }));
    EXPECT_EQ(owner_.messages, (std::vector<Message>{{WM_DEVICE_PLUG, 0, 1}, {WM_DEVICE_PLUG, 0, 1}}));

    // The first listed device on the vendor page takes the commands.
    CommandReport command = Command(0x40, 0x63);
    ASSERT_EQ(link.SetData(command), 0);
    EXPECT_EQ(first->Commands().size(), 1u);
    EXPECT_TRUE(second->Commands().empty());

    first->Unplug();
    ASSERT_TRUE(WaitUntil([&] { return link.Devices().size() == 1; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(owner_.messages.size(), 2u) << "removing one of two devices posts nothing";
    EXPECT_TRUE(link.IsOpen());
    command = Command(0x40, 0x63);
    ASSERT_EQ(link.SetData(command), 0);
    EXPECT_EQ(second->Commands().size(), 1u);

    second->Unplug();
    ASSERT_TRUE(WaitUntil([&] { return owner_.messages.size() == 3; }));
    EXPECT_EQ(owner_.messages.back(), (Message{WM_DEVICE_PLUG, 0, 0}));
}

TEST_F(LinkFixture, OpeningAgainListsEachDeviceOnce) {
    auto controller = Plug("controller");
    CUSBDriver& link = MakeLink();
    ASSERT_TRUE(link.OpenDevice());
    ASSERT_TRUE(link.OpenDevice());
    ASSERT_EQ(link.Devices().size(), 1u);
    CommandReport command = Command(0x40, 0x63);
    EXPECT_EQ(link.SetData(command), 0);
}

TEST_F(LinkFixture, BootLoaderLinkWatchesSlotOneForItsOwnProduct) {
    auto controller = Plug("controller");
    auto bootLoader = Plug("bootloader", config::IAP_CUSBDriver::kBootLoaderProductId);
    bootLoader->SetAnswer([](const CommandReport& command) { return std::vector<CommandReport>{ReplyTo(command, {0x42})}; });
    CUSBDriver& link = MakeLink();
    auto& bootLink = MakeLink<config::IAP_CUSBDriver>();
    ASSERT_TRUE(link.OpenDevice());
    ASSERT_TRUE(bootLink.OpenDevice());
    EXPECT_EQ(bootLink.Slot(), 1);
    ASSERT_EQ(bootLink.Devices().size(), 1u);
    EXPECT_EQ(bootLink.Devices()[0].productId, 0x0050);
    ASSERT_EQ(link.Devices().size(), 1u);
    EXPECT_EQ(link.Devices()[0].productId, 0x004F);
    QCoreApplication::processEvents();
    EXPECT_EQ(owner_.messages, (std::vector<Message>{{WM_DEVICE_PLUG, 0, 1}, {WM_DEVICE_PLUG, 1, 1}}));

    // Each link gets the replies of its own device through its own report callback.
    CommandReport command = Command(0x12, 0x00);
    ASSERT_EQ(bootLink.SetData(command), 0);
    EXPECT_EQ(command, ReplyTo(Command(0x12, 0x00), {0x42}));
    command = Command(0x12, 0x00);
    ASSERT_EQ(link.SetData(command), 0);
    EXPECT_EQ(command, Command(0x12, 0x00));
    EXPECT_EQ(bootLoader->Commands().size(), 1u);
    EXPECT_EQ(controller->Commands().size(), 1u);

    bootLoader->Unplug();
    ASSERT_TRUE(WaitUntil([&] { return owner_.messages.size() == 3; }));
    EXPECT_EQ(owner_.messages.back(), (Message{WM_DEVICE_PLUG, 1, 0}));
    EXPECT_TRUE(link.IsOpen());
}

// The program's way: the link bound to libtarnlink.so through its ordinal table, on a real exchange.
TEST_F(LinkFixture, LinkRunsOnTheSharedLibraryBoundByOrdinal) {
    void* library = ::dlopen(TARNLINK_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << ::dlerror();
    const auto lookup = reinterpret_cast<config::TarnOrdinalLookup>(::dlsym(library, "TarnGetProcByOrdinal"));
    const auto shared = config::BindTarnlinkByOrdinal(lookup);
    ASSERT_TRUE(shared.has_value());
    EXPECT_NE(shared->write, &TarnWrite) << "bound to the shared library, not the static copy";
    {
        auto controller = Plug("controller");
        controller->SetAnswer([](const CommandReport& c) { return std::vector<CommandReport>{ReplyTo(c, {0x33})}; });
        CUSBDriver link(*shared);
        link.SetOwnerWindow(&owner_);
        ASSERT_TRUE(link.OpenDevice());
        CommandReport command = Command(0x40, 0x63);
        ASSERT_EQ(link.SetData(command), 0);
        EXPECT_EQ(command, ReplyTo(Command(0x40, 0x63), {0x33}));
    }
    ::dlclose(library);
}

TEST(TarnlinkBinding, BindsAllSixOperationsOrNone) {
    const auto api = config::BindTarnlinkByOrdinal(&TarnGetProcByOrdinal);
    ASSERT_TRUE(api.has_value());
    EXPECT_EQ(api->open, &TarnOpen);
    EXPECT_EQ(api->close, &TarnClose);
    EXPECT_EQ(api->setFilter, &TarnSetFilter);
    EXPECT_EQ(api->setReportCallback, &TarnSetReportCallback);
    EXPECT_EQ(api->write, &TarnWrite);
    EXPECT_EQ(api->getVersion, &TarnGetVersion);

    EXPECT_FALSE(config::BindTarnlinkByOrdinal(nullptr).has_value());
    // A library without the write operation cannot serve a link.
    const config::TarnOrdinalLookup withoutWrite = [](std::uint32_t ordinal) {
        return ordinal == 6 ? nullptr : TarnGetProcByOrdinal(ordinal);
    };
    EXPECT_FALSE(config::BindTarnlinkByOrdinal(withoutWrite).has_value());
}

}  // namespace
}  // namespace config_test
