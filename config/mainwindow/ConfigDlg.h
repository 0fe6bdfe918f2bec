// The configuration program's main window and the owner of the device connection.
//
// It builds itself from the skin section "MAIN", opens the controller link (slot 0) and the
// boot-loader link (slot 1), and is then driven by messages: WM_DEVICE_PLUG and WM_DEVICE_EVENT from
// the links, the clicks of its buttons and its own WM_APPLY_SETTINGS. When the controller arrives it
// checks the firmware and reads the controller's lighting under the loading pop-up; it follows the
// controller's event reports; the apply button stores the settings files and writes the controller
// behind the progress pane; closing asks "NO_SAVE" when something changed; destruction hands the
// controller back to its own operation.
//
// Everything runs on the user-interface thread. Pop-ups run nested modal loops, so plug and event
// messages may be handled in the middle of a sequence; the busy flag makes event reports return at
// once while the window reads or writes the controller.
#pragma once

#include "ApplyNotice.h"
#include "BaseDlg.h"
#include "BitmapBtn.h"
#include "BitmapBtnEx.h"
#include "CommandLine.h"
#include "EmbeddedFonts.h"
#include "FirmwarePrompt.h"
#include "IAP_CUSBDriver.h"
#include "LedDlg.h"
#include "PackageMessageBox.h"
#include "ProfileRecord.h"
#include "ProgressDlg.h"
#include "WebPageOpener.h"


#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace config {

// Private messages of the main window (the links' WM_DEVICE_PLUG and WM_DEVICE_EVENT are in LinkMessages.h).
inline constexpr std::uint32_t WM_APPLY_SETTINGS = 1274;
inline constexpr std::uint32_t WM_SELECT_PROFILE = 2926;
inline constexpr std::uint32_t WM_RESET_PROFILE = 2927;

// What the main window is given from outside; the defaults are those of the running program.
struct ConfigDlgSetup {
    StartupOptions options;
    // The resolution folder of the skin, with its trailing '/' ("1366x768/").
    std::string resolutionFolder;
    TarnlinkApi tarnlink;
    // The firmware prompt's setup (updater, its start, the package messages); filled by the window
    // from fwstatus::DefaultPromptSetup when not given. The window adds its overlay, the update
    // confirmation and the updater-started flag.
    std::function<fwstatus::PromptSetup(firmware::PackageMessageSink& messages)> promptSetup;
    fwstatus::RecordRetries firmwareRetries;
    // Opens a web address (OpenWebPageInBackground unless replaced); the result is not used.
    std::function<int(const QString& address)> openWebPage;
    // Tells the person something went wrong outside the skin's own pages (a message box unless replaced).
    std::function<void(QWidget* owner, const QString& text)> showMessage;
    // Loads the skin set (LoadSkinSet unless replaced; tests load it from the build's program folder).
    std::function<void(const std::string& resolutionFolder)> loadSkinSet;
};

class CConfigDlg : public skin::CBaseDlg {
    Q_OBJECT
public:
    static constexpr int kTabCount = 3;
    static constexpr int kStatusTries = 5;

    explicit CConfigDlg(ConfigDlgSetup setup, QWidget* parent = nullptr);
    // Hands the controller back (SelectProfile, SetMode 0) unless the updater took over, and removes
    // the embedded fonts.
    ~CConfigDlg() override;

    // Marks tab `index` as selected and runs its action: 0 the LED page, 1 the web page, 2 the
    // firmware prompt (tabs 1 and 2 leave tab 0 selected).
    void SelectTab(int index);
    // Makes profile `index` current on the controller and in the page.
    void ActivateProfile(int index);

