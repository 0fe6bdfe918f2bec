#include "FakeUpdateSession.h"
#include "ScopedEnvironment.h"
#include "SessionBinding.h"
#include "SkinErrorMessage.h"
#include "SkinPictures.h"
#include "SkinRecord.h"
#include "TessaflashDlg.h"
#include "UpdaterPictures.h"
#include "WarningDlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using updater::CTessaflashDlg;
using updater::CWarning;
using updater_skin::UpdaterPicture;
using updatertest::FakeButtons;
using updatertest::FakeTexts;
using updatertest::FakeUpdateSession;

QRect RecordRect(const std::u16string& record) { return skin::ToQRect(skin::ParseSkinRecord(record).rect); }

// Pixels of `rect` that differ between two pictures.
int DifferingPixels(const QImage& a, const QImage& b, const QRect& rect) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) count += a.pixel(x, y) != b.pixel(x, y);
    }
    return count;
}

QImage Rendered(QWidget& widget) { return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32); }
QImage Picture(UpdaterPicture role) { return updater::LoadUpdaterPicture(role).convertToFormat(QImage::Format_ARGB32); }

class TessaflashDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousHook_ = skin::SetErrorMessageHook([this](QWidget*, const QString& text) { errors.push_back(text); });
        window.SetResultPageRunner([this](int code) { resultPages.push_back(code); });
        window.SetMessageRunner([this](const QString& text, const QString& caption) {
            messages.push_back(caption + ": " + text);
        });
        updater::BindSessionToWindow(session, window);
        window.show();
    }
    void TearDown() override { skin::SetErrorMessageHook(previousHook_); }

    FakeUpdateSession session;
    CTessaflashDlg window;
    std::vector<QString> errors;
    std::vector<int> resultPages;
    std::vector<QString> messages;

private:
    skin::ErrorMessageHook previousHook_;
};

TEST(UpdaterPictures, DenseScreensGetTheTwiceDensityPicturesAtTheSameLogicalSize) {
    for (const UpdaterPicture role : {UpdaterPicture::MainNormal, UpdaterPicture::BarFull, UpdaterPicture::BarMarker}) {
        const QImage single = updater::LoadUpdaterPicture(role);
        const QImage dense = updater::LoadUpdaterPicture(role, 2.0);
        ASSERT_FALSE(single.isNull()) << static_cast<int>(role);
        EXPECT_EQ(dense.devicePixelRatio(), 2.0) << static_cast<int>(role);
        EXPECT_EQ(dense.size(), single.size() * 2) << static_cast<int>(role);
        EXPECT_EQ(skin::LogicalSize(dense), single.size()) << static_cast<int>(role);
    }
}

TEST_F(TessaflashDlgTest, PageTakesItsSizeOutlineAndButtonsFromTheResources) {
    EXPECT_EQ(window.size(), Picture(UpdaterPicture::MainNormal).size());
    EXPECT_TRUE(errors.empty());
    EXPECT_FALSE(window.mask().isEmpty());
    EXPECT_FALSE(window.mask().contains(QPoint(0, 0)));  // rounded corner cut away
    EXPECT_TRUE(window.mask().contains(QPoint(400, 200)));
    const auto& layout = window.Layout();
    EXPECT_EQ(window.OkButton().geometry(), RecordRect(layout.confirmOk));
    EXPECT_EQ(window.CancelButton().geometry(), RecordRect(layout.confirmCancel));
    EXPECT_EQ(window.CloseButton().geometry(), RecordRect(layout.confirmClose));
}

TEST_F(TessaflashDlgTest, ShowsTheSessionsTextsInTheirRectangles) {
    const QImage before = Rendered(window);
    session.SetTexts({"Firmware 1.1", "Maker", "Controller", "V1.10", "V1.00", "HALCYRA-VCTRL-01", "", ""});
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Firmware 1.1"));
    const QImage after = Rendered(window);
    const auto& layout = window.Layout();
    EXPECT_GT(DifferingPixels(before, after, layout.updateVersion.rect), 20);
    EXPECT_GT(DifferingPixels(before, after, layout.currentVersion.rect), 20);
    // The layout name starts at its corner and runs to the right.
    EXPECT_GT(DifferingPixels(before, after, QRect(layout.layoutName.rect.topLeft(), QSize(60, 21))), 20);
    // "Installed: Main V1.00" over "New: V1.10": both versions in one column, the name on the line of
    // the installed version.
    const auto boxes = window.VersionTextBoxes();
    EXPECT_EQ(boxes.updateVersion.left(), boxes.currentVersion.left());
    EXPECT_EQ(boxes.layoutName.center().y(), boxes.currentVersion.center().y());
    EXPECT_EQ(boxes.layoutName.left(), layout.layoutName.rect.left());
    // Outside the texts the page is its background.
    EXPECT_EQ(DifferingPixels(before, after, QRect(59, 164, 684, 100)), 0);

    // A controller that went away leaves no version and no layout name.
    session.SetTexts({"Firmware 1.1", "Maker", "Controller", "V1.10", "", "", "", ""});
    const QImage cleared = Rendered(window);
    EXPECT_EQ(DifferingPixels(before, cleared, layout.currentVersion.rect), 0);
    EXPECT_EQ(DifferingPixels(before, cleared, QRect(layout.layoutName.rect.topLeft(), QSize(60, 21))), 0);
}

