// A page picture decoded on a worker thread while the main thread does other work.
//
// The main window's set-up reads its outline, decodes its own background and builds its buttons before
// it makes the LED page; the page's background does not depend on any of that. Decoded ahead on a worker
// thread, it is ready (or nearly) when the page loads it, and the two decodes share the machine's cores
// instead of following each other.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <future>

namespace skin {

class PictureAhead {
public:
    PictureAhead() = default;
    // Waits for a decode that was started and not taken.
    ~PictureAhead();
    PictureAhead(const PictureAhead&) = delete;
    PictureAhead& operator=(const PictureAhead&) = delete;

    // Starts decoding `path` as LoadPictureFile(path, picture, &size, ratio) does.
    void Start(const QString& path, qreal ratio);

    // Whether a decode of `path` at `ratio` was started and not yet taken: then waits for it and gives
    // LoadPictureFile's outcome: its return value in `error`, and on success the picture in `picture` and
    // its logical size in `size` (both are left as they were otherwise). A decode of another file or at
    // another ratio is dropped, and false returned, as when nothing was started: the caller loads the
    // picture itself.
    bool Take(const QString& path, qreal ratio, int& error, QImage& picture, QSize& size);
    // Whether a started decode has ended (Take then does not wait).
    bool Ready() const;

private:
    struct Decoded {
        int error = 0;
        QImage picture;
        QSize size;
    };
    QString path_;
    qreal ratio_ = 1.0;
    std::future<Decoded> decoding_;
};

}  // namespace skin
