// The table generator's dialog as a person and the LED page use it: typing into the fields and
// pressing the buttons sends what the engine generates and shows it in the output field, the
// channel selector keeps each channel's parameters, input errors appear as message boxes, and a
// hidden dialog sends the tables when frequencies are applied.
#include "LEDConvDlg.h"
#include "RecordingTableLink.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

using config::CLEDConvDlg;
using config_test::Payload;
using config_test::RecordingLink;
using config_test::Sent;
namespace id = config::ledconv;

class LEDConvDlgTest : public ::testing::Test {
protected:
    // Message boxes are answered as they appear and their texts and owners kept; a test that expects
    // one takes it out of `messages_`, any other fails the test instead of blocking it.
    void SetUp() override {
        boxCloser_.setInterval(5);
        QObject::connect(&boxCloser_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages_.push_back({box->text(), box->parentWidget()});
                box->accept();
            }
        });
        boxCloser_.start();
    }
    void TearDown() override {
        for (const auto& message : messages_) ADD_FAILURE() << "unexpected message: " << message.text.toStdString();
    }
    // The person's tests see the dialog; the LED page's keep it hidden.
    void ShowDialog() {
        dialog_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog_));
    }
    template <typename Widget = QWidget>
    Widget* Find(int controlId) {
        auto* widget = qobject_cast<Widget*>(dialog_.Control(controlId));
        EXPECT_NE(widget, nullptr) << "control " << controlId;
        return widget;
    }
    // Replaces a field's text as a person would: select all, type.
    void Type(int controlId, const QString& text) {
        QLineEdit* field = Find<QLineEdit>(controlId);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
    void Click(int controlId) { QTest::mouseClick(Find<QAbstractButton>(controlId), Qt::LeftButton); }
    void CheckOnlyChannels(std::initializer_list<int> channels) {
        for (int c = 0; c < 6; ++c) {
            QCheckBox* box = Find<QCheckBox>(id::kChannelCheckFirst + c);
            const bool wanted = std::find(channels.begin(), channels.end(), c) != channels.end();
            if (box->isChecked() != wanted) QTest::mouseClick(box, Qt::LeftButton);
        }
    }
    QString Output() { return Find<QPlainTextEdit>(id::kOutput)->toPlainText(); }
    QString FieldText(int controlId) { return Find<QLineEdit>(controlId)->text(); }

    struct Message {
        QString text;
        QWidget* owner;
    };
    std::vector<Message> messages_;
    QTimer boxCloser_;
    RecordingLink link_;
    QWidget owner_;
    CLEDConvDlg dialog_{&link_, &owner_};
};

TEST_F(LEDConvDlgTest, ShowsTheTemplateControlsHidden) {
    EXPECT_FALSE(dialog_.isVisible()) << "created hidden";
    EXPECT_EQ(dialog_.windowTitle(), "LEDConv");
    const char* const captions[6] = {"1=Red", "2=Blue", "3=Green(LED0)", "4=Green(LED1)", "5=Green(LED2)", "6=Green(LED3)"};
    auto* selector = Find<QComboBox>(id::kChannelSelector);
    ASSERT_EQ(selector->count(), 6);
    for (int c = 0; c < 6; ++c) {
        auto* box = Find<QCheckBox>(id::kChannelCheckFirst + c);
        EXPECT_EQ(box->text(), captions[c]);
        EXPECT_TRUE(box->isChecked());
        EXPECT_EQ(selector->itemText(c), captions[c]);
    }
    EXPECT_TRUE(Find<QRadioButton>(id::kHertzUnit)->isChecked());
    EXPECT_FALSE(Find<QRadioButton>(id::kPeriodUnit)->isEnabled());
    EXPECT_EQ(Find<QLabel>(id::kFormula)->text(), "ReloadCount = (48000000/Hz)-1");
    // The first channel's defaults are in the parameter fields.
    EXPECT_EQ(FieldText(id::kCurve), "50");
    EXPECT_EQ(FieldText(id::kMaxDuty), "100");
    for (int control = id::kLedColorFirst; control < id::kLedColorFirst + 12; ++control) EXPECT_NE(Find(control), nullptr);

    // The picture shows the dialog after a generation, with the bytes sent in the output field.
    dialog_.ApplyFrequencies({1000, 2000, 3000, 4000, 5000, 100});
    ShowDialog();
    const QPixmap shot = dialog_.grab();
    EXPECT_FALSE(shot.isNull());
    if (const char* dir = std::getenv("HALCYRA_RENDER_DIR")) shot.save(QString::fromLocal8Bit(dir) + "/ledconv_dialog.png");
}

