#include "UpdateSession.h"

#include "ControllerRecordFetch.h"
#include "DebugOutput.h"
#include "DetachedProcess.h"
#include "ExitCodes.h"
#include "FlashLink.h"
#include "FlashSequence.h"
#include "RestartTarget.h"
#include "LocaleLanguages.h"
#include "UpdateProgress.h"
#include "UpdaterWording.h"
#include "WindowMessage.h"

#include "AccessDeniedText.h"

#include "BootLoaderCommands.h"
#include "firmware/PackageCheck.h"
#include "firmware/PackageReader.h"

#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <optional>
#include <thread>

namespace updater {

namespace {

using namespace std::chrono_literals;

// Private messages, as the window messages of the original design.
constexpr std::uint32_t kStateMessage = 0x5401;      // lParam 1: a link's device settled; 0: a link lost it
constexpr std::uint32_t kExitMessage = 0x4400;       // wParam: the exit code; ends the session
constexpr std::uint32_t kLinkChangeMessage = 1282;   // wParam: slot; lParam 1 listed, 0 lost (from the links)
constexpr std::uint32_t kProgressMessage = 0x5402;   // lParam: percent (from the worker)
constexpr std::uint32_t kWorkerDoneMessage = 0x5403; // the worker has ended; its outcome is stored

constexpr int kSuccessPageTimer = 4113;
constexpr int kFailurePageTimer = 4114;
constexpr auto kSettleTime = 1000ms;
constexpr auto kResultPageDelay = 10ms;
constexpr auto kBothLinksRepost = 1ms;
constexpr auto kBeforeWorker = 100ms;
// How long the controller may take to come up in its boot loader after the request; without this
// wait a controller that never returns would leave the updater waiting for ever.
constexpr auto kBootLoaderWait = 20s;
// A run without a window ends with kExitNoController when no controller has settled by then.
constexpr auto kControllerWait = 20s;
// A controller in its application firmware that settles while the one sent into its boot loader is
// awaited may be a second controller: the boot loader is looked for once more after this long.
constexpr auto kSecondLook = 3s;
// Polls of the write address while a unit behind the controller switches to its boot loader.
constexpr int kUnitPolls = 20;
constexpr auto kUnitPollPause = 1000ms;

QString fromU16(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// Collects the package reader's messages so the session can show them its own way.
class CollectedMessages final : public firmware::PackageMessageSink {
public:
    void show(firmware::PackageMessage message) override { messages.push_back(message); }
    std::vector<firmware::PackageMessage> messages;
};

}  // namespace

class UpdateSession::Impl {
public:
    explicit Impl(UpdateSession& session) : self(session) {}

    UpdateSession& self;
    UpdaterOptions options;
    bool windowless = false;
    // The language of the page's own lines, as the pictures are chosen.
    const Wording wording = WordingFor(platform::PreferredLanguages());
    SessionTexts texts;
    SessionButtons buttons;
    std::atomic<int> progress{0};
    int exitCode = kExitSuccess;
    QString failureText;
    bool finished = false;

    QString updaterFolder;
    std::optional<firmware::FirmwarePackage> package;
    FlashLink applicationLink{FlashLink::Kind::Application};
    FlashLink bootLoaderLink{FlashLink::Kind::BootLoader};
    QTimer applicationSettle;
    QTimer bootLoaderSettle;
    QTimer successPage;   // timer 4113
    QTimer failurePage;   // timer 4114
    QTimer watchdog;      // boot-loader wait, and the controller wait without a window
    Pauses pauses;

    ControllerRecords records;
    int targetIndex = 0;
    bool updating = false;

    std::thread worker;
    bool workerRunning = false;
    // The controller was flashed and has left its boot loader: the run waits for it to come back in
    // its application firmware with the new version before it reports success.
    bool confirming = false;
    // The wait for it ended while its application firmware was there but not yet settled: the settle
    // gets this one extension.
    bool confirmSettleGrace = false;
    int flashedEntry = -1;
    // The application link's device when the controller was sent into its boot loader.
    std::uint16_t sentFromDevice = 0;
    // The application link looked once more for the boot loader (kSecondLook) in this wait.
    bool secondLookTaken = false;
    // A controller in its application firmware was listed while the image was being written: a second
    // controller, since the one being flashed is in its boot loader then.
    bool secondInApplication = false;
    std::uint16_t flashedDevice = 0;   // the device the running (or last) update writes to
    // The boot-loader link's unlisted arrivals when this update was asked for; -1 while none is.
    int unlistedBootLoadersBefore = -1;
    std::mutex outcomeMutex;
    FlashOutcome outcome;
    std::optional<ControllerRecords> recordsAfterUpdate;

