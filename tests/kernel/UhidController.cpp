#include "UhidController.h"

#include "simulator/Lighting.h"
#include "simulator/Report.h"
#include "simulator/Target.h"

#include <algorithm>
#include <chrono>

namespace kernel_guest {
namespace {

// How long the controller is away from the bus when it restarts into the other firmware.
constexpr auto kReplugDelay = std::chrono::milliseconds(100);
// The device thread looks at the stop flag and at unplug requests this often.
constexpr int kPollMs = 10;

simulator::ControllerCore freshCore(bool inBootLoader) {
    simulator::Target target(simulator::defaultTargetConfig());
    target.programFresh();
    simulator::ControllerCore core(simulator::defaultControllerSettings(), {target});
    core.powerUp(inBootLoader);
    return core;
}

}  // namespace

std::vector<std::uint8_t> controllerDescriptor(std::uint8_t reportId) {
    std::vector<std::uint8_t> d = {0x06, 0x00, 0xFF,   // usage page 0xFF00
                                   0x09, 0x01,         // usage 1
                                   0xA1, 0x01};        // application collection
    if (reportId != 0) d.insert(d.end(), {0x85, reportId});
    d.insert(d.end(), {0x15, 0x00, 0x26, 0xFF, 0x00,   // logical 0..255
                       0x75, 0x08, 0x95, 0x40,         // 64 bytes
                       0x09, 0x01, 0x81, 0x02,         // input
                       0x09, 0x01, 0x91, 0x02,         // output
                       0xC0});
    return d;
}

UhidController::UhidController(std::uint8_t reportId, simulator::ControllerCore core)
    : reportId_(reportId), core_(std::move(core)) {}

std::unique_ptr<UhidController> UhidController::start(std::uint8_t reportId, std::string& error, bool inBootLoader) {
    std::unique_ptr<UhidController> controller(new UhidController(reportId, freshCore(inBootLoader)));
    {
        std::lock_guard lock(controller->mutex_);
        if (!controller->plug(error)) return nullptr;
    }
    controller->thread_ = std::thread([c = controller.get()] { c->run(); });
    return controller;
}

UhidController::~UhidController() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
}

bool UhidController::plug(std::string& error) {
    const bool application = core_.state().firmware == simulator::Firmware::Application;
    UhidIdentity identity;
    identity.name = application ? "virtual controller" : "virtual controller boot loader";
    identity.vendorId = simulator::kVendorId;
    identity.productId = application ? simulator::kApplicationProductId : simulator::kBootLoaderProductId;
    identity.version = 0x0100;
    identity.reportDescriptor = controllerDescriptor(reportId_);
    device_ = UhidDevice::create(identity, error);
    changed_.notify_all();
    return device_ != nullptr;
}

void UhidController::unplug() {
    std::lock_guard lock(mutex_);
    device_.reset();
    changed_.notify_all();
}

void UhidController::plugIn() {
    std::lock_guard lock(mutex_);
    if (device_) return;
    core_.powerUp(false);
    std::string error;
    plug(error);
}

bool UhidController::waitOnBus(simulator::Firmware firmware, bool onBus, int timeoutMs) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        return core_.state().firmware == firmware && (device_ != nullptr) == onBus;
    });
}

simulator::ControllerState UhidController::state() const {
    std::lock_guard lock(mutex_);
    return core_.state();
}

std::vector<std::vector<std::uint8_t>> UhidController::rawOutputs() const {
    std::lock_guard lock(mutex_);
    return rawOutputs_;
}

std::size_t UhidController::malformedOutputs() const {
    std::lock_guard lock(mutex_);
    return malformed_;
}

void UhidController::run() {
    while (!stopping_) {
        std::unique_lock lock(mutex_);
        if (!device_) {
            changed_.wait_for(lock, std::chrono::milliseconds(kPollMs));
            continue;
        }
        // The lock is held while polling, so an unplug never closes the device under this thread.
        const auto raw = device_->waitForOutput(kPollMs);
        if (!raw) continue;
        const simulator::BusAction action = handle(*raw);
        if (action == simulator::BusAction::None) continue;
        // The controller restarts into the other firmware: it leaves the bus and comes back.
        device_.reset();
        changed_.notify_all();
        lock.unlock();
        std::this_thread::sleep_for(kReplugDelay);
        lock.lock();
        core_.powerUp(action == simulator::BusAction::EnterBootLoader);
        std::string error;
        plug(error);
    }
}

// Called with mutex_ held.
simulator::BusAction UhidController::handle(const std::vector<std::uint8_t>& raw) {
    rawOutputs_.push_back(raw);
    // hidraw hands over the id byte first: the report id, or the leading 0 of a device without ids.
    if (raw.size() != 1 + simulator::kReportBytes || raw[0] != reportId_) {
        ++malformed_;
        return simulator::BusAction::None;
    }
    simulator::Report command{};
    std::copy(raw.begin() + 1, raw.end(), command.begin());
    const simulator::Outcome outcome = core_.handle(command);
    changed_.notify_all();
    if (outcome.reply) {
        std::vector<std::uint8_t> input;
        if (reportId_ != 0) input.push_back(reportId_);
        input.insert(input.end(), outcome.reply->begin(), outcome.reply->end());
        device_->sendInput(input);
    }
    return outcome.action;
}

}  // namespace kernel_guest
