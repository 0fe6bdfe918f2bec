#include "simulator/VirtualController.h"

#include "simulator/Persistence.h"

#include "firmware/Bytes.h"
#include "tarnlink/VirtualDevice.h"
#include "tarnlink/VirtualWire.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <unistd.h>
#include <variant>

namespace simulator {

namespace {

using Clock = std::chrono::steady_clock;

// A device that leaves the bus right after answering gives the host this long to read the answer.
constexpr auto kLeaveAfterReply = std::chrono::milliseconds(20);
// The state is written this long after the last flash change, unless a restart or stop writes it first.
constexpr auto kIdleSaveDelay = std::chrono::milliseconds(500);
constexpr auto kUsbFrame = std::chrono::milliseconds(1);

const std::vector<std::uint8_t> kDescriptor = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x40,
    0x09, 0x01, 0x81, 0x02, 0x09, 0x01, 0x91, 0x02, 0xC0};

enum class Control { EffectButton, ProfileButton, Unplug, PlugIn };

struct Incoming {
    std::uint64_t generation = 0;  // reports of a device that has since left the bus are dropped
    std::variant<Report, Control> what;
};

struct Scheduled {
    Clock::time_point due;
    std::optional<Report> report;            // send this report
    std::optional<bool> plugForceBootLoader;  // or come (back) onto the bus, restarting
    bool unplug = false;                      // or leave the bus
};

// `changes` counts the changing wrong sums sent so far, so that each one differs from the last.
void applyReplyFaults(const std::vector<FaultRule>& faults, Report& reply, std::uint32_t& changes) {
    for (const auto& fault : faults) {
        const bool checksumReply = reply[0] == 0x1D && reply[1] == 0x01;
        if (fault.kind == FaultKind::WrongChecksum && checksumReply)
            firmware::writeLe32(reply, kDataAt, firmware::readLe32(reply, kDataAt) + 0x01010101u);
        if (fault.kind == FaultKind::ChangingChecksum && checksumReply)
            firmware::writeLe32(reply, kDataAt, firmware::readLe32(reply, kDataAt) + 0x01010101u * ++changes);
        const bool addressReply = reply[0] == 0x1F || (reply[0] == 0x1E && reply[1] != 0x01);
        if (fault.kind == FaultKind::WrongWriteAddress && addressReply)
            firmware::writeLe32(reply, kDataAt, firmware::readLe32(reply, kDataAt) + 4);
    }
}

bool has(const std::vector<FaultRule>& faults, FaultKind kind) {
    for (const auto& f : faults)
        if (f.kind == kind) return true;
    return false;
}

const FaultRule* find(const std::vector<FaultRule>& faults, FaultKind kind) {
    for (const auto& f : faults)
        if (f.kind == kind) return &f;
    return nullptr;
}

}  // namespace

const std::vector<std::uint8_t>& controllerReportDescriptor() { return kDescriptor; }

class VirtualController::Impl {
public:
    // `stateClaim`: the open claim on the state file (claimStateFile), closed with this object; negative for none.
    Impl(ControllerOptions options, ControllerCore core, int stateClaim)
        : options_(std::move(options)), core_(std::move(core)), stateClaim_(stateClaim) {
        for (const auto& rule : options_.faults) faults_.add(rule);
    }
    ~Impl() {
        if (stateClaim_ >= 0) ::close(stateClaim_);
    }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    bool begin(std::string& error) {
        if (!publish(error)) return false;
        worker_ = std::thread([this] { run(); });
        return true;
    }

    void shutdown() {
        {
            std::lock_guard lock(inboxMutex_);
            stopping_ = true;
        }
        inboxChanged_.notify_all();
        if (worker_.joinable()) worker_.join();
        unplugDevice();
        save();
    }

    // --- called from any thread ---

    void enqueue(Incoming item) {
        {
            std::lock_guard lock(inboxMutex_);
            inbox_.push_back(std::move(item));
        }
        inboxChanged_.notify_all();
    }

    void control(Control c) { enqueue({0, c}); }

    ControllerState copyState() const {
        std::lock_guard lock(stateMutex_);
        return core_.state();
    }

    template <typename Fn>
    auto withState(Fn&& fn) const {
        std::lock_guard lock(stateMutex_);
        return fn(core_.state());
    }

    bool waitFor(const std::function<bool(const ControllerState&, bool)>& pred, std::chrono::milliseconds timeout) const {
        std::unique_lock lock(stateMutex_);
        return stateChanged_.wait_for(lock, timeout, [&] { return pred(core_.state(), onBus_); });
    }

