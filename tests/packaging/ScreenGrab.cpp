// screen-grab OUT.png SECONDS [PICTURE]: waits up to SECONDS for a window of another process to show
// on the display (anything on the screen that differs from the empty background), then saves the whole
// screen as OUT.png and prints where the drawn area is. With PICTURE, the drawn area must have that
// picture's size (a skinned page drawn from its own picture file). Exit code 0 when it was shown, 1
// when the screen stayed empty or the size differs (the screen is saved either way), 2 on bad arguments,
// no display or an unreadable picture.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QThread>

#include <cstdio>
#include <cstdlib>

namespace {

// The bounding box of the pixels that differ from the top-left corner's (the background).
QRect DrawnArea(const QImage& screen) {
    const QRgb background = screen.pixel(0, 0);
    int left = screen.width(), top = screen.height(), right = -1, bottom = -1;
    for (int y = 0; y < screen.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(screen.constScanLine(y));
        for (int x = 0; x < screen.width(); ++x) {
            if (row[x] == background) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

QImage Grab(QScreen& screen) { return screen.grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32); }

}  // namespace

int main(int argc, char** argv) {
    if ((argc != 3 && argc != 4) || std::atoi(argv[2]) <= 0) {
        std::fprintf(stderr, "usage: screen-grab OUT.png SECONDS [PICTURE]\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    QSize expected;
    if (argc == 4) {
        expected = QImageReader(QString::fromLocal8Bit(argv[3])).size();
        if (!expected.isValid()) {
            std::fprintf(stderr, "screen-grab: cannot read the picture %s\n", argv[3]);
            return 2;
        }
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        std::fprintf(stderr, "screen-grab: no screen\n");
        return 2;
    }
    const qint64 limit = std::atoi(argv[2]) * 1000LL;
    QElapsedTimer clock;
    clock.start();
    QImage image = Grab(*screen);
    while (DrawnArea(image).isEmpty() && clock.elapsed() < limit) {
        QThread::msleep(200);
        image = Grab(*screen);
    }
    // A window is drawn in more than one step: the picture is taken once it has held still (or when
    // the time is up, for a window that keeps moving).
    for (QImage previous; !DrawnArea(image).isEmpty() && image != previous && clock.elapsed() < limit;) {
        previous = image;
        QThread::msleep(500);
        image = Grab(*screen);
    }
    if (!image.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "screen-grab: cannot write %s\n", argv[1]);
        return 2;
    }
    const QRect area = DrawnArea(image);
    if (area.isEmpty()) {
        std::fprintf(stderr, "screen-grab: nothing was shown within %s s\n", argv[2]);
        return 1;
    }
    std::printf("shown: %dx%d at %d,%d\n", area.width(), area.height(), area.x(), area.y());
    if (expected.isValid() && area.size() != expected) {
        std::fprintf(stderr, "screen-grab: the window is %dx%d, not the picture's %dx%d\n", area.width(),
                     area.height(), expected.width(), expected.height());
        return 1;
    }
    return 0;
}
