#include "CommandLine.h"

#include "tarnlink/VirtualWire.h"

#include <charconv>
#include <cstdlib>

namespace simulator::app {

namespace {

bool toInt(const std::string& text, int& value, int low, int high) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

// "major.minor.build" with major and minor 0-254 (255.255 marks an erased record).
std::optional<firmware::Version> parseVersion(const std::string& text) {
    int parts[3] = {};
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t dot = i < 2 ? text.find('.', start) : text.size();
        if (dot == std::string::npos || !toInt(text.substr(start, dot - start), parts[i], 0, i < 2 ? 254 : 1 << 30)) {
            return std::nullopt;
        }
        start = dot + 1;
    }
    return firmware::Version{static_cast<std::uint8_t>(parts[0]), static_cast<std::uint8_t>(parts[1]),
                             static_cast<std::uint32_t>(parts[2])};
}

// A relative value names no folder of the person (it would follow the folder the controller was started
// in) and counts as unset.
bool IsAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

std::string defaultStateFolder() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); IsAbsolute(state))
        return std::string(state) + "/halcyra/virtual-controller";
    if (const char* home = std::getenv("HOME"); IsAbsolute(home))
        return std::string(home) + "/.local/state/halcyra/virtual-controller";
    return {};
}

}  // namespace

std::string usageText() {
    return "Usage: virtual-controller [options]\n"
           "Puts virtual lighting controllers on the virtual bus and shows their LEDs.\n"
           "  --bus DIR          bus folder (default: $TARNLINK_BUS, else $XDG_RUNTIME_DIR/tarnlink-bus)\n"
           "  --name NAME        device name in the bus folder (default virtual-controller)\n"
           "  --count N          start N controllers, named NAME-1 ... NAME-N (default 1)\n"
           "  --targets N        flashable targets per controller: the controller and N-1 units (default 1)\n"
           "  --state-dir DIR    where the state files live (default $XDG_STATE_HOME/halcyra/virtual-controller)\n"
           "  --no-state         keep nothing between runs\n"
           "  --fresh            forget the saved state and start as from the factory\n"
           "  --boot-loader      come up in the boot loader\n"
           "  --firmware X.Y.Z   the factory firmware and its version text (default 1.0.100, \"V1.00\")\n"
           "  --usb-timing       one report per millisecond each way, like a full-speed endpoint\n"
           "  --replug-ms N      time off the bus when switching firmware (default 300)\n"
           "  --fault RULE       inject a fault; RULE is kind:CC[.KK][,skip=N][,times=N][,ms=N] with kind\n"
           "                     drop, delay, error, checksum, address or leave, e.g. delay:52.28,ms=800\n"
           "  --no-window        no window even when a display is available\n"
           "  --screenshot FILE  save a picture of the window (PNG) two seconds after the start\n"
           "  --help             this text\n"
           "Keys: b the controller's button (next effect), p profile button, u unplug / plug in, q quit.\n"
           "SIGUSR1 presses the button of every controller; Ctrl-C or SIGTERM stops.\n";
}

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args) {
    ProgramOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") o.help = true;
        else if (a == "--no-state") o.noState = true;
        else if (a == "--fresh") o.fresh = true;
        else if (a == "--boot-loader") o.bootLoader = true;
        else if (a == "--usb-timing") o.usbTiming = true;
        else if (a == "--no-window") o.window = false;
        else if (a == "--bus" && value(v)) o.busFolder = v;
        else if (a == "--name" && value(v) && !v.empty() && v[0] != '.' && v.find('/') == std::string::npos) o.name = v;
        else if (a == "--state-dir" && value(v)) o.stateFolder = v;
        else if (a == "--screenshot" && value(v)) o.screenshot = v;
        else if (a == "--firmware" && value(v) && (o.firmware = parseVersion(v)).has_value()) {}
        else if (a == "--count" && value(v) && toInt(v, o.count, 1, 16)) {}
        else if (a == "--targets" && value(v) && toInt(v, o.targets, 1, 8)) {}
        else if (a == "--replug-ms" && value(v) && toInt(v, o.replugMs, 0, 60000)) {}
        else if (a == "--fault" && value(v)) {
            auto parsed = parseFaultRule(v);
            if (!parsed.rule) return {std::nullopt, "--fault " + v + ": " + parsed.error};
            o.faults.push_back(*parsed.rule);
        } else {
            return {std::nullopt, "bad or incomplete option '" + a + "'"};
        }
    }
    if (o.busFolder.empty()) o.busFolder = tarnlink::virtualBusFolder();
    if (o.busFolder.empty()) return {std::nullopt, "no bus folder: pass --bus or set TARNLINK_BUS or XDG_RUNTIME_DIR"};
    if (!o.noState && o.stateFolder.empty()) o.stateFolder = defaultStateFolder();
    if (!o.noState && o.stateFolder.empty()) return {std::nullopt, "no state folder: pass --state-dir or --no-state"};
    return {o, {}};
}

ControllerOptions controllerOptions(const ProgramOptions& program, int i) {
    ControllerOptions c;
    c.busFolder = program.busFolder;
    c.name = program.count == 1 ? program.name : program.name + "-" + std::to_string(i + 1);
    if (!program.noState) c.stateFile = program.stateFolder + "/" + c.name + ".state";
    c.targets.clear();
    for (int t = 0; t < program.targets; ++t) {
        TargetConfig target = defaultTargetConfig();
        if (t > 0) {
            // Units behind the controller: their own signature and layout, an older firmware.
            target.fwInfo.signature[15] = static_cast<std::uint8_t>('0' + t + 1);
            target.fwInfo.layoutId = static_cast<std::uint16_t>(0x0100 + t);
            target.freshVersion = {1, 0, static_cast<std::uint32_t>(10 + t)};
        }
        if (t == 0 && program.firmware) target.freshVersion = *program.firmware;
        c.targets.push_back(target);
    }
    c.faults = program.faults;
    c.startInBootLoader = program.bootLoader;
    c.usbTiming = program.usbTiming;
    c.replugDelay = std::chrono::milliseconds(program.replugMs);
    return c;
}

}  // namespace simulator::app