    void inspect(const std::function<void(const ControllerState&, bool)>& fn) const {
        std::lock_guard lock(stateMutex_);
        fn(core_.state(), onBus_);
    }

    bool onBus() const {
        std::lock_guard lock(stateMutex_);
        return onBus_;
    }
    std::string devicePath() const { return options_.busFolder + "/" + options_.name; }
    std::uint64_t changeCount() const {
        std::lock_guard lock(stateMutex_);
        return changes_;
    }
    void addFault(const FaultRule& rule) {
        std::lock_guard lock(stateMutex_);
        faults_.add(rule);
    }
    void clearFaults() {
        std::lock_guard lock(stateMutex_);
        faults_.clear();
    }

    const ControllerOptions& options() const { return options_; }

private:
    void log(const std::string& line) {
        if (options_.onLog) options_.onLog(options_.name + ": " + line);
    }

    void changed() {
        ++changes_;
        stateChanged_.notify_all();
    }

    // --- the controller's own thread ---

    bool publish(std::string& error) {
        tarnlink::DeviceDescription description;
        std::uint64_t generation;
        {
            std::lock_guard lock(stateMutex_);
            const bool boot = core_.state().firmware == Firmware::BootLoader;
            const auto version = core_.state().targets.front().version();
            description = {kVendorId, boot ? kBootLoaderProductId : kApplicationProductId,
                           static_cast<std::uint16_t>(boot ? 0x0001 : (version.major << 8 | version.minor)),
                           kDescriptor};
        }
        {
            std::lock_guard lock(inboxMutex_);
            generation = generation_;
        }
        device_ = tarnlink::VirtualDevice::publish(
            options_.busFolder, options_.name, description,
            [this, generation](tarnlink::VirtualDevice&, std::span<const std::uint8_t> wire) {
                // The controller has no report ids: a report is its 64 data bytes.
                if (wire.size() != kReportBytes) return;
                Report report;
                std::copy(wire.begin(), wire.end(), report.begin());
                enqueue({generation, report});
            });
        if (!device_) {
            error = "cannot publish " + devicePath() + " (does the bus folder exist?)";
            return false;
        }
        std::lock_guard lock(stateMutex_);
        onBus_ = true;
        changed();
        return true;
    }

    void unplugDevice() {
        {
            std::lock_guard lock(inboxMutex_);
            ++generation_;
        }
        device_.reset();  // joins the device's thread; it must not wait for our locks meanwhile
        std::lock_guard lock(stateMutex_);
        if (onBus_) {
            onBus_ = false;
            changed();
        }
    }

    void plug(bool forceBootLoader) {
        if (device_) return;
        std::string line;
        {
            std::lock_guard lock(stateMutex_);
            core_.powerUp(forceBootLoader);
            const auto& state = core_.state();
            line = state.firmware == Firmware::BootLoader
                       ? "on the bus as boot loader (product 0x0050)"
                       : "on the bus as application firmware (product 0x004F), version " +
                             firmware::versionText(state.targets.front().version());
        }
        log(line);
        std::string error;
        if (!publish(error)) log(error);
    }

    void save() {
        if (options_.stateFile.empty()) {
            // Nothing to write: the change is settled, or the idle-save wake-up would stay due and
            // the controller's thread would spin.
            std::lock_guard lock(stateMutex_);
            dirty_ = false;
            return;
        }
        ControllerSettings stored;
        std::vector<Target> targets;
        {
            std::lock_guard lock(stateMutex_);
            stored = core_.state().stored;
            targets = core_.state().targets;
            dirty_ = false;
        }
        if (auto error = saveStateFile(options_.stateFile, stored, targets)) log(*error);
    }

    void send(const Report& report, Clock::time_point earliest) {
        auto due = earliest;
        if (options_.usbTiming) {
            due = std::max(due, nextSend_);
            nextSend_ = due + kUsbFrame;
        }
        if (due <= Clock::now()) {
            if (device_) device_->sendReport(report);
        } else {
            scheduled_.push_back({due, report, std::nullopt, false});
        }
    }