TEST_F(LEDConvDlgTest, ButtonsSendWhatTheFieldsSayAndShowIt) {
    ShowDialog();
    CheckOnlyChannels({0, 3});
    Type(id::kFrequencyFirst, "1000");
    Type(id::kFrequencyFirst + 3, "0x64");  // 100 Hz: prescaler 7, reload 59999 = 0xEA5F
    Click(id::kGeneratePwmReload);
    ASSERT_EQ(link_.sent.size(), 1u);
    const Payload expected{1, 0, 0x7F, 0xBB, 4, 7, 0x5F, 0xEA};
    EXPECT_EQ(link_.sent[0].kind, Sent::Pwm);
    EXPECT_EQ(link_.sent[0].data, expected);
    EXPECT_EQ(Output(), "51 71 00 00 01 00 7f bb 04 07 5f ea ");
    EXPECT_EQ(FieldText(id::kMaxValue), "47999") << "the selected channel's reload count";

    // LED 2's red of 200 puts channel 3's table at range 3.
    Type(id::kLedColorFirst + 6, "200");
    Click(id::kCalculate);
    EXPECT_EQ(FieldText(id::kTableIndexFirst + 2), "0x203");
    EXPECT_EQ(FieldText(id::kTableIndexFirst), "0x0");

    link_.sent.clear();
    Type(id::kMaxDuty, "50");
    Click(id::kGenerateConvertTable);
    const auto blocks = link_.Of(Sent::Conversion);
    ASSERT_EQ(blocks.size(), 6u) << "five blocks and the end marker";
    for (std::uint16_t k = 0; k < 5; ++k) EXPECT_EQ(blocks[k].page, k);
    EXPECT_EQ(blocks[5].page, 0xFFFF);
    EXPECT_EQ(dialog_.Engine().Channel(0).result, 47999 * 0.5) << "the typed duty reached the engine";
    const QStringList lines = Output().split('\n');
    ASSERT_EQ(lines.size(), 4 * 2 + 1 + 1) << "the four full blocks break after their 30th byte, then the 16-byte block and the end marker";
    EXPECT_TRUE(lines[0].startsWith("51 70 00 00 ")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(QString(17, QLatin1Char(' '))));
    EXPECT_EQ(lines[9], "51 70 ff ff ");
}

TEST_F(LEDConvDlgTest, OneClickGenerationSendsEveryCheckedChannelOnce) {
    ShowDialog();
    CheckOnlyChannels({1, 4});
    Type(id::kFrequencyFirst + 1, "2000");
    Type(id::kFrequencyFirst + 4, "500");
    Click(id::kGenerateAll);
    ASSERT_EQ(link_.Of(Sent::Pwm).size(), 1u);
    const auto blocks = link_.Of(Sent::Conversion);
    ASSERT_EQ(blocks.size(), 2u * 5 + 1);
    EXPECT_EQ(blocks[0].page, 0x100) << "channel 2's table";
    EXPECT_EQ(blocks[5].page, 0x400) << "channel 5's table";
    EXPECT_EQ(blocks.back().page, 0xFFFF);
    EXPECT_EQ(Output().count("51 70 ff ff"), 1) << "one end marker, shown after both tables";
    EXPECT_TRUE(Output().startsWith("51 71 00 00 02 00 "));
    EXPECT_EQ(Find<QComboBox>(id::kChannelSelector)->currentIndex(), 0) << "the selected channel comes back";
}

