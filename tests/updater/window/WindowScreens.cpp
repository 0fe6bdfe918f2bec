// updater_window_screens OUTDIR: shows each of the updater's pages on a real display (run under
// Xvfb), driven by the stand-in session, and saves what the screen shows: confirm.png, progress.png,
// success.png, failure.png and current.png. Fails when a page does not appear on the screen as its
// picture, or when its outline does not cut the corners away (which only a real display shows).
#include "FakeUpdateSession.h"
#include "SessionBinding.h"
#include "TessaflashDlg.h"
#include "UpdaterPictures.h"
#include "WarningDlg.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTest>

#include <cstdio>

namespace {

using updater_skin::UpdaterPicture;

const QPoint kPagePosition(40, 40);

// Shows `page` at the fixed position, waits until the display has drawn it, and returns the screen's
// pixels where the page is.
QImage ShowAndGrab(QWidget& page) {
    page.move(kPagePosition);
    page.show();
    if (!QTest::qWaitForWindowExposed(&page)) std::fprintf(stderr, "the page was never exposed\n");
    QTest::qWait(300);
    const QRect area(kPagePosition, page.size());
    return page.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
}

// The page is on the screen when its centre shows the picture's centre, and shaped when its top-left
// corner shows what lies behind it rather than the picture. On a dense screen (QT_SCALE_FACTOR=2) the
// screen's pixels are compared with the twice-density picture's.
bool Check(const char* name, const QImage& screen, UpdaterPicture background, qreal ratio) {
    const QImage picture = updater::LoadUpdaterPicture(background, ratio).convertToFormat(QImage::Format_RGB32);
    const QImage shown = screen.convertToFormat(QImage::Format_RGB32);
    const QPoint centre(picture.width() / 2, picture.height() / 2);
    bool ok = true;
    if (shown.size() != picture.size() || shown.pixel(centre) != picture.pixel(centre)) {
        std::fprintf(stderr, "%s: the page is not on the screen as its picture\n", name);
        ok = false;
    } else if (shown.pixel(0, 0) == picture.pixel(0, 0)) {
        std::fprintf(stderr, "%s: the outline does not cut the corner away\n", name);
        ok = false;
    }
    return ok;
}

bool Save(const QImage& screen, const QDir& folder, const char* file) {
    const bool saved = screen.save(folder.filePath(QString::fromLatin1(file)));
    if (!saved) std::fprintf(stderr, "cannot write %s\n", file);
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: updater_window_screens OUTDIR\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(folder.path());
    bool ok = true;

    updatertest::FakeUpdateSession session;
    updater::CTessaflashDlg window;
    updater::BindSessionToWindow(session, window);
    session.SetTexts({"Firmware Update", "Marovell", "Tessaflash", "V1.10", "V1.00", "Main",
                      "The update takes about 6 seconds.", "Writing the image: 60 %"});
    session.SetButtons({true, true, true, false});
    const QImage confirm = ShowAndGrab(window);
    ok &= Check("confirm", confirm, UpdaterPicture::MainNormal, window.devicePixelRatioF()) && Save(confirm, folder, "confirm.png");

    session.SetButtons({false, false, false, true});
    session.SetProgress(60);
    QTest::qWait(200);
    const QImage progress = ShowAndGrab(window);
    ok &= Check("progress", progress, UpdaterPicture::MainNormal, window.devicePixelRatioF()) && Save(progress, folder, "progress.png");
    window.hide();

    const struct {
        int code;
        UpdaterPicture background;
        const char* file;
    } results[] = {
        {updater::CWarning::kSuccess, UpdaterPicture::SuccessBackground, "success.png"},
        {updater::CWarning::kFailed, UpdaterPicture::FailBackground, "failure.png"},
        {updater::CWarning::kAlreadyCurrent, UpdaterPicture::CurrentBackground, "current.png"},
    };
    for (const auto& result : results) {
        updater::CWarning page(result.code, window.Layout());
        const QImage shown = ShowAndGrab(page);
        ok &= Check(result.file, shown, result.background, page.devicePixelRatioF()) && Save(shown, folder, result.file);
    }
    return ok ? 0 : 1;
}