// The page says how long the update takes, and while it runs, its phase and percentage in place of
// the instruction to press OK.
TEST_F(TessaflashDlgTest, StatusLinesShowTheDurationAndTheRunningPhase) {
    session.SetTexts({"Firmware 1.1", "Maker", "Controller", "V1.10", "V1.00", "Main", "", ""});
    session.SetButtons({true, true, true, false});
    const QImage plain = Rendered(window);
    session.SetTexts({"Firmware 1.1", "Maker", "Controller", "V1.10", "V1.00", "Main", "The update takes about 6 seconds.",
                      "Writing the image: 45 %"});
    EXPECT_EQ(window.ShownStatusLines().instruction, QString()) << "no phase before the update runs";
    EXPECT_EQ(window.ShownStatusLines().duration, QStringLiteral("The update takes about 6 seconds."));
    const QImage withDuration = Rendered(window);
    EXPECT_GT(DifferingPixels(plain, withDuration, CTessaflashDlg::DurationLineRect()), 50);
    EXPECT_EQ(DifferingPixels(plain, withDuration, CTessaflashDlg::InstructionLineRect()), 0);

    session.SetButtons({false, false, false, true});
    EXPECT_EQ(window.ShownStatusLines().instruction, QStringLiteral("Writing the image: 45 %"));
    const QImage running = Rendered(window);
    EXPECT_GT(DifferingPixels(withDuration, running, CTessaflashDlg::InstructionLineRect()), 50);
}

TEST_F(TessaflashDlgTest, ButtonsAndBarFollowTheSessionsState) {
    const struct {
        const char* state;
        FakeButtons buttons;
    } states[] = {
        {"no controller", {false, false, true, false}},
        {"controller ready", {true, true, true, false}},
        {"updating", {false, false, false, true}},
        {"after a unit's update", {true, true, true, false}},
    };
    const QImage background = Picture(UpdaterPicture::MainNormal);
    session.SetProgress(50);
    for (const auto& s : states) {
        session.SetButtons(s.buttons);
        EXPECT_EQ(window.OkButton().isEnabled(), s.buttons.ok) << s.state;
        EXPECT_EQ(window.CancelButton().isEnabled(), s.buttons.cancel) << s.state;
        EXPECT_EQ(window.CloseButton().isEnabled(), s.buttons.close) << s.state;
        const int changed = DifferingPixels(background, Rendered(window), window.Layout().barRect);
        if (s.buttons.updating) {
            EXPECT_GT(changed, 0) << s.state;
        } else {
            EXPECT_EQ(changed, 0) << s.state;
        }
    }
}

TEST_F(TessaflashDlgTest, ProgressFillsTheBarFromTheLeft) {
    session.SetButtons({false, false, false, true});
    const QImage empty = Picture(UpdaterPicture::BarEmpty);
    const QImage full = Picture(UpdaterPicture::BarFull);
    const QRect bar = window.Layout().barRect;
    const int row = empty.height() / 2;
    for (int percent : {0, 10, 45, 80, 100}) {
        session.SetProgress(percent);
        ASSERT_EQ(window.Progress(), percent);
        const int fill = window.BarGeometry().fillWidth;
        EXPECT_EQ(fill, empty.width() * percent / 100);
        const QImage page = Rendered(window);
        for (int x = 0; x < empty.width(); x += 7) {
            const QImage& expected = x < fill ? full : empty;
            ASSERT_EQ(page.pixel(bar.left() + x, bar.top() + row), expected.pixel(x, row))
                << percent << "% at " << x;
        }
    }
}

