// The pop-ups on the generated skin of the program folder.
#include "DlgLoading.h"
#include "LoadingDlg.h"
#include "PopupWindows.h"
#include "ProgressDlg.h"
#include "SkinDocuments.h"
#include "SkinPictures.h"
#include "SkinRecord.h"
#include "WarnDlg.h"
#include "WindowMessage.h"
#include "XmlDocument.h"

#include <QTest>
#include <QElapsedTimer>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>

namespace {

class PopupTest : public ::testing::Test {
protected:
    void SetUp() override { skindocs::LoadSkinDocuments(HALCYRA_PROGRAM_DIR "/", "1920x1080/"); }
    void TearDown() override { skindocs::ResetSkinDocuments(); }
};

// Runs `dialog` modally; `during` runs once its loop is up.
int RunModal(QDialog& dialog, std::function<void()> during) {
    QTimer::singleShot(0, &dialog, std::move(during));
    return dialog.exec();
}

QString Text(xml::CXmlDocument& document, std::u16string_view section, std::u16string_view key) {
    return QString::fromStdU16String(xml::LookupValue(document, section, key));
}

void Click(QWidget& button) { QTest::mouseClick(&button, Qt::LeftButton, {}, button.rect().center()); }

struct WarnCase {
    const char* section;
    const char* buttonSection;
    const char* message;
};

const WarnCase kWarnCases[] = {
    {"NO_KEYBOARD", "NO_KEYBOARD", "NO_KEYBOARD"},  // the no-device warning
    {"WarnDlg", "", "NO_SAVE"},                     // the unsaved-changes question
};

TEST_F(PopupTest, WarningOpensWithItsTextsButtonsAndTitle) {
    for (const WarnCase& test : kWarnCases) {
        SCOPED_TRACE(test.message);
        config::CWarnDlg dialog;
        dialog.SetSections(test.section, test.buttonSection);
        dialog.SetMessage(test.message);
        RunModal(dialog, [&] {
            EXPECT_EQ(dialog.objectName(), "Halcyra WARN_DLG");
            // People see the warning's own title with the program's name.
            const QString title = Text(skindocs::StringDocument(), QString(test.message).toStdU16String(), u"STR_TITLE");
            EXPECT_FALSE(title.isEmpty());
            EXPECT_EQ(dialog.windowTitle(), title + QString::fromUtf8(" \u2013 Halcyra"));
            EXPECT_EQ(config::FindWindowByTitle(config::kWarnDlgTitle), &dialog);
            EXPECT_FALSE(dialog.BackgroundPicture().isNull());
            EXPECT_EQ(dialog.size(), dialog.BackgroundPicture().size());
            EXPECT_EQ(dialog.ButtonSection(), test.section);
            const std::u16string section = dialog.ButtonSection().toStdU16String();
            EXPECT_EQ(dialog.OkButton().GetCaption(), Text(skindocs::StringDocument(), section, u"BUTTON_OK"));
            EXPECT_FALSE(dialog.OkButton().GetCaption().isEmpty());
            EXPECT_FALSE(dialog.OkButton().geometry().isEmpty());
            EXPECT_FALSE(dialog.CloseButton().geometry().isEmpty());
            // The title and the message are painted over the background.
            const QImage shown = dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QImage background = dialog.BackgroundPicture().convertToFormat(QImage::Format_RGB32);
            const std::u16string message = QString(test.message).toStdU16String();
            for (const std::u16string_view key : {u"STR_TITLE", u"STR_WARN"}) {
                SCOPED_TRACE(QString::fromStdU16String(std::u16string(key)).toStdString());
                EXPECT_FALSE(Text(skindocs::StringDocument(), message, key).isEmpty());
                const QRect area = skin::ToQRect(
                    skin::ParseSkinRecord(xml::LookupValue(skindocs::ButtonDocument(), message, key)).rect);
                ASSERT_FALSE(area.isEmpty());
                EXPECT_NE(shown.copy(area), background.copy(area));
            }
            dialog.done(0);
        });
    }
}

TEST_F(PopupTest, WarningResultsAndKeys) {
    using Button = skin::CBitmapBtn& (config::CWarnDlg::*)();
    const struct {
        Button button;
        int result;
    } cases[] = {{&config::CWarnDlg::OkButton, 1},
                 {&config::CWarnDlg::CancelButton, 2},
                 {&config::CWarnDlg::CloseButton, 2}};
    for (const auto& test : cases) {
        config::CWarnDlg dialog;
        dialog.SetMessage("NO_SAVE");
        EXPECT_EQ(RunModal(dialog,
                           [&] {
                               QTest::keyClick(&dialog, Qt::Key_Escape);
                               QTest::keyClick(&dialog, Qt::Key_Return);
                               EXPECT_TRUE(dialog.isVisible());
                               Click((dialog.*test.button)());
                           }),
                  test.result);
    }
}

TEST_F(PopupTest, ClosingByTitleEndsTheWarningAsCancel) {
    config::CWarnDlg dialog;
    EXPECT_FALSE(config::CloseWindowByTitle(config::kWarnDlgTitle));  // not initialised: no name yet
    EXPECT_EQ(RunModal(dialog, [] { EXPECT_TRUE(config::CloseWindowByTitle(config::kWarnDlgTitle)); }), 2);
}

TEST_F(PopupTest, PopupFlagFollowsWarningAndLoadingObjects) {
    config::g_popupOpen = false;
    {
        config::CWarnDlg warning;
        EXPECT_TRUE(config::g_popupOpen);
    }
    EXPECT_FALSE(config::g_popupOpen);
    {
        config::CLoadingDlg loading;
        EXPECT_TRUE(config::g_popupOpen);
    }
    EXPECT_FALSE(config::g_popupOpen);
    // A pop-up over another (the update confirmation over the firmware prompt, a warning over the
    // loading pop-up): the flag stays set while the one under it is open.
    {
        config::CLoadingDlg loading;
        {
            config::CWarnDlg warning;
        }
        EXPECT_TRUE(config::g_popupOpen);
    }
    EXPECT_FALSE(config::g_popupOpen);
}

TEST_F(PopupTest, LoadingWithoutReaderEndsWithTwo) {
    config::CLoadingDlg dialog;
    EXPECT_EQ(dialog.exec(), 2);
}

TEST_F(PopupTest, LoadingRunsTheReaderWithItsProfileAfterShowing) {
    const struct {
        int readResult;
        int dialogResult;
    } cases[] = {{0, 1}, {1, 2}};
    for (const auto& test : cases) {
        config::CLoadingDlg dialog;
        dialog.SetProfileIndex(3);
        int readProfile = -2;
        QElapsedTimer sinceStart;
        sinceStart.start();
        dialog.SetProfileReader([&](int profile) {
            readProfile = profile;
            // The read waits its full second: never less (a coarse timer may fire 5 % early).
            EXPECT_GE(sinceStart.elapsed(), config::CLoadingDlg::kReadDelayMs);
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(dialog.objectName(), "Halcyra WARN_DLG");
            EXPECT_EQ(dialog.windowTitle(), "Halcyra");
            EXPECT_FALSE(dialog.BarPicture().isNull());
            dialog.SetProgress(60);
            return test.readResult;
        });
        EXPECT_EQ(dialog.exec(), test.dialogResult);
        EXPECT_EQ(readProfile, 3);
        EXPECT_EQ(dialog.Progress(), 60);
    }
}

TEST_F(PopupTest, ProgressPaneRevealsItsBarOverThePercentOfTheWidth) {
    QWidget main;
    main.resize(1920, 1080);
    config::CProgressDlg pane;
    pane.SetImageFolderName("1920x1080");
    ASSERT_TRUE(pane.CreateSkinPage(&main, skin::CBaseDlg::kChildTemplate));
    EXPECT_EQ(pane.objectName(), "Halcyra WARN_DLG");
    EXPECT_EQ(pane.windowTitle(), "Halcyra");
    EXPECT_EQ(pane.BarTop(), Text(skindocs::ButtonDocument(), u"LOADING", u"PROGRESS").toInt());
    ASSERT_FALSE(pane.BarPicture().isNull());
    ASSERT_FALSE(pane.BackgroundPicture().isNull());
    for (const int percent : {50, 100, 0, 130}) {
        pane.SetProgress(percent);
        const int barWidth = config::CProgressDlg::BarWidth(pane.width(), pane.Progress());
        const QImage shown = pane.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage bar = pane.BarPicture().convertToFormat(QImage::Format_RGB32);
        const QImage background = pane.BackgroundPicture().convertToFormat(QImage::Format_RGB32);
        const QRect barArea(0, pane.BarTop(), barWidth, pane.height() - pane.BarTop());
        const QRect restArea(barWidth, pane.BarTop(), pane.width() - barWidth, pane.height() - pane.BarTop());
        EXPECT_EQ(shown.copy(barArea), bar.copy(barArea)) << percent;
        EXPECT_EQ(shown.copy(restArea), background.copy(restArea)) << percent;
        EXPECT_EQ(shown.copy(0, 0, pane.width(), pane.BarTop()), background.copy(0, 0, pane.width(), pane.BarTop()));
    }
    EXPECT_EQ(pane.Progress(), 100);  // 130 is taken as 100
    EXPECT_EQ(config::CProgressDlg::BarWidth(401, 50), 200);
}

// The overlay is a layer inside its owner that covers it; the hosted pop-up becomes the owner's
// transient window, centred on it, and its result is passed on.
TEST_F(PopupTest, OverlayDimsItsOwnerFromInsideAndPassesTheHostedResultOn) {
    QWidget owner;
    owner.move(40, 30);
    owner.resize(1280, 848);
    owner.show();
    config::CDlgLoading overlay(&owner);
    overlay.SetImageFolderName("1920x1080");
    config::CWarnDlg question;
    question.SetMessage("NO_SAVE");
    overlay.SetPopup(&question);
    QTimer::singleShot(100, &question, [&] {
        EXPECT_TRUE(question.isVisible());
        EXPECT_FALSE(overlay.isWindow());
        EXPECT_TRUE(overlay.isVisible());
        EXPECT_EQ(overlay.geometry(), owner.rect());
        EXPECT_EQ(overlay.objectName(), "DLGLoading");
        ASSERT_NE(question.windowHandle(), nullptr);
        EXPECT_EQ(question.windowHandle()->transientParent(), owner.windowHandle());
        EXPECT_LE((question.geometry().center() - owner.frameGeometry().center()).manhattanLength(), 2);
        QTest::keyClick(&question, Qt::Key_Escape);
        EXPECT_TRUE(question.isVisible());
        Click(question.OkButton());
    });
    EXPECT_EQ(overlay.exec(), 1);
    EXPECT_FALSE(overlay.isVisible()) << "the dimming ends with the pop-up";
}

TEST_F(PopupTest, ApplySettingsMessageEndsTheOverlayWithMinusOne) {
    QWidget owner;
    owner.show();
    config::CDlgLoading overlay(&owner);
    overlay.SetImageFolderName("1920x1080");
    config::CWarnDlg question;
    overlay.SetPopup(&question);
    // Once the question shows (however loaded the machine), an apply-settings message ends both.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &owner, [&] {
        if (!question.isVisible()) return;
        poll.stop();
        platform::PostWindowMessage(&owner, config::CDlgLoading::kApplySettingsMessage, 0, 0);
    });
    poll.start(20);
    EXPECT_EQ(overlay.exec(), -1);
    EXPECT_FALSE(question.isVisible());
}

}  // namespace