    bool silent() const { return options.silent || windowless; }

    ~Impl() {
        if (worker.joinable()) worker.join();
        applicationLink.close();
        bootLoaderLink.close();
    }

    // --- start -------------------------------------------------------------------------------------

    bool start(const std::filesystem::path& programFile) {
        updaterFolder = QString::fromStdString(programFile.parent_path().string()) + '/';
        CollectedMessages messages;
        auto read = firmware::readPackage(programFile, messages);
        for (auto message : messages.messages) {
            const auto text = firmware::packageMessageText(message);
            tell(QString::fromLatin1(text.text.data(), static_cast<qsizetype>(text.text.size())).trimmed(),
                 QString::fromLatin1(text.caption.data(), static_cast<qsizetype>(text.caption.size())));
        }
        if (!read.ok()) {
            if (messages.messages.empty()) tell(QStringLiteral("The firmware package is damaged."), QStringLiteral("Error"));
            finish(kExitPackageUnreadable);
            return false;
        }
        if (const auto reason = firmware::unflashablePackageReason(read.package->info)) {
            // Found out before either link opens: the controller is never sent anywhere.
            tell(QStringLiteral("The firmware package cannot be flashed: %1.")
                     .arg(QString::fromLatin1(reason->data(), static_cast<qsizetype>(reason->size()))),
                 QStringLiteral("Error"));
            finish(kExitPackageUnreadable);
            return false;
        }
        package = std::move(read.package);
        const auto& info = package->info;
        texts.title = fromU16(firmware::storedText(info.title));
        texts.company = fromU16(firmware::storedText(info.company));
        texts.product = fromU16(firmware::storedText(info.product));
        texts.updateVersion = fromU16(firmware::storedText(info.version));
        showLayoutName();
        setButtons({false, false, true, false});
        emit self.textsChanged();

        auto observe = [this](FlashLink& link) {
            const std::uintptr_t slot = link.kind() == FlashLink::Kind::Application ? 0 : 1;
            link.setChangeObserver([this, slot](FlashLink::DeviceChange change) {
                platform::PostWindowMessage(&self, kLinkChangeMessage, slot, change == FlashLink::DeviceChange::Listed);
            });
            link.setTrace([](const std::string& line) {
                // The notices only, and only while debugging is on: a line per input report would
                // bury the notices.
                if (line.starts_with("MONITOR")) platform::DebugOutput(line);
            });
        };
        observe(applicationLink);
        observe(bootLoaderLink);
        for (QTimer* timer : {&applicationSettle, &bootLoaderSettle, &successPage, &failurePage, &watchdog})
            timer->setSingleShot(true);
        applicationSettle.setInterval(kSettleTime);
        bootLoaderSettle.setInterval(kSettleTime);
        QObject::connect(&applicationSettle, &QTimer::timeout, &self, [this] { settled(applicationLink); });
        QObject::connect(&bootLoaderSettle, &QTimer::timeout, &self, [this] { settled(bootLoaderLink); });
        QObject::connect(&successPage, &QTimer::timeout, &self, [this] { showSuccessPage(); });
        QObject::connect(&failurePage, &QTimer::timeout, &self, [this] { showFailurePage(); });
        QObject::connect(&watchdog, &QTimer::timeout, &self, [this] { waitedTooLong(); });

        const bool application = applicationLink.open(static_cast<std::uint16_t>(info.applicationVendorId),
                                                      static_cast<std::uint16_t>(info.applicationProductId));
        const bool bootLoader = bootLoaderLink.open(static_cast<std::uint16_t>(info.bootLoaderVendorId),
                                                    static_cast<std::uint16_t>(info.bootLoaderProductId));
        // A controller that is plugged in but may not be opened is no controller to the links; the
        // person is told why and how to get access instead of just "no controller".
        const QString denied = (application || bootLoader)
                                   ? QString()
                                   : QString::fromStdString(tarnlink::controllerAccessDeniedText());
        if (!denied.isEmpty()) tell(denied, QStringLiteral("Access denied"));
        if (!application && !bootLoader && silent()) {
            if (denied.isEmpty()) say(QStringLiteral("no controller found"));
            platform::PostWindowMessage(&self, kExitMessage, kExitNoController, 0);
        } else if (silent()) {
            watchdog.start(kControllerWait);
        }
        return true;
    }

