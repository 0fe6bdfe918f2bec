#include "simulator/Faults.h"

#include <charconv>
#include <sstream>

namespace simulator {

bool FaultRule::matches(const Report& command) const {
    return command[0] == this->command && (!key || command[1] == *key);
}

namespace {

struct KindName {
    FaultKind kind;
    const char* name;
};
constexpr KindName kKindNames[] = {
    {FaultKind::DropReply, "drop"},          {FaultKind::DelayReply, "delay"},
    {FaultKind::ErrorReply, "error"},        {FaultKind::WrongChecksum, "checksum"},
    {FaultKind::WrongWriteAddress, "address"}, {FaultKind::LeaveBus, "leave"},
    {FaultKind::ChangingChecksum, "checksum-changing"},
};

template <typename T>
bool parseNumber(std::string_view text, T& value, int base) {
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size();
}

std::string hexByte(std::uint8_t value) {
    constexpr char digits[] = "0123456789abcdef";
    return {digits[value >> 4], digits[value & 15]};
}

}  // namespace

FaultParse parseFaultRule(const std::string& text) {
    const auto colon = text.find(':');
    if (colon == std::string::npos) return {std::nullopt, "expected kind:command, e.g. drop:52.28"};
    FaultRule rule;
    const std::string kind = text.substr(0, colon);
    bool known = false;
    for (const auto& k : kKindNames)
        if (kind == k.name) rule.kind = k.kind, known = true;
    if (!known) return {std::nullopt, "unknown fault kind '" + kind + "' (drop, delay, error, checksum, checksum-changing, address, leave)"};

    std::stringstream parts(text.substr(colon + 1));
    std::string part;
    std::getline(parts, part, ',');
    const auto dot = part.find('.');
    std::uint8_t value = 0;
    if (!parseNumber(std::string_view(part).substr(0, dot), value, 16))
        return {std::nullopt, "bad command byte in '" + part + "' (hexadecimal, e.g. 1f)"};
    rule.command = value;
    if (dot != std::string::npos) {
        if (!parseNumber(std::string_view(part).substr(dot + 1), value, 16))
            return {std::nullopt, "bad key byte in '" + part + "' (hexadecimal, e.g. 1d.01)"};
        rule.key = value;
    }
    while (std::getline(parts, part, ',')) {
        const auto equals = part.find('=');
        const std::string name = part.substr(0, equals);
        std::uint32_t number = 0;
        if (equals == std::string::npos || !parseNumber(std::string_view(part).substr(equals + 1), number, 10))
            return {std::nullopt, "bad option '" + part + "' (skip=N, times=N, ms=N)"};
        if (name == "skip") rule.skip = number;
        else if (name == "times") rule.times = number;
        else if (name == "ms") rule.delay = std::chrono::milliseconds(number);
        else return {std::nullopt, "unknown option '" + name + "' (skip, times, ms)"};
    }
    return {rule, {}};
}

std::string describeFaultRule(const FaultRule& rule) {
    std::string text;
    for (const auto& k : kKindNames)
        if (k.kind == rule.kind) text = k.name;
    // Appended piece by piece: "literal" + std::string trips a false -Wrestrict in GCC 12 at -O3.
    text.append(":").append(hexByte(rule.command));
    if (rule.key) text.append(".").append(hexByte(*rule.key));
    if (rule.skip) text.append(",skip=").append(std::to_string(rule.skip));
    if (rule.times) text.append(",times=").append(std::to_string(rule.times));
    if (rule.delay.count()) text.append(",ms=").append(std::to_string(rule.delay.count()));
    return text;
}

void FaultPlan::add(const FaultRule& rule) { rules_.push_back({rule}); }

void FaultPlan::clear() { rules_.clear(); }

std::vector<FaultRule> FaultPlan::take(const Report& command) {
    std::vector<FaultRule> acting;
    for (auto& armed : rules_) {
        if (!armed.rule.matches(command)) continue;
        if (armed.seen++ < armed.rule.skip) continue;
        if (armed.rule.times != 0 && armed.acted >= armed.rule.times) continue;
        ++armed.acted;
        acting.push_back(armed.rule);
    }
    return acting;
}

}  // namespace simulator
