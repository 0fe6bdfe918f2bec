#include "LEDConvDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <string>

namespace config {

namespace {

constexpr const char* kChannelCaptions[kTableChannelCount] = {
    "1=Red", "2=Blue", "3=Green(LED0)", "4=Green(LED1)", "5=Green(LED2)", "6=Green(LED3)"};

QString Text(const std::string& text) { return QString::fromStdString(text); }

// Names the control by its id, so it can be found by it.
template <typename Widget>
Widget* WithId(Widget* widget, int id) {
    widget->setObjectName(QString::number(id));
    return widget;
}

// A push button that Enter in a field does not press: the fields are typed into, and Enter closing
// the dialog or sending tables by accident would surprise.
QPushButton* NewButton(const char* caption, int id) {
    auto* button = WithId(new QPushButton(QString::fromLatin1(caption)), id);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

// The engine separates output lines with "\r\n"; the text field takes plain line feeds.
QString OutputText(const std::string& output) {
    QString text = Text(output);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

}  // namespace

CLEDConvDlg::CLEDConvDlg(config::TableCommandLink* link, QWidget* parent)
    : QDialog(parent), messages_(*this), engine_(messages_, link) {
    setWindowTitle(QStringLiteral("LEDConv"));
    BuildControls();
    ShowFields();
}

CLEDConvDlg::~CLEDConvDlg() = default;

void CLEDConvDlg::BuildControls() {
    auto* pwmGroup = new QGroupBox(tr("PWM reload"));
    auto* pwmGrid = new QGridLayout(pwmGroup);
    pwmGrid->addWidget(new QLabel(tr("Channel")), 0, 0);
    pwmGrid->addWidget(new QLabel(tr("Frequency")), 0, 1);
    pwmGrid->addWidget(new QLabel(tr("Table index")), 0, 2);
    ConvFields& fields = engine_.Fields();
    for (std::size_t c = 0; c < kTableChannelCount; ++c) {
        const int row = static_cast<int>(c) + 1;
        const int offset = static_cast<int>(c);
        pwmGrid->addWidget(NewBoundCheck(QString::fromLatin1(kChannelCaptions[c]), ledconv::kChannelCheckFirst + offset,
                                         fields.channelChecked[c]),
                           row, 0);
        pwmGrid->addWidget(NewBoundField(ledconv::kFrequencyFirst + offset, 9, fields.frequency[c]), row, 1);
        pwmGrid->addWidget(NewBoundField(ledconv::kTableIndexFirst + offset, 6, fields.tableIndex[c]), row, 2);
    }
    auto* hertzUnit = WithId(new QRadioButton(tr("Hz")), ledconv::kHertzUnit);
    auto* periodUnit = WithId(new QRadioButton(tr("Period")), ledconv::kPeriodUnit);
    hertzUnit->setChecked(true);
    periodUnit->setEnabled(false);  // frequencies are always given in Hz
    auto* units = new QButtonGroup(pwmGroup);
    units->addButton(hertzUnit);
    units->addButton(periodUnit);
    auto* unitRow = new QHBoxLayout;
    unitRow->addWidget(hertzUnit);
    unitRow->addWidget(periodUnit);
    unitRow->addStretch();
    pwmGrid->addLayout(unitRow, 7, 0, 1, 3);
    pwmGrid->addWidget(WithId(new QLabel(QStringLiteral("ReloadCount = (48000000/Hz)-1")), ledconv::kFormula), 8, 0, 1, 3);
    auto* generatePwm = NewButton("Generate PWM Reload", ledconv::kGeneratePwmReload);
    pwmGrid->addWidget(generatePwm, 9, 0, 1, 3);
    pwmGrid->setRowStretch(10, 1);

    auto* ledGroup = new QGroupBox(tr("LED colours"));
    auto* ledGrid = new QGridLayout(ledGroup);
    const char* const components[3] = {"R", "G", "B"};
    for (int k = 0; k < 3; ++k) ledGrid->addWidget(new QLabel(QString::fromLatin1(components[k])), 0, k + 1, Qt::AlignHCenter);
    for (int led = 0; led < 4; ++led) {
        ledGrid->addWidget(new QLabel(tr("LED %1").arg(led)), led + 1, 0);
        for (int k = 0; k < 3; ++k) {
            const auto index = static_cast<std::size_t>(3 * led + k);
            ledGrid->addWidget(NewBoundField(ledconv::kLedColorFirst + 3 * led + k, 4, fields.ledColor[index]), led + 1, k + 1);
        }
    }
    auto* calculate = NewButton("Calculate", ledconv::kCalculate);
    ledGrid->addWidget(calculate, 5, 0, 1, 4);
    ledGrid->setRowStretch(6, 1);

    auto* convertGroup = new QGroupBox(tr("Convert table"));
    auto* convertForm = new QFormLayout(convertGroup);
    channelSelector_ = WithId(new QComboBox, ledconv::kChannelSelector);
    for (const char* caption : kChannelCaptions) channelSelector_->addItem(QString::fromLatin1(caption));
    connect(channelSelector_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!showingFields_) OnChannelSelected(index);
    });
    convertForm->addRow(tr("Channel"), channelSelector_);
    convertForm->addRow(tr("Max value"), NewBoundField(ledconv::kMaxValue, 7, fields.maxValue));
    convertForm->addRow(tr("Initial value"), NewBoundField(ledconv::kInitialValue, 7, fields.initialValue));
    convertForm->addRow(tr("Curve"), NewBoundField(ledconv::kCurve, 7, fields.curve));
    convertForm->addRow(tr("Shift"), NewBoundField(ledconv::kShift, 7, fields.shift));
    convertForm->addRow(QString(), NewBoundCheck(tr("Auto shift"), ledconv::kAutoShift, fields.autoShift));
    convertForm->addRow(tr("Max duty %"), NewBoundField(ledconv::kMaxDuty, 7, fields.maxDuty));
    auto* generateConvert = NewButton("Generate Convert Table", ledconv::kGenerateConvertTable);
    convertForm->addRow(generateConvert);