    // --- messages ----------------------------------------------------------------------------------

    void handle(const platform::WindowMessageEvent& message) {
        switch (message.Message()) {
        case kLinkChangeMessage: linkChanged(message.WParam() == 0 ? applicationLink : bootLoaderLink, message.LParam() != 0); break;
        case kStateMessage: stateChanged(message.LParam() != 0); break;
        case kExitMessage: finish(static_cast<int>(message.WParam())); break;
        case kProgressMessage: showProgress(static_cast<int>(message.LParam())); break;
        case kWorkerDoneMessage: workerDone(); break;
        default: break;
        }
    }

    QTimer& settleTimerOf(FlashLink& link) {
        return &link == &applicationLink ? applicationSettle : bootLoaderSettle;
    }

    void linkChanged(FlashLink& link, bool listed) {
        if (listed && &link == &applicationLink && workerRunning && targetIndex == 0 && progress < 100)
            secondInApplication = true;
        if (listed) {
            settleTimerOf(link).start();
            return;
        }
        settleTimerOf(link).stop();
        platform::PostWindowMessage(&self, kStateMessage, 0, 0);
    }

    void settled(FlashLink& link) {
        if (link.connected()) platform::PostWindowMessage(&self, kStateMessage, 0, 1);
    }

    void stateChanged(bool deviceSettled) {
        const bool application = applicationLink.connected();
        const bool bootLoader = bootLoaderLink.connected();
        if (!deviceSettled || (!application && !bootLoader)) {
            deviceGone();
            return;
        }
        if (!workerRunning) setProgress(0);
        if (application && bootLoader && updating && applicationLink.deviceNumber() != sentFromDevice) {
            secondControllerWhileRestarting();
            return;
        }
        if (application && bootLoader) {
            // The controller is changing mode: look again once one of the two has gone.
            QTimer::singleShot(kBothLinksRepost, &self,
                               [this] { platform::PostWindowMessage(&self, kStateMessage, 0, 1); });
            return;
        }
        // While the worker flashes, the links belong to it: no records are fetched in between.
        if (workerRunning) return;
        if (application) applicationSettled();
        else bootLoaderSettled();
    }

    void deviceGone() {
        // While an update runs the controller is briefly no device at all as it restarts: the page keeps
        // the version it had instead of blinking; the outcome says what became of it.
        const bool busy = updating || workerRunning || confirming;
        if (!busy && !applicationLink.connected() && !bootLoaderLink.connected()) {
            texts.currentVersion.clear();
            emit self.textsChanged();
        }
        setButtons({false, false, !busy, busy});
    }

    void applicationSettled() {
        if (updating && applicationLink.deviceNumber() != sentFromDevice && !secondLookTaken) {
            // Another device than the one sent away: the controller re-plugged, or a second controller
            // while this one is still restarting. A boot loader that comes meanwhile tells which.
            secondLookTaken = true;
            QTimer::singleShot(kSecondLook, &self, [this] {
                if (updating) platform::PostWindowMessage(&self, kStateMessage, 0, 1);
            });
            return;
        }
        const TargetChoice choice = chooseTarget(applicationLink, package->info, options.forcedEntry, pauses);
        targetIndex = choice.targetIndex;
        takeRecords(choice.records);
        const bool cameBackInsteadOfBootLoader = updating && targetIndex == 0;
        updating = false;
        if (confirming) {
            confirmUpdate();
            return;
        }
        setButtons({true, true, true, false});
        if (cameBackInsteadOfBootLoader) {
            // It was sent into its boot loader but is running its application firmware again (a
            // re-plug, or it ignored the command): nothing was flashed, and the run says so.
            watchdog.stop();
            failureText = QStringLiteral("The controller came back in its application firmware instead of its boot "
                                         "loader; nothing was flashed.");
            exitCode = kExitFlashingFailed;
            refuse(failureText, kExitFlashingFailed);
            return;
        }
        if (options.autoStart) {
            options.autoStart = false;
            requestUpdate();
        }
    }