TEST_F(TessaflashDlgTest, ButtonsAskTheSessionToUpdateOrEnd) {
    session.SetButtons({true, true, true, false});
    QTest::mouseClick(&window.OkButton(), Qt::LeftButton);
    EXPECT_EQ(session.updateRequests, 1);
    EXPECT_EQ(session.cancels, 0);

    for (skin::CBitmapBtn* button : {&window.CancelButton(), &window.CloseButton()}) {
        session.exitCodeOnCancel = 2;
        window.show();
        const int cancelsBefore = session.cancels;
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(session.cancels, cancelsBefore + 1);
        QCoreApplication::processEvents();
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(window.result(), 2);
    }
    EXPECT_EQ(session.updateRequests, 1);
}

TEST_F(TessaflashDlgTest, EnterAndEscapeActOnlyOutsideAnUpdate) {
    const struct {
        const char* name;
        FakeButtons buttons;
        int key;
        int updateRequests;
        int cancels;
    } cases[] = {
        {"Enter, OK usable", {true, true, true, false}, Qt::Key_Return, 1, 0},
        {"Enter, OK disabled", {false, false, true, false}, Qt::Key_Enter, 0, 0},
        {"Enter while updating", {false, false, false, true}, Qt::Key_Return, 0, 0},
        {"Escape", {false, false, true, false}, Qt::Key_Escape, 0, 1},
        {"Escape while updating", {false, false, false, true}, Qt::Key_Escape, 0, 0},
    };
    for (const auto& c : cases) {
        FakeUpdateSession fresh;
        CTessaflashDlg page;
        updater::BindSessionToWindow(fresh, page);
        fresh.SetButtons(c.buttons);
        fresh.exitCodeOnCancel = 7;
        page.show();
        QTest::keyClick(&page, static_cast<Qt::Key>(c.key));
        EXPECT_EQ(fresh.updateRequests, c.updateRequests) << c.name;
        EXPECT_EQ(fresh.cancels, c.cancels) << c.name;
    }
}