    void handleReport(const Report& command) {
        Outcome outcome;
        std::vector<FaultRule> faults;
        {
            std::lock_guard lock(stateMutex_);
            faults = faults_.take(command);
            if (has(faults, FaultKind::ErrorReply)) {
                outcome.reply = errorReplyTo(command);
            } else {
                outcome = core_.handle(command);
            }
            if (outcome.reply) applyReplyFaults(faults, *outcome.reply, checksumChanges_);
            // The state file is written once the flash has been quiet for a moment (kIdleSaveDelay after
            // the last change), not in the middle of a flash.
            if (outcome.flashChanged) dirty_ = true, dirtySince_ = Clock::now();
            changed();
        }
        for (const auto& f : faults) log("fault " + describeFaultRule(f));
        const auto now = Clock::now();
        if (outcome.reply && !has(faults, FaultKind::DropReply)) {
            const FaultRule* delay = find(faults, FaultKind::DelayReply);
            send(*outcome.reply, delay ? now + delay->delay : now);
        }
        if (outcome.settingsStored) {
            log("settings stored");
            save();
        }
        if (outcome.action != BusAction::None) {
            const bool enter = outcome.action == BusAction::EnterBootLoader;
            log(enter ? "entering the boot loader" : "leaving the boot loader");
            save();
            unplugDevice();
            // A leave rule on the restart decides when (or whether) the device comes back.
            const FaultRule* leave = find(faults, FaultKind::LeaveBus);
            const auto away = leave ? leave->delay : options_.replugDelay;
            if (!leave || leave->delay.count() > 0) scheduled_.push_back({now + away, std::nullopt, enter, false});
        } else if (const FaultRule* leave = find(faults, FaultKind::LeaveBus)) {
            const auto away = now + kLeaveAfterReply;
            scheduled_.push_back({away, std::nullopt, std::nullopt, true});
            if (leave->delay.count() > 0) scheduled_.push_back({away + leave->delay, std::nullopt, false});
        }
    }

    void handleControl(Control c) {
        std::optional<Report> event;
        {
            std::lock_guard lock(stateMutex_);
            if (c == Control::EffectButton) event = core_.pressEffectButton();
            if (c == Control::ProfileButton) event = core_.pressProfileButton();
            changed();
        }
        if (c == Control::Unplug) unplugDevice();
        if (c == Control::PlugIn) plug(false);
        if (event) {
            log("button: effect " + std::to_string((*event)[kDataAt + 2]) + ", profile " +
                std::to_string((*event)[kDataAt + 1]));
            send(*event, Clock::now());
        }
    }

    // Runs the scheduled actions that are due by `until`, in order of time.
    void flushDue(Clock::time_point until) {
        std::stable_sort(scheduled_.begin(), scheduled_.end(),
                         [](const Scheduled& a, const Scheduled& b) { return a.due < b.due; });
        while (!scheduled_.empty() && scheduled_.front().due <= until) {
            const Scheduled item = scheduled_.front();
            scheduled_.erase(scheduled_.begin());
            if (item.report && device_) device_->sendReport(*item.report);
            if (item.unplug) unplugDevice();
            if (item.plugForceBootLoader) plug(*item.plugForceBootLoader);
        }
    }

    Clock::time_point nextWake() const {
        auto wake = Clock::time_point::max();
        for (const auto& s : scheduled_) wake = std::min(wake, s.due);
        if (dirty_) wake = std::min(wake, dirtySince_ + kIdleSaveDelay);
        return wake;
    }

    void run() {
        for (;;) {
            std::optional<Incoming> item;
            {
                std::unique_lock lock(inboxMutex_);
                const auto wake = nextWake();
                auto ready = [&] {
                    return stopping_ || Clock::now() >= wake ||
                           (!inbox_.empty() && Clock::now() >= nextReceive_);
                };
                while (!ready()) {
                    const auto until = inbox_.empty() ? wake : std::min(wake, nextReceive_);
                    if (until == Clock::time_point::max()) inboxChanged_.wait(lock);
                    else inboxChanged_.wait_until(lock, until);
                }
                if (stopping_) return;
                if (!inbox_.empty() && Clock::now() >= nextReceive_) {
                    item = std::move(inbox_.front());
                    inbox_.pop_front();
                    if (std::holds_alternative<Report>(item->what) && item->generation != generation_) item.reset();
                }
            }
            flushDue(Clock::now());
            if (dirty_ && Clock::now() >= dirtySince_ + kIdleSaveDelay) save();
            if (!item) continue;
            if (options_.usbTiming) nextReceive_ = Clock::now() + kUsbFrame;
            if (const auto* report = std::get_if<Report>(&item->what)) handleReport(*report);
            else handleControl(std::get<Control>(item->what));
        }
    }

