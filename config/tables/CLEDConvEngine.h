// The engine of the engineering table generator: the fields of its dialog, six per-channel
// parameter records, and the generation of the PWM reload table and the LED convert tables that go
// to the controller. The LED page drives it through ApplyFrequencies; a dialog over it is only a view
// that copies its fields in and out and forwards the buttons.
//
// Channels are numbered 1-6 in texts and commands and indexed 0-5 here.
#pragma once

#include "TableLink.h"
#include "TableMath.h"

#include <array>
#include <cstdint>
#include <string>

namespace config {

inline constexpr std::size_t kTableChannelCount = 6;

// The per-channel parameters of its convert table, kept between uses.
struct ConvChannelParams {
    std::int64_t initialValue = 0;
    std::int64_t curve = 50;
    std::int64_t shift = 0;
    double maxDuty = 100.0;
    bool autoShift = false;
    std::int64_t maxValue = 0;  // the channel's PWM reload count, once generated
    double result = 0.0;        // the top level of the last convert table
};

// The dialog's fields, as texts the way the user would type them.
struct ConvFields {
    std::array<std::string, kTableChannelCount> frequency;
    std::array<bool, kTableChannelCount> channelChecked{true, true, true, true, true, true};
    std::array<std::string, 12> ledColor;  // R, G, B of LED 0-3
    std::array<std::string, kTableChannelCount> tableIndex;
    std::string maxValue;
    std::string initialValue;
    std::string curve;
    std::string shift;
    bool autoShift = false;
    std::string maxDuty;
    std::string output;
    std::string deviceStatus;
};

class CLEDConvEngine {
public:
    // The link may be null (no controller commands are sent then). Both must outlive the engine.
    CLEDConvEngine(TableMessageBox& messages, TableCommandLink* link);

    ConvFields& Fields() { return fields_; }
    const ConvFields& Fields() const { return fields_; }
    std::size_t SelectedChannel() const { return selected_; }
    const ConvChannelParams& Channel(std::size_t index) const { return channels_[index]; }

    // The LED page's call: the six frequencies as decimal text, then one-click generation.
    void ApplyFrequencies(const std::array<int, kTableChannelCount>& hertz);
    // The buttons. Each returns false when an input error stopped it (its message has been shown).
    bool GeneratePwmReload();
    bool GenerateConvertTable();
    bool GenerateAll();
    void Calculate();
    // The channel drop-down: saves the fields into the channel left, loads the new one's.
    void SelectChannel(std::size_t index);
    // The controller arrived (SetMode 1) or left.
    void OnDevicePlug(bool plugged);

private:
    void SaveFieldsTo(std::size_t index);
    void LoadFieldsFrom(std::size_t index);
    void ShowMessage(const std::string& text) { messages_.ShowMessage(text); }

    TableMessageBox& messages_;
    TableCommandLink* link_;
    ConvFields fields_;
    std::array<ConvChannelParams, kTableChannelCount> channels_{};
    std::size_t selected_ = 0;
    bool appendOutput_ = false;
    bool sendEndMarker_ = true;
};

}  // namespace config