    // For tests and the program: the state the person cannot see directly.
    const SettingsBlock& WorkingCopy() const { return *working_; }
    SettingsBlock& WorkingCopy() { return *working_; }
    const SettingsBlock& SavedCopy() const { return *saved_; }
    bool HasUnsavedChanges() const;
    bool IsBusy() const { return busy_; }
    bool WarningShown() const { return warningShown_; }
    bool UpdaterStarted() const { return updaterStarted_; }
    bool RestartedAfterUpdate() const { return restartedAfterUpdate_; }
    int ConfirmedProfile() const { return confirmedProfile_; }
    // How many controller arrivals have been read to the end.
    int ArrivalsRead() const { return arrivalsRead_; }
    // How many controller event reports have been handled to the end (ignored ones included).
    int EventReportsHandled() const { return eventReportsHandled_; }
    int SelectedTab() const { return selectedTab_; }
    int SubPageTop() const { return subPageTop_; }
    CUSBDriver& ControllerLink() { return controllerLink_; }
    IAP_CUSBDriver& BootLoaderLink() { return bootLoaderLink_; }
    CLedDlg& LedPage() { return ledPage_; }
    CProgressDlg& ProgressPane() { return progressPane_; }
    skin::CBitmapBtn& ApplyButton() { return applyButton_; }
    // The notice beside the apply button after an apply.
    const ApplyNotice& ApplyOutcome() const { return applyNotice_; }
    skin::CBitmapBtn& MinimiseButton() { return minButton_; }
    skin::CBitmapBtn& CloseButton() { return closeButton_; }
    skin::CBitmapBtn& TabButton(int index) { return tabButtons_[static_cast<std::size_t>(index)]; }

protected:
    void InitDialog() override;
    void LoadSkin() override;
    void DrawSkinContent(QPainter& painter) override;
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Initialisation after the window is first shown: the links open, then the no-device warning.
    void OpenLinks();
    void ShowNoDeviceWarning();
    void OnButton(int code, skin::CBitmapBtn* sender);
    void AskToClose();
    // Writes the saved copy's lighting back to the controller after the person discarded edits.
    void GiveBackAppliedLighting();
    void Apply();
    void PostClose();
    // The firmware prompt over the main window through `link`; its result (1, 2 or 6).
    int RunFirmwarePrompt(CUSBDriver& link);
    int ShowOverDimmedWindow(QDialog& popup);
    void UpdateProfileButton(int index);
    void SelectEffectOnPage();

    // Message handlers (ConfigDlgDevice.cpp).
    void OnDevicePlug(std::uintptr_t slot, std::intptr_t open);
    void OnControllerArrival();
    void OnRemoval(const CUSBDriver& otherLink);
    void OnDeviceEvent(std::uintptr_t event);
    void OnApplySettings(std::intptr_t currentOnly);
    void OnResetProfile(int profile);
    int ReadStatus(std::span<std::uint8_t, 20> status);
    int ReadLighting(int profile, CProgressPage& loading);
    void SetWritingLayout(bool writing);

    ConfigDlgSetup setup_;
    bool restartedAfterUpdate_;
    std::uint32_t languageCode_;
    bool deviceRequired_;
    fonts::EmbeddedFonts fonts_;
    QWidget* currentPage_ = nullptr;
    bool updaterStarted_ = false;
    bool warningShown_ = false;
    bool busy_ = false;
    // A window manager's close is waiting for, or showing, its question.
    bool closeAskPending_ = false;
    int confirmedProfile_ = 0;
    // The two copies are large (two 12744-byte records); they live on the heap.
    std::unique_ptr<SettingsBlock> working_;
    std::unique_ptr<SettingsBlock> saved_;
    CUSBDriver controllerLink_;
    IAP_CUSBDriver bootLoaderLink_;
    int subPageTop_ = 0;
    CLedDlg ledPage_;
    CProgressDlg progressPane_;
    skin::CBitmapBtn applyButton_;
    ApplyNotice applyNotice_{this};
    // Whether the last apply could write the settings files (a failure is told at once in a box).
    bool filesSaved_ = true;
    // Set while OnApplySettings writes the controller.
    bool writingSettings_ = false;
    skin::CBitmapBtn minButton_;
    skin::CBitmapBtn closeButton_;
    std::array<skin::CBitmapBtn, kTabCount> tabButtons_;
    int selectedTab_ = 0;
    skin::CBitmapBtn profileButton_;
    skin::CBitmapBtnEx profilePictureButton_;
    fwstatus::PackageMessageBox packageMessages_;
    bool linksOpened_ = false;
    int arrivalsRead_ = 0;
    int eventReportsHandled_ = 0;
};

}  // namespace config
