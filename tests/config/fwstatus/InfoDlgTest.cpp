// The firmware information prompt on the generated skin (offscreen), against the virtual controller and
// the built updater's package.
#include "FirmwareStatusFixture.h"

#include "InfoDlg.h"
#include "SkinAttributes.h"
#include "SkinDocuments.h"
#include "SkinKeys.h"
#include "XmlDocument.h"

#include <QTest>

namespace fwstatus_test {
namespace {

namespace keys = skindocs::keys;
using fwstatus::CInfoDlg;

QString StringOf(std::u16string_view key) {
    return skin::ToQString(xml::LookupValue(skindocs::StringDocument(), keys::kInfoDlg, key));
}

class InfoDlgFixture : public FirmwareStatusFixture {
protected:
    void SetUp() override {
        FirmwareStatusFixture::SetUp();
        skindocs::LoadSkinDocuments(SKIN_PROGRAM_DIR "/", "1920x1080");
    }
    void TearDown() override {
        prompt_.reset();
        skindocs::ResetSkinDocuments();
        FirmwareStatusFixture::TearDown();
    }

    // Opens the prompt for a controller with `version`; `confirm` answers the update confirmation.
    CInfoDlg& Open(firmware::Version version, int confirm = 1) {
        config::CUSBDriver& link = StartController(version);
        CInfoDlg::Setup setup{.updaterProgram = Updater(),
                              .messages = &sink_,
                              .retries = kQuickRetries,
                              .confirmUpdate = [this, confirm](QWidget* prompt) {
                                  confirmations_.push_back(prompt);
                                  return confirm;
                              }};
        prompt_ = std::make_unique<CInfoDlg>(link, setup);
        prompt_->show();
        return *prompt_;
    }

    static void Click(QWidget& button) { QTest::mouseClick(&button, Qt::LeftButton, {}, button.rect().center()); }

    std::unique_ptr<CInfoDlg> prompt_;
    std::vector<QWidget*> confirmations_;
};

TEST_F(InfoDlgFixture, RequiredUpdateShowsVersionsAndStartsTheUpdaterOnConfirmation) {
    CInfoDlg& prompt = Open({1, 0, 100});
    EXPECT_EQ(prompt.objectName(), "Halcyra WARN_DLG");
    EXPECT_EQ(prompt.windowTitle(), QString::fromUtf8("Firmware \u2013 Halcyra"));
    EXPECT_EQ(prompt.size(), prompt.BackgroundPicture().size());
    EXPECT_FALSE(prompt.BackgroundPicture().isNull());

    const QString software = skin::ToQString(xml::LookupValue(skindocs::SkinDocument(), keys::kInfo, keys::kSwVersion));
    ASSERT_FALSE(StringOf(keys::kStrVerSw).isEmpty());
    ASSERT_FALSE(software.isEmpty());
    EXPECT_EQ(prompt.SoftwareLabel().GetCaption(), StringOf(keys::kStrVerSw) + "V" + software);
    EXPECT_EQ(prompt.FirmwareLabel().GetCaption(), StringOf(keys::kStrVerFw) + "V1.00");
    EXPECT_EQ(prompt.UpdateLabel().GetCaption(), StringOf(keys::kStrVerUpdate) + "V1.10");
    EXPECT_EQ(prompt.UpdateButton().GetCaption(), StringOf(keys::kButtonUpdate));
    EXPECT_EQ(prompt.OkButton().GetCaption(), StringOf(keys::kButtonOk));

    EXPECT_TRUE(prompt.UpdateRequired());
    EXPECT_TRUE(prompt.UpdateButton().isEnabled());
    EXPECT_FALSE(prompt.OkButton().isEnabled());

    Click(prompt.UpdateButton());
    EXPECT_EQ(confirmations_, std::vector<QWidget*>{&prompt});
    EXPECT_EQ(prompt.result(), fwstatus::kPromptStartUpdater);
    EXPECT_FALSE(prompt.isVisible());
}

TEST_F(InfoDlgFixture, DeclinedConfirmationStaysOpenAndClosingLeavesTheProgram) {
    CInfoDlg& prompt = Open({1, 0, 100}, /*confirm=*/2);
    Click(prompt.UpdateButton());
    EXPECT_EQ(confirmations_.size(), 1u);
    EXPECT_TRUE(prompt.isVisible());
    EXPECT_EQ(prompt.result(), 0);

    Click(prompt.CloseButton());
    EXPECT_EQ(prompt.result(), fwstatus::kPromptLeave);
    EXPECT_FALSE(prompt.isVisible());
}

TEST_F(InfoDlgFixture, ClosingTheWindowCannotSkipARequiredUpdate) {
    CInfoDlg& prompt = Open({1, 0, 100});
    prompt.close();
    EXPECT_EQ(prompt.result(), fwstatus::kPromptLeave);
}

TEST_F(InfoDlgFixture, CurrentFirmwareOffersOkAndTheUpdate) {
    CInfoDlg& prompt = Open({1, 1, 0});
    EXPECT_FALSE(prompt.UpdateRequired());
    EXPECT_TRUE(prompt.OkButton().isEnabled());
    EXPECT_TRUE(prompt.UpdateButton().isEnabled()) << "an entry fits";
    Click(prompt.OkButton());
    EXPECT_EQ(prompt.result(), fwstatus::kPromptContinue);

    prompt.setResult(0);
    prompt.show();
    Click(prompt.CloseButton());
    EXPECT_EQ(prompt.result(), fwstatus::kPromptContinue);
}

}  // namespace
}  // namespace fwstatus_test
