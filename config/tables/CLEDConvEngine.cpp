#include "CLEDConvEngine.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <limits>

namespace config {

namespace {

constexpr std::size_t kConvertBlockCount = 5;
constexpr std::size_t kConvertBlockBytes[kConvertBlockCount] = {60, 60, 60, 60, 16};
constexpr std::uint16_t kEndMarkerPage = 0xFFFF;
constexpr std::size_t kBytesBeforeLineBreak = 30;

template <typename... Arguments>
std::string Format(const char* format, Arguments... arguments) {
    char buffer[128];
    const int length = std::snprintf(buffer, sizeof buffer, format, arguments...);
    return std::string(buffer, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::string ChannelMessage(const char* format, std::size_t index) { return Format(format, static_cast<int>(index + 1)); }

// The numbers shown in the fields: integers with "%d"; the duty as a plain number ("100", "62.5").
std::string IntegerText(std::int64_t value) { return Format("%lld", static_cast<long long>(value)); }
std::string RealText(double value) { return Format("%g", value); }

// One block's output line: "51 70 kk tt " then the block's bytes, broken after the 30th.
std::string ConvertBlockLine(std::size_t block, std::uint16_t tableIndex, std::span<const std::uint8_t> bytes) {
    std::string line = Format("51 70 %02x %02x ", static_cast<unsigned>(block), static_cast<unsigned>(tableIndex / 256));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == kBytesBeforeLineBreak) line += "\r\n" + std::string(17, ' ');
        line += Format("%02x ", static_cast<unsigned>(bytes[i]));
    }
    return line;
}

bool DutyInRange(double duty) { return duty >= 0.0 && duty <= 100.0; }

// The integer average of two colour fields. A sum beyond 64 bits is far outside any level, so it
// gives -1 (shown as "Error") instead of overflowing into a level that looks valid.
std::int64_t AverageLevel(std::int64_t a, std::int64_t b) {
    constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kSmallest = std::numeric_limits<std::int64_t>::min();
    if ((b > 0 && a > kLargest - b) || (b < 0 && a < kSmallest - b)) return -1;
    return (a + b) / 2;
}

}  // namespace

CLEDConvEngine::CLEDConvEngine(TableMessageBox& messages, TableCommandLink* link) : messages_(messages), link_(link) {
    LoadFieldsFrom(selected_);
}

void CLEDConvEngine::ApplyFrequencies(const std::array<int, kTableChannelCount>& hertz) {
    for (std::size_t c = 0; c < kTableChannelCount; ++c) fields_.frequency[c] = IntegerText(hertz[c]);
    GenerateAll();
}

bool CLEDConvEngine::GeneratePwmReload() {
    std::string text = "51 71 00 00 ";
    std::array<std::uint8_t, kTablePayloadSize> payload{};
    std::array<std::int64_t, kTableChannelCount> reloads{};
    std::size_t packed = 0;
    for (std::size_t c = 0; c < kTableChannelCount; ++c) {
        if (!fields_.channelChecked[c]) continue;
        const PwmReload reload = ComputePwmReload(ParseNumberField(fields_.frequency[c]));
        if (reload.outcome == PwmReload::Outcome::PrescalerOverflow) {
            ShowMessage(ChannelMessage("Channel %d's Prescaler value is over 255!", c));
            return false;
        }
        if (reload.outcome == PwmReload::Outcome::ReloadOutOfRange) {
            ShowMessage(ChannelMessage("Channel %d's value is wrong! (2 ~ 635535)", c));
            return false;
        }
        const auto low = static_cast<std::uint8_t>(reload.reload & 0xFF);
        const auto high = static_cast<std::uint8_t>(reload.reload >> 8);
        const std::uint8_t entry[4] = {static_cast<std::uint8_t>(c + 1), reload.prescaler, low, high};
        std::copy(std::begin(entry), std::end(entry), payload.begin() + static_cast<std::ptrdiff_t>(4 * packed));
        ++packed;
        text += Format("%02d %02x %02x %02x ", static_cast<int>(c + 1), static_cast<unsigned>(reload.prescaler),
                       static_cast<unsigned>(low), static_cast<unsigned>(high));
        reloads[c] = reload.reload;
    }
    if (packed == 0) return true;
    for (std::size_t c = 0; c < kTableChannelCount; ++c) {
        if (reloads[c] != 0) channels_[c].maxValue = reloads[c];
    }
    fields_.output = text;
    if (link_) link_->SetPwmConfig(payload);
    fields_.maxValue = IntegerText(channels_[selected_].maxValue);
    return true;
}

bool CLEDConvEngine::GenerateConvertTable() {
    Calculate();
    const std::size_t c = selected_;
    const auto tableIndex = static_cast<std::uint16_t>(ParseNumberField(fields_.tableIndex[c]));
    const std::int64_t maxValue = ParseNumberField(fields_.maxValue);
    const std::int64_t initial = ParseNumberField(fields_.initialValue);
    const std::int64_t curve = ParseNumberField(fields_.curve);
    const std::int64_t shift = ParseNumberField(fields_.shift);
    const double duty = ParseRealField(fields_.maxDuty);
    if (!DutyInRange(duty)) {
        ShowMessage("Duty's value is 0 ~ 100!");
        return false;
    }
    if (maxValue < 2 || maxValue > 65535) {
        ShowMessage(ChannelMessage("Channel %d's Max value is wrong! (2 ~ 635535)", c));
        return false;
    }
    const double top = static_cast<double>(maxValue) * duty / 100.0;
    const ConvertTable table = ComputeConvertTable(top, static_cast<double>(initial), static_cast<double>(curve),
                                                   static_cast<int>(shift), fields_.autoShift);
    fields_.shift = IntegerText(table.shift);

    // Lines are separated by "\r\n", with none after the last; appended lines start on a line of
    // their own after the text already there (the reload line, or the previous channel's table).
    std::string& output = fields_.output;
    if (!appendOutput_) output.clear();
    const auto addLine = [&output](const std::string& line) {
        if (!output.empty()) output += "\r\n";
        output += line;
    };
    std::size_t offset = 0;
    for (std::size_t k = 0; k < kConvertBlockCount; ++k) {
        const auto blockBytes = std::span<const std::uint8_t>(table.bytes).subspan(offset, kConvertBlockBytes[k]);
        offset += kConvertBlockBytes[k];
        std::array<std::uint8_t, kTablePayloadSize> payload{};
        std::copy(blockBytes.begin(), blockBytes.end(), payload.begin());
        if (link_) link_->SetConversionTable(static_cast<std::uint16_t>(tableIndex + k), payload);
        // The line shows the block's table bytes; the zero fill of the last block is not shown, as the
        // end marker's zero data is not.
        addLine(ConvertBlockLine(k, tableIndex, blockBytes));
    }
    if (sendEndMarker_) {
        const std::array<std::uint8_t, kTablePayloadSize> zero{};
        if (link_) link_->SetConversionTable(kEndMarkerPage, zero);
        addLine(Format("51 70 %02x %02x ", 255u, 255u));
    }
    channels_[c].result = top;
    return true;
}

bool CLEDConvEngine::GenerateAll() {
    const std::size_t remembered = selected_;
    // The tables scale with the reload counts: without them there is nothing sound to send.
    if (!GeneratePwmReload()) return false;
    std::size_t lastChecked = kTableChannelCount;
    for (std::size_t c = 0; c < kTableChannelCount; ++c) {
        if (fields_.channelChecked[c]) lastChecked = c;
    }
    appendOutput_ = true;
    sendEndMarker_ = false;
    bool allGenerated = true;
    for (std::size_t c = 0; c < kTableChannelCount; ++c) {
        if (!fields_.channelChecked[c]) continue;
        SelectChannel(c);
        sendEndMarker_ = c == lastChecked;
        allGenerated = GenerateConvertTable() && allGenerated;
    }
    SelectChannel(remembered);
    appendOutput_ = false;
    sendEndMarker_ = true;
    return allGenerated;
}

void CLEDConvEngine::Calculate() {
    std::array<std::int64_t, 12> component{};
    for (std::size_t i = 0; i < component.size(); ++i) component[i] = ParseNumberField(fields_.ledColor[i]);
    const auto r = [&](std::size_t led) { return component[3 * led]; };
    const auto g = [&](std::size_t led) { return component[3 * led + 1]; };
    const auto b = [&](std::size_t led) { return component[3 * led + 2]; };
    const std::array<std::int64_t, kTableChannelCount> levels = {
        AverageLevel(r(0), r(3)), AverageLevel(g(1), g(3)), r(2), g(2), b(2), b(3)};
    for (std::size_t c = 0; c < kTableChannelCount; ++c) {
        if (levels[c] < 0 || levels[c] > 255) {
            fields_.tableIndex[c] = "Error";
            continue;
        }
        const std::int64_t range = levels[c] / 60;  // 0-59, 60-119, 120-179, 180-239, 240-255
        fields_.tableIndex[c] = Format("0x%x", static_cast<unsigned>(c * 256 + static_cast<std::size_t>(range)));
    }
}

void CLEDConvEngine::SelectChannel(std::size_t index) {
    if (index >= kTableChannelCount) return;
    SaveFieldsTo(selected_);
    selected_ = index;
    LoadFieldsFrom(index);
}

void CLEDConvEngine::OnDevicePlug(bool plugged) {
    fields_.deviceStatus = plugged ? "Device Plugged" : "Device Removed";
    if (plugged && link_) link_->SetMode(1);
}

void CLEDConvEngine::SaveFieldsTo(std::size_t index) {
    ConvChannelParams& channel = channels_[index];
    channel.maxValue = ParseNumberField(fields_.maxValue);
    channel.initialValue = ParseNumberField(fields_.initialValue);
    channel.curve = ParseNumberField(fields_.curve);
    channel.shift = ParseNumberField(fields_.shift);
    channel.autoShift = fields_.autoShift;
    channel.maxDuty = ParseRealField(fields_.maxDuty);
    if (!DutyInRange(channel.maxDuty)) ShowMessage("Duty's value is 0 ~ 100!");  // stored all the same
}

void CLEDConvEngine::LoadFieldsFrom(std::size_t index) {
    const ConvChannelParams& channel = channels_[index];
    fields_.maxValue = IntegerText(channel.maxValue);
    fields_.initialValue = IntegerText(channel.initialValue);
    fields_.curve = IntegerText(channel.curve);
    fields_.shift = IntegerText(channel.shift);
    fields_.autoShift = channel.autoShift;
    fields_.maxDuty = RealText(channel.maxDuty);
}

}  // namespace config