TEST_F(TessaflashDlgTest, ClosingFromOutsideIsRefusedWhileUpdating) {
    session.SetButtons({false, false, false, true});
    EXPECT_FALSE(window.close());
    EXPECT_EQ(session.cancels, 0);
    EXPECT_TRUE(window.isVisible());

    session.SetButtons({true, true, true, false});
    session.exitCodeOnCancel = 0;
    window.close();
    EXPECT_EQ(session.cancels, 1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(TessaflashDlgTest, ResultPagesAndMessagesComeFromTheSession) {
    for (int code : {1, 2, 3}) emit session.resultReady(code, 0);
    EXPECT_EQ(resultPages, (std::vector<int>{1, 2, 3}));
    emit session.messageBox("Get Info Error!", "Error");
    EXPECT_EQ(messages, (std::vector<QString>{"Error: Get Info Error!"}));
    EXPECT_TRUE(window.isVisible());  // the page for a current firmware leaves the window open
}

TEST_F(TessaflashDlgTest, SessionEndingBeforeTheModalLoopStillEndsIt) {
    window.hide();
    emit session.finished(3);  // e.g. while the session starts, before exec() runs
    EXPECT_EQ(window.exec(), 3);
}

// Drags `page` by a background point and returns how far it moved.
QPoint DragBy(QWidget& page, const QPoint& grip, const QPoint& distance) {
    const QPoint start = page.pos();
    const QPoint global = page.mapToGlobal(grip);
    QMouseEvent press(QEvent::MouseButtonPress, grip, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&page, &press);
    QMouseEvent move(QEvent::MouseMove, grip + distance, global + distance, Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&page, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, grip + distance, global + distance, Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&page, &release);
    return page.pos() - start;
}

TEST_F(TessaflashDlgTest, DraggingTheBackgroundMovesEveryPage) {
    EXPECT_EQ(DragBy(window, QPoint(400, 150), QPoint(30, 20)), QPoint(30, 20));
    session.SetButtons({false, false, false, true});  // also while an update runs
    EXPECT_EQ(DragBy(window, QPoint(100, 380), QPoint(-12, 7)), QPoint(-12, 7));
    CWarning page(CWarning::kFailed, window.Layout());
    page.show();
    EXPECT_EQ(DragBy(page, QPoint(200, 300), QPoint(25, -5)), QPoint(25, -5));
}

TEST(WarningPage, EachCodeShowsItsPicturesAndEitherButtonClosesIt) {
    const struct {
        int code;
        UpdaterPicture background;
        UpdaterPicture hover;
        const char* text;
        const char* title;
    } pages[] = {
        {CWarning::kSuccess, UpdaterPicture::SuccessBackground, UpdaterPicture::SuccessHover,
         "Firmware Update Success!", "Firmware update complete"},
        {CWarning::kFailed, UpdaterPicture::FailBackground, UpdaterPicture::FailHover, "Firmware Update Failed!",
         "Firmware update failed"},
        {CWarning::kAlreadyCurrent, UpdaterPicture::CurrentBackground, UpdaterPicture::CurrentHover, "Error",
         "Firmware is up to date"},
    };
    std::vector<QString> errors;
    const skin::ErrorMessageHook previous =
        skin::SetErrorMessageHook([&errors](QWidget*, const QString& text) { errors.push_back(text); });
    const updater::UpdaterLayout layout = updater::LoadUpdaterLayout();
    for (const auto& p : pages) {
        for (bool useClose : {false, true}) {
            CWarning page(p.code, layout);
            page.show();
            const QImage background = Picture(p.background);
            EXPECT_EQ(page.size(), background.size()) << p.code;
            EXPECT_EQ(DifferingPixels(background, Rendered(page), QRect(QPoint(0, 0), background.size())), 0)
                << p.code;
            EXPECT_FALSE(page.mask().contains(QPoint(0, 0))) << p.code;
            EXPECT_EQ(page.OkButton().geometry(), RecordRect(layout.resultOk));
            EXPECT_EQ(page.CloseButton().geometry(), RecordRect(layout.resultClose));
            EXPECT_EQ(CWarning::MessageText(p.code), QString::fromLatin1(p.text));
            EXPECT_EQ(page.windowTitle(), QString::fromLatin1(p.title)) << "a title for people, never \"Error\"";

            skin::CBitmapBtn& button = useClose ? page.CloseButton() : page.OkButton();
            QTest::mouseClick(&button, Qt::LeftButton);
            EXPECT_FALSE(page.isVisible()) << p.code;
            EXPECT_EQ(page.result(), QDialog::Accepted) << p.code;
        }
    }
    EXPECT_TRUE(errors.empty());
    skin::SetErrorMessageHook(previous);
}

// The updater speaks the desktop's language: on a German desktop its main page and result pages are the
// German pictures, on any other the English ones.
TEST(UpdaterLanguage, PagesFollowTheDesktopsLanguage) {
    const QRect instruction(59, 164, 684, 24);  // the main page's "Press OK ..." line
    const QRect message(80, 232, 640, 56);      // a result page's message
    platform_test::ScopedEnvironment environment;
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) environment.Unset(name);
    const updater::UpdaterLayout layout = updater::LoadUpdaterLayout();
    std::map<std::string, QImage> mainPages;
    std::map<std::string, QImage> resultPages;
    std::map<std::string, QString> resultTitles;
    for (const char* lang : {"C.UTF-8", "en_GB.UTF-8", "de_DE.UTF-8", "de_AT.UTF-8"}) {
        environment.Set("LANG", lang);
        FakeUpdateSession session;
        CTessaflashDlg window;
        updater::BindSessionToWindow(session, window);
        window.show();
        mainPages[lang] = Rendered(window);
        CWarning result(CWarning::kSuccess, layout);
        result.show();
        resultPages[lang] = Rendered(result);
        resultTitles[lang] = result.windowTitle();
    }
    const auto differing = [](std::map<std::string, QImage>& pages, const char* a, const char* b, const QRect& rect) {
        return DifferingPixels(pages[a], pages[b], rect);
    };
    EXPECT_EQ(differing(mainPages, "C.UTF-8", "en_GB.UTF-8", instruction), 0);
    EXPECT_GT(differing(mainPages, "C.UTF-8", "de_DE.UTF-8", instruction), 200) << "German text on the main page";
    EXPECT_EQ(differing(mainPages, "de_DE.UTF-8", "de_AT.UTF-8", instruction), 0);
    EXPECT_EQ(differing(resultPages, "C.UTF-8", "en_GB.UTF-8", message), 0);
    EXPECT_GT(differing(resultPages, "C.UTF-8", "de_DE.UTF-8", message), 200) << "German text on the result page";
    EXPECT_EQ(resultTitles["en_GB.UTF-8"], QStringLiteral("Firmware update complete"));
    EXPECT_EQ(resultTitles["de_AT.UTF-8"], QStringLiteral("Firmware-Aktualisierung abgeschlossen")) << "the window's title too";
}

}  // namespace