    void bootLoaderSettled() {
        if (confirming) {
            // It was flashed and left its boot loader, and is back there: the image it got does not start.
            confirming = false;
            watchdog.stop();
            takeRecords(fetchControllerRecords(bootLoaderLink, package->info, options.forcedEntry, pauses));
            failUpdate(QStringLiteral("The controller did not start the new firmware: it came back in its boot "
                                      "loader. The package may be damaged."));
            return;
        }
        targetIndex = 0;
        if (!updating) setButtons({true, true, true, false});
        takeRecords(fetchControllerRecords(bootLoaderLink, package->info, options.forcedEntry, pauses));
        const bool sentThere = updating;
        if (updating || options.autoStart) {
            options.autoStart = false;
            updating = false;
            if (records.selectedEntry < 0) {
                abandonInBootLoader(sentThere);
                return;
            }
            // The controller came up in its boot loader, asked to or already before: no version check.
            setButtons({false, false, false, true});
            pauseFor(kBeforeWorker);
            startWorker();
        }
        updating = false;
    }

    // The boot loader's records cannot be read or fit no image: nothing is flashed. A controller that
    // this run sent into its boot loader still holds its firmware and is sent back to it; the run
    // ends as a refusal with the real cause, and the window can be closed again.
    void abandonInBootLoader(bool sentThere) {
        watchdog.stop();
        if (sentThere) leaveBootLoader(bootLoaderLink);
        setButtons({false, false, true, false});
        refuse(entryProblemText(records.selectedEntry), kExitNoFittingImage);
    }

    static QString entryProblemText(int selected) {
        return QString::fromLatin1(selected == firmware::kNoEntryFits        ? "Layout Fail!"
                                   : selected == firmware::kSignatureDiffers ? "HW Setup Error!"
                                                                             : "Get Info Error!");
    }

    void takeRecords(const ControllerRecords& fetched) {
        records = fetched;
        texts.currentVersion = records.versionText ? fromU16(*records.versionText) : QString();
        showLayoutName();
        emit self.textsChanged();
    }

    void showLayoutName() {
        const auto shown = firmware::shownLayoutEntry(package->info, records.selectedEntry);
        texts.layoutName = shown ? fromU16(firmware::storedText(package->info.entries[*shown].name)) : QString();
        texts.duration = shown ? durationText(*shown) : QString();
    }

    // The selected image's writes at the pace measured on the links so far.
    QString durationText(std::size_t entry) const {
        const auto& blocks = package->entries[entry];
        const auto pace = std::max(applicationLink.averageExchangeTime(), bootLoaderLink.averageExchangeTime());
        const int seconds = estimatedUpdateSeconds({blocks.image.size(), blocks.versionBlock.size(), package->info.bytesPerWrite},
                                                   std::max(pace, std::chrono::microseconds(FlashLink::kWriteSettleTime)));
        return QString::fromStdString(DurationSentence(seconds, wording));
    }

    // --- the update request ------------------------------------------------------------------------

    void requestUpdate() {
        if (!package || workerRunning || updating || confirming || finished) return;
        const int selected = records.selectedEntry;
        if (selected < 0) {
            refuse(entryProblemText(selected), kExitNoFittingImage);
            return;
        }
        const auto& entry = package->info.entries[static_cast<std::size_t>(selected)];
        if (entry.imageBytes == 0) {
            refuse(QStringLiteral("Image %1: Empty Bin File!").arg(selected), kExitNoFittingImage);
            return;
        }
        const bool allowed = options.force || options.forcedEntry >= 0 || !records.application ||
                             records.application->isNone() || firmware::isNewer(entry, *records.application);
        if (!allowed) {
            if (silent()) {
                say(QStringLiteral("the latest firmware (%1) is already installed; nothing was flashed (use -force)")
                        .arg(QString::fromStdString(firmware::versionText(*records.application))));
                platform::PostWindowMessage(&self, kExitMessage, kExitFirmwareCurrent, 0);
            } else {
                emit self.resultReady(static_cast<int>(ResultPage::FirmwareCurrent), exitCode);
            }
            return;
        }
        unlistedBootLoadersBefore = bootLoaderLink.unlistedArrivals();
        sentFromDevice = applicationLink.deviceNumber();
        secondLookTaken = false;
        if (bootLoaderLink.deviceNumber() != 0) {
            startWorker();
        } else if (applicationLink.deviceNumber() != 0) {
            if (targetIndex == 0) {
                sendEnterBootLoader();
            } else if (!switchUnitToBootLoader()) {
                failureText = QStringLiteral("The unit did not start its boot loader.");
                if (silent()) say(failureText);
                exitCode = kExitFlashingFailed;
                if (silent()) platform::PostWindowMessage(&self, kExitMessage, kExitFlashingFailed, 0);
                else emit self.resultReady(static_cast<int>(ResultPage::Failed), exitCode);
                return;
            }
        }
        if (!workerRunning) {
            updating = true;
            watchdog.start(kBootLoaderWait);
            // From here on the page says what happens (the controller restarts, and is briefly no device);
            // the first write replaces this line with its phase.
            const std::string_view restart = RestartLine(wording);
            texts.progressLine = QString::fromUtf8(restart.data(), static_cast<qsizetype>(restart.size()));
            emit self.textsChanged();
        }
        setButtons({false, false, false, true});
    }

