// Fault injection: rules that make the virtual controller misbehave on chosen commands, as a real
// device on a bad cable or with a failing flash would.
#pragma once

#include "simulator/Report.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace simulator {

enum class FaultKind {
    DropReply,           // the command is carried out, the reply never comes
    DelayReply,          // the reply comes after `delay`
    ErrorReply,          // the command is refused with an error reply
    WrongChecksum,       // a checksum reply (0x1D 0x01) carries a wrong sum
    ChangingChecksum,    // a checksum reply carries a wrong sum that differs each time
    WrongWriteAddress,   // a write reply (0x1F) or write-address reply (0x1E 0x00) carries a wrong address
    LeaveBus,            // after answering, the device leaves the bus (and returns after `delay`, if set);
                         // on a restart command (0x11) it returns after `delay`, or never without one
};

struct FaultRule {
    FaultKind kind = FaultKind::DropReply;
    std::uint8_t command = 0;
    std::optional<std::uint8_t> key;        // any key when empty
    std::uint32_t skip = 0;                 // matching commands to let pass before acting
    std::uint32_t times = 0;                // how often to act; 0 = every time
    std::chrono::milliseconds delay{0};     // DelayReply: the delay; LeaveBus: time away (0 = stay away)

    bool matches(const Report& command) const;
};

// "kind:CC[.KK][,skip=N][,times=N][,ms=N]" with hexadecimal command and key, kinds drop, delay, error,
// checksum, checksum-changing, address, leave. Example: "delay:52.28,ms=800", "checksum:1d.01,times=1".
struct FaultParse {
    std::optional<FaultRule> rule;
    std::string error;
};
FaultParse parseFaultRule(const std::string& text);
std::string describeFaultRule(const FaultRule& rule);

// The rules in force, with their counters. Not thread-safe: the controller's thread owns it.
class FaultPlan {
public:
    void add(const FaultRule& rule);
    void clear();
    // The rules that act on this command (counting it against every matching rule).
    std::vector<FaultRule> take(const Report& command);
    bool empty() const { return rules_.empty(); }

private:
    struct Armed {
        FaultRule rule;
        std::uint32_t seen = 0;
        std::uint32_t acted = 0;
    };
    std::vector<Armed> rules_;
};

}  // namespace simulator
