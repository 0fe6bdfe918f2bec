// The LED page on the generated skin, hosted in a plain window, on a link to a virtual controller on a
// private bus. Every report the link writes is recorded at the device library's write, so a test sees
// the commands the controller received, in order, by name.
#pragma once

#include "LedDlg.h"
#include "LinkTestSupport.h"
#include "SkinDocuments.h"

#include "simulator/VirtualController.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace ledpage_test {

inline std::mutex g_writesMutex;
inline std::vector<config::CommandReport> g_writes;

inline std::int32_t RecordingWrite(std::int32_t device, const void* data, std::int32_t length, std::int32_t slot) {
    if (data != nullptr && length >= 4) {
        config::CommandReport report{};
        std::copy_n(static_cast<const std::uint8_t*>(data), std::min<std::size_t>(report.size(), length),
                    report.begin());
        std::lock_guard lock(g_writesMutex);
        g_writes.push_back(report);
    }
    return TarnWrite(device, data, length, slot);
}

// A command by name, with the parameters the page's sequences differ in.
inline std::string Describe(const config::CommandReport& r) {
    const std::uint8_t d0 = r[4];
    const int index = r[2] | r[3] << 8;
    char text[64];
    if (r[0] == 0x41) {
        std::snprintf(text, sizeof text, "SetMode(%d)", r[1]);
        return text;
    }
    switch (r[0] << 8 | r[1]) {
    case 0x5128: std::snprintf(text, sizeof text, "SetActiveEffect(%d)", d0); break;
    case 0x512C: std::snprintf(text, sizeof text, "SetEffectParams(%d,%d)", index, d0); break;
    case 0x5130: std::snprintf(text, sizeof text, "SetColorMode(%d)", d0); break;
    case 0x51A8: std::snprintf(text, sizeof text, "SetLedColors"); break;
    case 0x51A0: std::snprintf(text, sizeof text, "SetLayerMap"); break;
    case 0x5100: std::snprintf(text, sizeof text, "SelectProfile(%d)", d0); break;
    case 0x5200: std::snprintf(text, sizeof text, "GetProfile"); break;
    case 0x5101: std::snprintf(text, sizeof text, "SetProfileBlock(%d)", index); break;
    case 0x5055: std::snprintf(text, sizeof text, "StoreSettings"); break;
    case 0x5171: std::snprintf(text, sizeof text, "SetPwmConfig"); break;
    case 0x5170: std::snprintf(text, sizeof text, "SetConversionTable"); break;
    default: std::snprintf(text, sizeof text, "%02X %02X %d", r[0], r[1], index);
    }
    return text;
}

// The frequencies the page hands to the table generator, in place of the generator.
class RecordingTables final : public config::FrequencyTableSender {
public:
    void ApplyFrequencies(const std::array<int, 6>& hertz) override { calls.push_back(hertz); }
    std::vector<std::array<int, 6>> calls;
};

class LedPageFixture : public config_test::LinkFixture {
protected:
    static constexpr const char* kResolution = "1920x1080";

    void SetUp() override {
        LinkFixture::SetUp();
        skindocs::LoadSkinDocuments(SKIN_PROGRAM_DIR, kResolution);
        simulator::ControllerOptions options;
        options.busFolder = bus_;
        auto started = simulator::VirtualController::start(options);
        ASSERT_TRUE(started.controller) << started.error;
        controller_ = std::move(started.controller);
        api_.write = &RecordingWrite;
        link_ = &MakeLink();
        ASSERT_TRUE(link_->OpenDevice());
        ASSERT_EQ(link_->GetDeviceInfo(), 0);
        working_.profiles[0].Reset();
        saved_ = working_;
    }

    void TearDown() override {
        page_.reset();
        host_.reset();
        links_.clear();
        controller_.reset();
        skindocs::ResetSkinDocuments();
        LinkFixture::TearDown();
    }

public:
    // Builds the page at `resolution` in a shown host window; with `recordTables` the frequencies go
    // to tables_ instead of the table generator.
    config::CLedDlg& MakePage(const char* resolution = kResolution, bool recordTables = true) {
        if (std::string(resolution) != kResolution) skindocs::LoadSkinDocuments(SKIN_PROGRAM_DIR, resolution);
        page_.reset();
        host_ = std::make_unique<QWidget>();
        page_ = std::make_unique<config::CLedDlg>();
        page_->SetImageFolderName(QString::fromLatin1(resolution));
        page_->SetSettings(link_, &working_, &saved_);
        if (recordTables) {
            auto tables = std::make_unique<RecordingTables>();
            tables_ = tables.get();
            page_->SetTableSender(std::move(tables));
        }
        EXPECT_TRUE(page_->CreateSkinPage(host_.get(), skin::CBaseDlg::kChildTemplate));
        host_->resize(page_->size());
        page_->show();
        host_->show();
        Settle();
        return *page_;
    }

    // Lets posted notifications (and the coalesced preview they request) run.
    static void Settle() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
    }

    static void ClearWrites() {
        std::lock_guard lock(g_writesMutex);
        g_writes.clear();
    }
    static std::vector<config::CommandReport> Writes() {
        std::lock_guard lock(g_writesMutex);
        return g_writes;
    }
    static std::vector<std::string> Commands() {
        std::vector<std::string> names;
        for (const config::CommandReport& report : Writes()) names.push_back(Describe(report));
        return names;
    }

    template <typename Widget = QWidget>
    Widget* Find(const char* name) const {
        auto* widget = page_->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void Click(const char* name, Qt::MouseButton button = Qt::LeftButton) {
        QWidget* widget = Find(name);
        if (widget == nullptr) return;
        if (button == Qt::LeftButton) {
            QTest::mouseClick(widget, button, {}, widget->rect().center());
        } else {
            QTest::mousePress(widget, button, {}, widget->rect().center());
            QTest::mouseRelease(widget, button, {}, widget->rect().center());
        }
        Settle();
    }
    // What a slider posts while it is dragged.
    void Slide(int controlId, int value) {
        platform::PostWindowMessage(page_.get(), skin::kSliderValueMessage, static_cast<std::uintptr_t>(value),
                                    controlId);
        Settle();
    }

    config::LightingSection& Working() { return working_.profiles[0].lighting; }
    const config::LightingSection& Saved() { return saved_.profiles[0].lighting; }
    simulator::ProfileLighting LiveProfile() const { return controller_->state().live.current(); }

    std::unique_ptr<simulator::VirtualController> controller_;
    config::CUSBDriver* link_ = nullptr;
    config::SettingsBlock working_{};
    config::SettingsBlock saved_{};
    std::unique_ptr<QWidget> host_;
    std::unique_ptr<config::CLedDlg> page_;
    RecordingTables* tables_ = nullptr;
};

}  // namespace ledpage_test