    bool sendEnterBootLoader() {
        for (int attempt = 0; attempt < pauses.retryCount; ++attempt) {
            if (enterBootLoader(applicationLink) == ExchangeResult::Ok) return true;
            pauseFor(pauses.afterFailedQuery);
        }
        return false;
    }

    // A unit behind the controller: already in its boot loader when it reports a write address;
    // otherwise asked to start it and polled until it answers. Starts the worker on success.
    bool switchUnitToBootLoader() {
        std::uint32_t address = 0;
        if (getWriteAddress(applicationLink, address) != ExchangeResult::Ok) {
            if (!sendEnterBootLoader()) return false;
            pauseFor(pauses.afterLeave);
            bool answered = false;
            for (int poll = 0; poll < kUnitPolls && !answered; ++poll) {
                answered = getWriteAddress(applicationLink, address) == ExchangeResult::Ok;
                if (!answered) pauseFor(kUnitPollPause);
            }
            if (!answered) return false;
        }
        startWorker();
        return true;
    }

    void refuse(const QString& text, int silentExitCode) {
        if (silent()) {
            say(text);
            platform::PostWindowMessage(&self, kExitMessage, static_cast<std::uintptr_t>(silentExitCode), 0);
        } else {
            emit self.messageBox(text, QStringLiteral("Error"));
        }
    }

    // --- the worker --------------------------------------------------------------------------------

    void startWorker() {
        if (workerRunning || !package) return;
        if (records.selectedEntry < 0) {
            // Flashing needs an image; nothing has been written yet.
            abandonInBootLoader(false);
            return;
        }
        watchdog.stop();
        workerRunning = true;
        secondInApplication = false;
        flashedEntry = records.selectedEntry;
        setButtons({false, false, false, true});
        const auto& entryBlocks = package->entries[static_cast<std::size_t>(records.selectedEntry)];
        FlashJob job{entryBlocks.image, entryBlocks.versionBlock, firmware::storedText(package->info.version),
                     package->info.bytesPerWrite};
        const int target = targetIndex;
        FlashLink& link = target > 0 ? applicationLink : bootLoaderLink;
        // The whole update goes to the controller that is there now, never to one that comes later.
        HeldDeviceChannel channel(link);
        flashedDevice = channel.device();
        if (unlistedBootLoadersBefore < 0) unlistedBootLoadersBefore = bootLoaderLink.unlistedArrivals();
        const int forcedEntry = options.forcedEntry;
        worker = std::thread([this, job, target, channel, forcedEntry]() mutable {
            FlashOutcome result = runFlashSequence(channel, job, [this](int percent) { setProgressFromWorker(percent); }, pauses);
            std::optional<ControllerRecords> after;
            if (result.succeeded && target > 0) {
                after = fetchControllerRecords(applicationLink, package->info, forcedEntry, pauses);
                if (after->selectedEntry < 0) result = {false, "Fail to Reset  Device!"};
            }
            {
                std::lock_guard lock(outcomeMutex);
                outcome = result;
                recordsAfterUpdate = after;
            }
            platform::PostWindowMessage(&self, kWorkerDoneMessage, 0, 0);
        });
    }

    void showProgress(int percent) {
        const std::string_view phase = PhaseName(percent, wording);
        texts.progressLine = QStringLiteral("%1: %2 %")
                                 .arg(QString::fromUtf8(phase.data(), static_cast<qsizetype>(phase.size())))
                                 .arg(percent);
        emit self.textsChanged();
        emit self.progressChanged(percent);
    }