    ControllerOptions options_;

    mutable std::mutex stateMutex_;
    mutable std::condition_variable stateChanged_;
    ControllerCore core_;
    int stateClaim_ = -1;
    FaultPlan faults_;
    bool onBus_ = false;
    std::uint64_t changes_ = 0;
    bool dirty_ = false;
    Clock::time_point dirtySince_{};

    std::mutex inboxMutex_;
    std::condition_variable inboxChanged_;
    std::deque<Incoming> inbox_;
    std::uint64_t generation_ = 0;
    bool stopping_ = false;

    // Owned by the controller's thread (and by shutdown, after the thread has ended).
    std::unique_ptr<tarnlink::VirtualDevice> device_;
    std::vector<Scheduled> scheduled_;
    Clock::time_point nextSend_{};
    std::uint32_t checksumChanges_ = 0;   // wrong sums of the changing-checksum fault so far
    Clock::time_point nextReceive_{};
    std::thread worker_;
};

VirtualController::Started VirtualController::start(ControllerOptions options) {
    Started started;
    if (options.busFolder.empty()) options.busFolder = tarnlink::virtualBusFolder();
    if (options.busFolder.empty()) {
        started.error = "no bus folder: set TARNLINK_BUS or XDG_RUNTIME_DIR, or name one";
        return started;
    }
    if (options.targets.empty()) {
        started.error = "at least one target (the controller itself) is needed";
        return started;
    }
    std::vector<Target> targets;
    for (std::size_t i = 0; i < options.targets.size(); ++i) {
        if (auto problem = checkTargetConfig(options.targets[i])) {
            started.error = "target " + std::to_string(i) + ": " + *problem;
            return started;
        }
        targets.emplace_back(options.targets[i]);
    }
    int stateClaim = -2;
    if (!options.stateFile.empty()) {
        stateClaim = claimStateFile(options.stateFile);
        if (stateClaim == -1) {
            started.warnings.push_back("state file " + options.stateFile +
                                       " is in use by another virtual controller; this one keeps nothing between runs");
            options.stateFile.clear();
        }
    }
    ControllerSettings stored = defaultControllerSettings();
    std::vector<SavedFlash> saved;
    if (!options.stateFile.empty()) {
        auto loaded = loadStateFile(options.stateFile);
        if (loaded.status == LoadStatus::Unreadable) started.warnings.push_back(loaded.message);
        if (loaded.state) {
            stored = std::move(loaded.state->settings);
            saved = std::move(loaded.state->flashes);
        }
    }
    for (const std::size_t fresh : restoreFlash(targets, saved))
        if (!saved.empty()) started.warnings.push_back("target " + std::to_string(fresh) + " starts with factory firmware (its flash geometry changed)");
    ControllerCore core(std::move(stored), std::move(targets));
    core.powerUp(options.startInBootLoader);
    auto impl = std::make_unique<Impl>(std::move(options), std::move(core), stateClaim);
    if (!impl->begin(started.error)) return started;
    started.controller.reset(new VirtualController(std::move(impl)));
    return started;
}

VirtualController::VirtualController(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
VirtualController::~VirtualController() { impl_->shutdown(); }

ControllerState VirtualController::state() const { return impl_->copyState(); }
Firmware VirtualController::firmware() const {
    return impl_->withState([](const ControllerState& s) { return s.firmware; });
}
bool VirtualController::onBus() const { return impl_->onBus(); }
std::string VirtualController::devicePath() const { return impl_->devicePath(); }
std::uint64_t VirtualController::changeCount() const { return impl_->changeCount(); }
bool VirtualController::waitFor(const std::function<bool(const ControllerState&, bool)>& pred,
                                std::chrono::milliseconds timeout) const {
    return impl_->waitFor(pred, timeout);
}
void VirtualController::inspect(const std::function<void(const ControllerState&, bool)>& fn) const {
    impl_->inspect(fn);
}
void VirtualController::pressEffectButton() { impl_->control(Control::EffectButton); }
void VirtualController::pressProfileButton() { impl_->control(Control::ProfileButton); }
void VirtualController::addFault(const FaultRule& rule) { impl_->addFault(rule); }
void VirtualController::clearFaults() { impl_->clearFaults(); }
void VirtualController::unplug() { impl_->control(Control::Unplug); }
void VirtualController::plugIn() { impl_->control(Control::PlugIn); }
const ControllerOptions& VirtualController::options() const { return impl_->options(); }

}  // namespace simulator
