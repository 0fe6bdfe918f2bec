// The main window's device side: plug notices, the arrival read, event reports, the device write and
// the profile reset.
#include "ConfigDlg.h"

#include "DebugLog.h"
#include "FirmwareCheck.h"
#include "FirmwareDecision.h"
#include "LightingCodes.h"
#include "LightingTransfer.h"
#include "LoadingDlg.h"
#include "PopupWindows.h"
#include "WindowMessage.h"

#include <QCoreApplication>
#include <QThread>

#include <cmath>
#include <vector>

namespace config {

namespace {

// The event configuration the main window asks for: data bytes 01 00 00 01, then enable 01.
constexpr std::uint32_t kEventConfigValue = 0x01000001;
constexpr std::uint8_t kEventConfigEnable = 1;
constexpr std::uint8_t kHostMode = 1;
constexpr std::uint8_t kWriteMode = 3;
constexpr double kWriteProgressStart = 10.0;
constexpr double kWriteProgressSpan = 80.0;

// Whether the settings block holds a record for a profile number the controller reports. The
// controller knows profiles 0 and 1; the block holds the record of profile 0 only, so reports of
// profile 1 are never mirrored into a record.
bool HasRecord(int profile) { return profile >= 0 && static_cast<std::size_t>(profile) < SettingsBlock::kProfileCount; }

// Lets the window messages queued so far (plug notices, event reports) through in the middle of a
// device read or write, and nothing else: the LED page's preview send, a low-priority posted event,
// waits until the sequence is over instead of putting its commands between the sequence's. The
// progress pages repaint themselves at once and need no dispatch.
void DispatchPendingWindowMessages() {
    QCoreApplication::sendPostedEvents(nullptr, platform::WindowMessageEvent::EventType());
}

// Forwards a lighting transfer's progress to a progress page and lets one pending message through.
class PageProgress final : public TransferObserver {
public:
    PageProgress(CProgressPage& page, int& confirmedProfile) : page_(page), confirmedProfile_(confirmedProfile) {}
    void ProgressChanged(int percent) override { page_.SetProgress(percent); }
    void DispatchPendingMessage() override { DispatchPendingWindowMessages(); }
    void CurrentProfileReported(int profile) override { confirmedProfile_ = profile; }

private:
    CProgressPage& page_;
    int& confirmedProfile_;
};

}  // namespace

void CConfigDlg::OnDevicePlug(std::uintptr_t slot, std::intptr_t open) {
    if (g_debugLog) WriteDebugLog(u"onDevicePlug: %s", std::u16string_view(open != 0 ? u"OPEN" : u"CLOSE"));
    if (slot == 0 && open != 0) {
        OnControllerArrival();
    } else if (slot == 0) {
        OnRemoval(bootLoaderLink_);
    } else if (slot == static_cast<std::uintptr_t>(IAP_CUSBDriver::kBootLoaderSlot) && open != 0) {
        if (RunFirmwarePrompt(bootLoaderLink_) != fwstatus::kPromptStartUpdater) PostClose();
    } else if (slot == static_cast<std::uintptr_t>(IAP_CUSBDriver::kBootLoaderSlot)) {
        OnRemoval(controllerLink_);
    }
}

void CConfigDlg::OnRemoval(const CUSBDriver& otherLink) {
    const bool warningOpen = FindWindowByTitle(kWarnDlgTitle) != nullptr;
    if (!otherLink.IsOpen() && deviceRequired_ && (!warningOpen || !warningShown_)) PostClose();
}

void CConfigDlg::OnControllerArrival() {
    fwstatus::PromptDecision decision = fwstatus::PromptDecision::None;
    {
        const fwstatus::PromptSetup prompt = setup_.promptSetup(packageMessages_);
        const fwstatus::FirmwareCheckResult check = fwstatus::CheckFirmware(
            controllerLink_, prompt.prompt.updaterProgram, packageMessages_, setup_.firmwareRetries);
        // The version text comes from the controller's version record, which the check has just read.
        if (g_debugLog) WriteDebugLog(u"GetFWVer: %s", std::u16string_view(check.firmwareText));
        decision = fwstatus::DecidePrompt(fwstatus::ControllerMode::Application, check.result, restartedAfterUpdate_);
        // An available update is handled as a start by the updater: until the prompt lets the program
        // go on, the controller is not handed back on exit.
        if (check.result == fwstatus::kUpdateAvailable) restartedAfterUpdate_ = true;
    }
    if (decision != fwstatus::PromptDecision::None) {
        if (g_debugLog) WriteDebugLog(u"Post Show Info");
        const int result = RunFirmwarePrompt(controllerLink_);
        if (fwstatus::PromptEndsProgram(fwstatus::ControllerMode::Application, result)) {
            PostClose();
            return;
        }
        restartedAfterUpdate_ = false;
    }

    busy_ = true;
    controllerLink_.GetDeviceInfo();
    const unsigned portCount = controllerLink_.InfoWord() >> 24;
    for (unsigned record = 0; record < portCount; ++record) {
        std::array<std::uint8_t, 20> unused{};
        controllerLink_.GetInfoRecord(static_cast<std::uint16_t>(record), unused);
    }
    controllerLink_.SetEventConfig(kEventConfigValue, kEventConfigEnable);
    std::array<std::uint8_t, 20> status{};
    ReadStatus(status);
    controllerLink_.SetMode(kHostMode);
    std::array<std::uint8_t, kReportDataSize> table{};
    controllerLink_.GetConversionTable(table);
    std::array<std::uint8_t, kReportDataSize> pwm{};
    pwm[0] = 1;
    controllerLink_.GetPwmConfig(pwm);

    {
        CLoadingDlg loading(this);
        loading.SetProfileIndex(-1);
        loading.SetProfileReader([this, &loading](int profile) { return ReadLighting(profile, loading); });
        loading.exec();

        controllerLink_.SelectProfile(0);
        if (g_debugLog) WriteDebugLog(u"Load Dev Info Finish");
        *saved_ = *working_;
        busy_ = false;
        ActivateProfile(working_->ProfileIndex());
        if (g_debugLog) WriteDebugLog(u"PutSettingToControl Finish");
        CloseWindowByTitle(kWarnDlgTitle);
        ++arrivalsRead_;
    }  // the loading pop-up goes last, clearing the pop-up flag
}

int CConfigDlg::ReadStatus(std::span<std::uint8_t, 20> status) {
    int result = 1;
    for (int attempt = 0; attempt < kStatusTries && result != 0; ++attempt) result = controllerLink_.GetStatus(status);
    return result;
}

int CConfigDlg::ReadLighting(int profile, CProgressPage& loading) {
    PageProgress progress(loading, confirmedProfile_);
    CLightingTransfer transfer(controllerLink_, *working_, &progress);
    return transfer.ReadProfileLighting(profile);
}

void CConfigDlg::OnDeviceEvent(std::uintptr_t event) {
    struct Counted {
        int& count;
        ~Counted() { ++count; }
    } counted{eventReportsHandled_};
    std::array<std::uint8_t, 20> status{};
    // A status that could not be read says nothing: the zero-filled reply is not "profile 0, Static".
    if (ReadStatus(status) != 0 || busy_) return;
    const int profile = status[4];
    const std::uint8_t index = EffectListIndexOfCode(status[5]);
    if (HasRecord(profile)) {
        LightingSection& working = working_->profiles[static_cast<std::size_t>(profile)].lighting;
        if (index != kNotInEffectList) {
            if (working.SelectEffect() != index) {
                working.SetSelectEffect(index);
                SelectEffectOnPage();
            }
            // A change made on the controller is not an unsaved change.
            saved_->profiles[static_cast<std::size_t>(profile)].lighting.SetSelectEffect(index);
        }
        if (event != 0 && profile != working_->ProfileIndex()) ActivateProfile(profile);
        saved_->SetProfileIndex(static_cast<std::uint8_t>(profile));
    }
    confirmedProfile_ = profile;
}

void CConfigDlg::SetWritingLayout(bool writing) {
    for (skin::CBitmapBtn* button : {&applyButton_, &minButton_, &closeButton_, &tabButtons_[0], &tabButtons_[1],
                                     &tabButtons_[2]}) {
        button->setVisible(!writing);
    }
}

void CConfigDlg::OnApplySettings(std::intptr_t currentOnly) {
    // Clicks on Apply that came in before this write started queue more applies, and the write lets
    // queued window messages through. Nothing can change the settings while it writes (the page is
    // hidden), so the write under way carries what a queued apply would write: it is not started again
    // inside this one, which would end first and give back the buttons and its notice mid-write.
    if (writingSettings_) return;
    writingSettings_ = true;
    busy_ = true;
    applyNotice_.Clear();
    progressPane_.show();
    progressPane_.raise();
    if (QWidget* led = ledPage_.FirstLedButton()) led->hide();
    ledPage_.hide();
    SetWritingLayout(true);

    const int current = HasRecord(working_->ProfileIndex()) ? working_->ProfileIndex() : 0;
    const std::size_t record = static_cast<std::size_t>(current);
    const FrequencyBlock keptFrequency = saved_->profiles[record].lighting.frequency;
    const auto copyToSaved = [&] {
        if (currentOnly != 0) {
            saved_->profiles[record] = working_->profiles[record];
            saved_->SetProfileIndex(static_cast<std::uint8_t>(current));
        } else {
            *saved_ = *working_;
        }
    };
    copyToSaved();
    // The block holds one record: either way the one profile written is the current one's record.
    const std::vector<int> profiles = {currentOnly != 0 ? current : 0};

    // Written when a controller took every command of the write and stored it.
    bool written = controllerLink_.SetMode(kWriteMode) == 0;
    progressPane_.SetProgress(static_cast<int>(kWriteProgressStart));
    double progress = kWriteProgressStart;
    for (const int profile : profiles) {
        if (controllerLink_.IsOpen()) {
            PageProgress observer(progressPane_, confirmedProfile_);
            CLightingTransfer transfer(controllerLink_, *working_, &observer);
            written = controllerLink_.SelectProfile(static_cast<std::uint8_t>(profile)) == 0 && written;
            written = transfer.WriteProfileLighting(profile, kWriteProgressStart, kWriteProgressSpan) == 0 && written;
            written = controllerLink_.StoreSettings() == 0 && written;
        } else {
            written = false;
        }
        progress += kWriteProgressSpan;
        progressPane_.SetProgress(static_cast<int>(std::lround(progress)));
        QThread::msleep(1);
        DispatchPendingWindowMessages();
    }

    copyToSaved();
    saved_->profiles[record].lighting.frequency = keptFrequency;
    confirmedProfile_ = saved_->ProfileIndex();
    controllerLink_.SelectProfile(static_cast<std::uint8_t>(confirmedProfile_));
    SelectEffectOnPage();

    QThread::msleep(50);
    progressPane_.SetProgress(100);
    QThread::msleep(100);
    progressPane_.hide();

    SelectTab(selectedTab_);
    SetWritingLayout(false);
    // A failed file write was told in its own box; a controller that did not take the settings is told
    // here. Only when both hold the settings does the notice say they are applied.
    if (!written || filesSaved_) applyNotice_.ShowOutcome(written && filesSaved_);
    busy_ = false;
    writingSettings_ = false;
}

void CConfigDlg::OnResetProfile(int profile) {
    if (!HasRecord(profile)) return;
    working_->profiles[static_cast<std::size_t>(profile)].Reset();
    busy_ = true;
    controllerLink_.SelectProfile(static_cast<std::uint8_t>(profile));
    controllerLink_.ResetProfile();
    const std::array<std::uint8_t, CUSBDriver::kProfileBlockBufferSize> zeros{};
    controllerLink_.SetProfileBlock(static_cast<std::uint16_t>(profile), zeros);
    CLoadingDlg loading(this);
    loading.SetProfileIndex(profile);
    loading.SetProfileReader([this, &loading](int index) { return ReadLighting(index, loading); });
    loading.exec();
    saved_->profiles[static_cast<std::size_t>(profile)] = working_->profiles[static_cast<std::size_t>(profile)];
    platform::PostWindowMessage(this, WM_SELECT_PROFILE, reinterpret_cast<std::uintptr_t>(this), profile);
    busy_ = false;
}

}  // namespace config
