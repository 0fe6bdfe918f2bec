// The engineering table generator's dialog "LEDConv": edit fields for the six output frequencies,
// the LED colours and the selected channel's convert-table parameters, the buttons that generate and
// send the tables, and an output field showing the bytes sent.
//
// It is only a view over CLEDConvEngine, which holds the fields as texts and does all the generation:
// every edit the person makes goes into the engine's fields at once, and after every operation the
// engine's fields are shown again. The configuration program creates it hidden and never shows it;
// the LED page calls ApplyFrequencies, which works the same whether the dialog is shown or not.
#pragma once

#include "CLEDConvEngine.h"
#include "TableMessageDialog.h"

#include <QDialog>

#include <array>
#include <string>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace config {

// The dialog's controls by their ids; each control's object name is its id in decimal.
namespace ledconv {
inline constexpr int kExit = 1;
inline constexpr int kFrequencyFirst = 1001;  // 1001-1006, channels 1-6
inline constexpr int kDeviceStatus = 1007;
inline constexpr int kGenerateConvertTable = 1008;
inline constexpr int kGeneratePwmReload = 1009;
inline constexpr int kGenerateAll = 1010;
inline constexpr int kPeriodUnit = 1014;
inline constexpr int kHertzUnit = 1015;
inline constexpr int kFormula = 1016;
inline constexpr int kLedColorFirst = 1017;  // 1017-1028, R, G, B of LED 0-3
inline constexpr int kTableIndexFirst = 1029;  // 1029-1034, channels 1-6
inline constexpr int kCalculate = 1035;
inline constexpr int kChannelCheckFirst = 1036;  // 1036-1041, channels 1-6
inline constexpr int kOutput = 1042;
inline constexpr int kChannelSelector = 1043;
inline constexpr int kMaxValue = 1044;
inline constexpr int kInitialValue = 1045;
inline constexpr int kCurve = 1046;
inline constexpr int kShift = 1047;
inline constexpr int kAutoShift = 1048;
inline constexpr int kMaxDuty = 1049;
}  // namespace ledconv

class CLEDConvDlg : public QDialog {
    Q_OBJECT
public:
    // The link may be null (nothing is sent then); it must outlive the dialog. The dialog is created
    // hidden.
    explicit CLEDConvDlg(config::TableCommandLink* link, QWidget* parent = nullptr);
    ~CLEDConvDlg() override;

    // The LED page's call: the six frequencies into fields 1001-1006, then one-click generation.
    void ApplyFrequencies(const std::array<int, 6>& hertz);
    // The controller arrived (status "Device Plugged" and SetMode 1) or left ("Device Removed").
    void OnDevicePlug(bool plugged);
    CLEDConvEngine& Engine() { return engine_; }

    // The control with the given id, or nullptr.
    QWidget* Control(int id) const;
    // Shows the engine's fields again, after the engine was changed directly.
    void ShowFields();

private:
    void BuildControls();
    // A field or check box bound to one of the engine's fields: the person's edits go into it at
    // once, and ShowFields writes it back.
    QLineEdit* NewBoundField(int id, int minimumCharacters, std::string& target);
    QCheckBox* NewBoundCheck(const QString& caption, int id, bool& target);
    // Runs one engine operation and shows the fields it changed.
    template <typename Operation>
    void Run(Operation operation);
    void OnChannelSelected(int index);

    TableMessageDialog messages_;
    CLEDConvEngine engine_;
    bool showingFields_ = false;  // the fields are being written from the engine: no edits to forward

    std::vector<std::pair<QLineEdit*, std::string*>> boundFields_;
    std::vector<std::pair<QCheckBox*, bool*>> boundChecks_;
    QLabel* deviceStatus_ = nullptr;
    QPlainTextEdit* output_ = nullptr;
    QComboBox* channelSelector_ = nullptr;
};

}  // namespace config