TEST_F(LEDConvDlgTest, ChannelSelectorKeepsEachChannelsParameters) {
    ShowDialog();
    auto* selector = Find<QComboBox>(id::kChannelSelector);
    selector->setCurrentIndex(1);
    Type(id::kCurve, "80");
    Find<QCheckBox>(id::kAutoShift)->click();
    selector->setCurrentIndex(3);
    EXPECT_EQ(FieldText(id::kCurve), "50") << "channel 4 has its own defaults";
    EXPECT_FALSE(Find<QCheckBox>(id::kAutoShift)->isChecked());
    Type(id::kCurve, "20");
    Type(id::kShift, "2");
    selector->setCurrentIndex(1);
    EXPECT_EQ(FieldText(id::kCurve), "80");
    EXPECT_TRUE(Find<QCheckBox>(id::kAutoShift)->isChecked());
    EXPECT_EQ(dialog_.Engine().SelectedChannel(), 1u);
    EXPECT_EQ(dialog_.Engine().Channel(3).curve, 20);
    EXPECT_EQ(dialog_.Engine().Channel(3).shift, 2);

    // One-click generation walks through the channels and comes back with the fields unchanged.
    dialog_.ApplyFrequencies({1000, 1000, 1000, 1000, 1000, 1000});
    EXPECT_EQ(selector->currentIndex(), 1);
    EXPECT_EQ(FieldText(id::kCurve), "80");
    EXPECT_EQ(FieldText(id::kMaxValue), "47999");
    EXPECT_EQ(dialog_.Engine().Channel(3).curve, 20);
}

TEST_F(LEDConvDlgTest, HiddenDialogSendsTheTablesWhenFrequenciesAreApplied) {
    dialog_.ApplyFrequencies({1000, 2000, 3000, 4000, 5000, 100});
    EXPECT_FALSE(dialog_.isVisible());
    const auto pwm = link_.Of(Sent::Pwm);
    ASSERT_EQ(pwm.size(), 1u);
    EXPECT_EQ(link_.sent.front().kind, Sent::Pwm) << "the reload table goes first";
    EXPECT_EQ(pwm[0].data[20], 6);
    EXPECT_EQ(pwm[0].data[21], 7) << "channel 6 at 100 Hz needs prescaler 7";
    EXPECT_EQ(link_.Of(Sent::Conversion).size(), 6u * 5 + 1);
    EXPECT_EQ(FieldText(id::kFrequencyFirst + 1), "2000");
    EXPECT_EQ(FieldText(id::kFrequencyFirst + 5), "100");
    EXPECT_EQ(Output().count("51 70 "), 6 * 5 + 1);
}

TEST_F(LEDConvDlgTest, InputErrorsAppearInAMessageBoxAndSendNothing) {
    owner_.show();  // the hidden dialog's messages appear over its owner
    dialog_.ApplyFrequencies({1000, 1000, 0, 1000, 1000, 1000});
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "Channel 3's value is wrong! (2 ~ 635535)");
    EXPECT_EQ(messages_[0].owner, &owner_);
    messages_.clear();
    EXPECT_TRUE(link_.sent.empty());

    // Shown, the dialog owns its messages.
    ShowDialog();
    Type(id::kMaxValue, "1000");
    Type(id::kMaxDuty, "150");
    Click(id::kGenerateConvertTable);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "Duty's value is 0 ~ 100!");
    EXPECT_EQ(messages_[0].owner, &dialog_);
    messages_.clear();
    EXPECT_TRUE(link_.sent.empty());
}

TEST_F(LEDConvDlgTest, DevicePlugShowsTheStatusAndSetsTheMode) {
    dialog_.OnDevicePlug(true);
    EXPECT_EQ(Find<QLabel>(id::kDeviceStatus)->text(), "Device Plugged");
    ASSERT_EQ(link_.sent.size(), 1u);
    EXPECT_EQ(link_.sent[0].kind, Sent::Mode);
    EXPECT_EQ(link_.sent[0].page, 1);
    dialog_.OnDevicePlug(false);
    EXPECT_EQ(Find<QLabel>(id::kDeviceStatus)->text(), "Device Removed");
    EXPECT_EQ(link_.sent.size(), 1u);
}

}  // namespace