    void setProgressFromWorker(int percent) {
        progress = percent;
        platform::PostWindowMessage(&self, kProgressMessage, 0, percent);
    }

    void workerDone() {
        if (worker.joinable()) worker.join();
        workerRunning = false;
        FlashOutcome result;
        {
            std::lock_guard lock(outcomeMutex);
            result = outcome;
            if (recordsAfterUpdate) takeRecords(*recordsAfterUpdate);
        }
        const bool secondBootLoader = targetIndex == 0 && bootLoaderLink.unlistedArrivals() > unlistedBootLoadersBefore;
        unlistedBootLoadersBefore = -1;
        if (result.succeeded && secondBootLoader) {
            // Two controllers were in their boot loaders and nothing tells them apart: the one written
            // to may not be the one this run sent there, which would then wait in its boot loader.
            result = {false, "A second controller in its boot loader joined during the update: the controller "
                             "that was updated may be another than the one sent there. Run the updater again."};
        }
        if (result.succeeded && targetIndex == 0 && secondInApplication) {
            // The application link holds the other controller: the flashed one cannot be asked whether it
            // started its new firmware.
            result = {false, "The image was written, but a second controller in its application firmware joined "
                             "during the update, so whether the updated controller starts its new firmware cannot "
                             "be checked. Unplug the other controller and run the updater again."};
        }
        if (result.succeeded && targetIndex == 0) {
            // Success only once it runs the new firmware: wait (as long as for the boot loader) for its
            // application firmware to settle, and read its version then.
            confirming = true;
            confirmSettleGrace = false;
            setButtons({false, false, false, true});
            watchdog.start(kBootLoaderWait);
            if (applicationLink.deviceNumber() != 0) applicationSettle.start();
            return;
        }
        if (result.succeeded) {
            reportSuccess();
            return;
        }
        const FlashLink& flashedLink = targetIndex > 0 ? applicationLink : bootLoaderLink;
        QString text = QString::fromStdString(result.failureText);
        if (flashedLink.deviceNumber() != flashedDevice)
            text += QStringLiteral(" The controller being updated went away during the update.");
        failUpdate(text);
    }

    // The controller came back in its application firmware after the update: success when it runs the
    // version it was given.
    void confirmUpdate() {
        confirming = false;
        watchdog.stop();
        const auto wanted = firmware::entryVersion(package->info.entries[static_cast<std::size_t>(flashedEntry)]);
        if (records.application && *records.application == wanted) {
            reportSuccess();
            return;
        }
        const QString found = records.application ? QString::fromStdString(firmware::versionText(*records.application))
                                                   : QStringLiteral("an unreadable version");
        failUpdate(QStringLiteral("The controller did not start the new firmware: it runs %1 instead of %2.")
                       .arg(found, QString::fromStdString(firmware::versionText(wanted))));
    }

    void reportSuccess() {
        failureText.clear();
        // An earlier failed attempt in this window no longer counts: the update went through.
        exitCode = kExitSuccess;
        const bool unitWithDevice = targetIndex > 0 && applicationLink.deviceNumber() != 0;
        setButtons({unitWithDevice, unitWithDevice, true, false});
        if (silent()) platform::PostWindowMessage(&self, kExitMessage, kExitSuccess, 0);
        else successPage.start(kResultPageDelay);
    }

    void failUpdate(const QString& text) {
        failureText = text;
        exitCode = kExitFlashingFailed;
        // OK again when a controller is there to try once more.
        const bool withDevice = targetIndex > 0 ? applicationLink.deviceNumber() != 0
                                                : applicationLink.deviceNumber() != 0 || bootLoaderLink.deviceNumber() != 0;
        setButtons({withDevice, withDevice, true, false});
        if (silent()) {
            say(QStringLiteral("update failed: %1").arg(failureText));
            platform::PostWindowMessage(&self, kExitMessage, kExitFlashingFailed, 0);
        } else {
            failurePage.start(kResultPageDelay);
        }
    }

    // The controller sent into its boot loader is there, and a second controller in its application
    // firmware came meanwhile. Nothing was written: the controller is sent back to its firmware and the
    // run fails, naming the other controller, instead of waiting for a boot loader that has come.
    void secondControllerWhileRestarting() {
        updating = false;
        watchdog.stop();
        leaveBootLoader(bootLoaderLink);
        failUpdate(QStringLiteral("A second controller in its application firmware joined while this one restarted "
                                  "into its boot loader; nothing was flashed, and this one was sent back to its "
                                  "firmware. Unplug the other controller and run the updater again."));
    }