    auto* groups = new QHBoxLayout;
    groups->addWidget(pwmGroup);
    groups->addWidget(ledGroup);
    groups->addWidget(convertGroup);

    output_ = WithId(new QPlainTextEdit, ledconv::kOutput);
    output_->setReadOnly(true);
    output_->setLineWrapMode(QPlainTextEdit::NoWrap);
    output_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    output_->setMinimumHeight(output_->fontMetrics().lineSpacing() * 10);
    output_->setMinimumWidth(output_->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 114);

    deviceStatus_ = WithId(new QLabel, ledconv::kDeviceStatus);
    auto* generateAll = NewButton("One-Click Generation", ledconv::kGenerateAll);
    auto* exitButton = NewButton("Exit", ledconv::kExit);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(deviceStatus_);
    bottom->addStretch();
    bottom->addWidget(generateAll);
    bottom->addWidget(exitButton);

    auto* page = new QVBoxLayout(this);
    page->addLayout(groups);
    page->addWidget(new QLabel(tr("Output")));
    page->addWidget(output_, 1);
    page->addLayout(bottom);

    connect(generatePwm, &QPushButton::clicked, this, [this] { Run([this] { engine_.GeneratePwmReload(); }); });
    connect(generateConvert, &QPushButton::clicked, this, [this] { Run([this] { engine_.GenerateConvertTable(); }); });
    connect(generateAll, &QPushButton::clicked, this, [this] { Run([this] { engine_.GenerateAll(); }); });
    connect(calculate, &QPushButton::clicked, this, [this] { Run([this] { engine_.Calculate(); }); });
    connect(exitButton, &QPushButton::clicked, this, &QDialog::accept);
}

// Each edit goes into the engine's field at once, so the engine always holds what the dialog shows
// and a caller that reads or drives the engine directly sees the person's edits.
QLineEdit* CLEDConvDlg::NewBoundField(int id, int minimumCharacters, std::string& target) {
    auto* field = WithId(new QLineEdit, id);
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('0')) * minimumCharacters + 12);
    connect(field, &QLineEdit::textChanged, this, [this, &target](const QString& text) {
        if (!showingFields_) target = text.toStdString();
    });
    boundFields_.emplace_back(field, &target);
    return field;
}

QCheckBox* CLEDConvDlg::NewBoundCheck(const QString& caption, int id, bool& target) {
    auto* box = WithId(new QCheckBox(caption), id);
    connect(box, &QCheckBox::toggled, this, [this, &target](bool checked) {
        if (!showingFields_) target = checked;
    });
    boundChecks_.emplace_back(box, &target);
    return box;
}

template <typename Operation>
void CLEDConvDlg::Run(Operation operation) {
    operation();
    ShowFields();
}

void CLEDConvDlg::OnChannelSelected(int index) {
    if (index < 0) return;
    Run([this, index] { engine_.SelectChannel(static_cast<std::size_t>(index)); });
}

void CLEDConvDlg::ApplyFrequencies(const std::array<int, 6>& hertz) {
    Run([this, &hertz] { engine_.ApplyFrequencies(hertz); });
}

void CLEDConvDlg::OnDevicePlug(bool plugged) {
    Run([this, plugged] { engine_.OnDevicePlug(plugged); });
}

QWidget* CLEDConvDlg::Control(int id) const { return findChild<QWidget*>(QString::number(id)); }

void CLEDConvDlg::ShowFields() {
    const bool wasShowing = showingFields_;
    showingFields_ = true;
    for (const auto& [field, text] : boundFields_) {
        // Writing a field's own text again would move its caret.
        const QString shown = Text(*text);
        if (field->text() != shown) field->setText(shown);
    }
    for (const auto& [box, checked] : boundChecks_) box->setChecked(*checked);
    const ConvFields& fields = engine_.Fields();
    output_->setPlainText(OutputText(fields.output));
    deviceStatus_->setText(Text(fields.deviceStatus));
    channelSelector_->setCurrentIndex(static_cast<int>(engine_.SelectedChannel()));
    showingFields_ = wasShowing;
}

}  // namespace config
