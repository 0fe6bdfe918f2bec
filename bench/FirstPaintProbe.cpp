// The start-up benchmark's probe, loaded into the program under measurement with LD_PRELOAD so that
// the program itself carries no hook. When the Qt application object is being made (the program's
// libraries are loaded and its main has begun), it writes the moment and installs an application-wide
// event filter, which writes when the first top-level widget is shown (for a skinned window: after
// it has loaded its skin); the first expose of a top-level widget's window that paints that widget is handled by the
// filter itself (delivered to the window as Qt delivers it, through the window's own event filters: its
// expose handling paints every widget of the window and flushes the backing store), and the moment it
// returns is written too. Both go as lines to the file descriptor named
// by BENCH_FIRST_PAINT_FD, times in CLOCK_MONOTONIC nanoseconds:
//
//   application <nanoseconds>
//   shown <nanoseconds>
//   painted <nanoseconds> <class name of the widget> <width> <height>
//
// Without that variable, or with one that names no number, the probe does nothing.
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

int ReportDescriptor() {
    const char* value = std::getenv("BENCH_FIRST_PAINT_FD");
    if (value == nullptr || *value == '\0') return -1;
    char* end = nullptr;
    const long fd = std::strtol(value, &end, 10);
    return *end == '\0' && fd >= 0 && fd < 1 << 20 ? static_cast<int>(fd) : -1;
}

long long MonotonicNanoseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

class FirstPaintFilter final : public QObject {
public:
    explicit FirstPaintFilter(int fd) : fd_(fd) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (reported_) return false;
        if (event->type() == QEvent::Show && !shown_ && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            shown_ = true;
            ::dprintf(fd_, "shown %lld\n", MonotonicNanoseconds());
        }
        if (event->type() == QEvent::Paint && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) {
            paintedWindow_ = static_cast<QWidget*>(watched);
            return false;
        }
        if (event->type() != QEvent::Expose || !watched->isWindowType() || handling_) return false;
        auto* window = static_cast<QWindow*>(watched);
        if (!window->isExposed()) return false;
        // The window's own handling, here so that its end can be seen; the filter then eats the event.
        // It is delivered again as Qt delivers it, so that the filters installed on the window itself run
        // before its event() as in a run without the probe (a skinned page prepares the looks it shows
        // there); this filter lets the repeated delivery pass (handling_).
        paintedWindow_ = nullptr;
        handling_ = true;
        QCoreApplication::sendEvent(window, event);
        handling_ = false;
        const long long painted = MonotonicNanoseconds();
        if (paintedWindow_ != nullptr && paintedWindow_->windowHandle() == window) {
            reported_ = true;
            ::dprintf(fd_, "painted %lld %s %d %d\n", painted, paintedWindow_->metaObject()->className(),
                         paintedWindow_->width(), paintedWindow_->height());
        }
        return true;
    }

private:
    int fd_;
    bool reported_ = false;
    bool shown_ = false;
    bool handling_ = false;
    QWidget* paintedWindow_ = nullptr;
};

void InstallFirstPaintFilter() {
    const int fd = ReportDescriptor();
    if (fd < 0) return;
    ::dprintf(fd, "application %lld\n", MonotonicNanoseconds());
    QCoreApplication* application = QCoreApplication::instance();
    application->installEventFilter(new FirstPaintFilter(fd));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallFirstPaintFilter)