    void waitedTooLong() {
        if (workerRunning || finished) return;
        if (confirming && applicationLink.connected() && !confirmSettleGrace) {
            // It came back within the wait and is settling: its version is read once it has settled.
            confirmSettleGrace = true;
            watchdog.start(2 * kSettleTime);
            return;
        }
        if (confirming) {
            confirming = false;
            failUpdate(QStringLiteral("The controller did not start the new firmware: it did not come back in its "
                                      "application firmware after the update."));
            return;
        }
        if (updating) {
            updating = false;
            failureText = QStringLiteral("The controller did not come up in its boot loader.");
            exitCode = kExitFlashingFailed;
            setButtons({false, false, true, false});
            if (silent()) {
                say(failureText);
                platform::PostWindowMessage(&self, kExitMessage, kExitFlashingFailed, 0);
            } else {
                failurePage.start(kResultPageDelay);
            }
        } else if (silent()) {
            say(QStringLiteral("no controller answered"));
            platform::PostWindowMessage(&self, kExitMessage, kExitNoController, 0);
        }
    }

    // --- results -----------------------------------------------------------------------------------

    void showSuccessPage() {
        emit self.resultReady(static_cast<int>(ResultPage::Success), exitCode);
        restartConfigurationProgram();
        finish(exitCode);
    }

    void showFailurePage() {
        emit self.resultReady(static_cast<int>(ResultPage::Failed), exitCode);
        finish(exitCode);
    }

    void restartConfigurationProgram() {
        if (options.restartPath.empty()) return;
        const QString program = restartTarget(updaterFolder, QString::fromStdString(options.restartPath));
        if (!platform::StartDetached(program, {QStringLiteral("true")}))
            say(QStringLiteral("could not start %1").arg(program));
    }

    void finish(int code) {
        if (finished) return;
        finished = true;
        exitCode = code;
        watchdog.stop();
        emit self.finished(code);
    }

    // --- helpers -----------------------------------------------------------------------------------

    void setButtons(SessionButtons next) {
        // Where OK is offered again the page asks for it: no phase of an earlier attempt stays.
        if (next.ok && !texts.progressLine.isEmpty()) {
            texts.progressLine.clear();
            emit self.textsChanged();
        }
        if (next == buttons) return;
        buttons = next;
        emit self.buttonsChanged();
    }

    void setProgress(int percent) {
        if (progress.exchange(percent) != percent) emit self.progressChanged(percent);
    }

    // A line on standard error for runs without a window.
    static void say(const QString& text) {
        std::fprintf(stderr, "tessaflash: %s\n", text.toUtf8().constData());
        std::fflush(stderr);
    }

    void tell(const QString& text, const QString& caption) {
        if (silent()) say(text);
        else emit self.messageBox(text, caption);
    }
};

UpdateSession::UpdateSession(UpdaterOptions options, bool windowless, QObject* parent)
    : QObject(parent), impl_(std::make_unique<Impl>(*this)) {
    impl_->options = std::move(options);
    impl_->windowless = windowless;
}

UpdateSession::~UpdateSession() = default;

bool UpdateSession::start(const std::filesystem::path& programFile) { return impl_->start(programFile); }

void UpdateSession::requestUpdate() { impl_->requestUpdate(); }

void UpdateSession::cancel() {
    if (impl_->workerRunning || impl_->updating || impl_->confirming) return;
    impl_->finish(impl_->exitCode);
}

bool UpdateSession::silent() const { return impl_->silent(); }
const UpdaterOptions& UpdateSession::options() const { return impl_->options; }
const SessionTexts& UpdateSession::texts() const { return impl_->texts; }
SessionButtons UpdateSession::buttons() const { return impl_->buttons; }
int UpdateSession::progress() const { return impl_->progress; }
int UpdateSession::exitCode() const { return impl_->exitCode; }
QString UpdateSession::failureText() const { return impl_->failureText; }

bool UpdateSession::event(QEvent* event) {
    if (auto* message = platform::AsWindowMessage(event)) {
        impl_->handle(*message);
        return true;
    }
    return QObject::event(event);
}

}  // namespace updater
