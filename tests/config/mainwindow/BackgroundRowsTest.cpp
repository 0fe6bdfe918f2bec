// The main window's background is the same picture, painted the same, whatever its LED page's picture is
// like, though the rows the page covers are left undecoded where the page is known to cover them.
#include "MainWindowFixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTransform>

#include <functional>

namespace mainwindow_test {
namespace {

using config::CConfigDlg;

constexpr char kResolution[] = "1366x768";

// A copy of the generated skin's program folder (documents and the pictures of one resolution), whose
// pictures a case may change.
class SkinCopy {
public:
    SkinCopy() {
        const QDir from(QStringLiteral(SKIN_PROGRAM_DIR));
        for (const char* document : {"Skins.xml", "Strings.xml"}) {
            QFile::copy(from.filePath(QLatin1String(document)), Path(QLatin1String(document)));
        }
        for (const QString& folder : {QStringLiteral("Skins/") + QLatin1String(kResolution), QStringLiteral("Skins/PopDlg")}) {
            QDir().mkpath(Path(folder));
            QDirIterator files(from.filePath(folder), QDir::Files);
            while (files.hasNext()) {
                files.next();
                QFile::copy(files.filePath(), Path(folder + QLatin1Char('/') + files.fileName()));
            }
        }
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    // A picture of the resolution's folder.
    QString Picture(const QString& name) const { return Path(QStringLiteral("Skins/") + QLatin1String(kResolution) + QLatin1Char('/') + name); }
    std::string ProgramDir() const { return dir_.path().toStdString() + "/"; }

private:
    QTemporaryDir dir_;
};

QImage Decoded(const QString& path) {
    QImageReader reader(path);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

// Writes `picture` to `path` in `format` (the skin tells a picture by its content, not its name).
void Write(const QImage& picture, const QString& path, const char* format) {
    QFile::remove(path);
    ASSERT_TRUE(picture.save(path, format, 100)) << path.toStdString();
}

// The JPEG file at `path` with an application marker `code` holding `payload` after its start marker.
void InsertMarker(const QString& path, unsigned char code, const QByteArray& payload) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const qsizetype length = payload.size() + 2;
    QByteArray marker("\xFF", 1);
    marker.append(static_cast<char>(code)).append(static_cast<char>(length >> 8)).append(static_cast<char>(length & 0xFF));
    bytes.insert(2, marker + payload);
    file.resize(0);
    file.seek(0);
    file.write(bytes);
}

class BackgroundRowsTest : public MainWindowFixture {
protected:
    struct Outcome {
        QImage painted;
        bool backgroundKept = false;
    };

    // The main window on `skin`, painted, then closed.
    Outcome Open(const SkinCopy& skin) {
        config::ConfigDlgSetup setup = Setup({"NoDev"});
        const std::string programDir = skin.ProgramDir();
        setup.loadSkinSet = [programDir](const std::string& folder) { config::LoadSkinSetFrom(programDir, folder); };
        setup.resolutionFolder = std::string(kResolution) + "/";
        Outcome outcome;
        CConfigDlg window(std::move(setup));
        Run(window, [&] {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
            outcome.painted = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
            outcome.backgroundKept = !window.BackgroundPicture().isNull();
            Click(window.CloseButton());
        });
        return outcome;
    }
};

// For every kind of LED page picture, the window paints and keeps what it does when its own background
// is decoded whole (a PNG of the same pixels, which is never decoded in part).
TEST_F(BackgroundRowsTest, TheWindowPaintsAsWithItsWholeBackgroundWhateverItsPage) {
    struct Case {
        const char* name;
        std::function<void(const SkinCopy&)> change;
        bool backgroundKept;
    };
    const QString page = QStringLiteral("LED_Normal.jpg");
    const Case cases[] = {
        {"an opaque page", [](const SkinCopy&) {}, false},
        {"a page with alpha",
         [&](const SkinCopy& skin) {
             QImage picture = Decoded(skin.Picture(page)).convertToFormat(QImage::Format_ARGB32);
             picture.setPixelColor(0, 0, QColor(10, 20, 30, 200));
             Write(picture, skin.Picture(page), "PNG");
         },
         true},
        {"a page taller than the window",
         [&](const SkinCopy& skin) {
             const QImage picture = Decoded(skin.Picture(page));
             Write(picture.scaled(picture.width(), picture.height() * 2), skin.Picture(page), "JPEG");
         },
         false},
        {"a page narrower than the window",
         [&](const SkinCopy& skin) {
             const QImage picture = Decoded(skin.Picture(page));
             Write(picture.copy(0, 0, picture.width() - 40, picture.height()), skin.Picture(page), "JPEG");
         },
         false},
        {"a page shorter than the window's rows below its top",
         [&](const SkinCopy& skin) {
             const QImage picture = Decoded(skin.Picture(page));
             Write(picture.copy(0, 0, picture.width(), picture.height() / 3), skin.Picture(page), "JPEG");
         },
         false},
        {"a page whose header lies past its first bytes",
         [&](const SkinCopy& skin) { InsertMarker(skin.Picture(page), 0xE3, QByteArray(65000, 'x')); }, false},
        {"a page stored turned, which Qt's reader decodes, narrower than the window",
         [&](const SkinCopy& skin) {
             const QImage picture = Decoded(skin.Picture(page));
             const QImage narrow = picture.copy(0, 0, picture.height() / 2, picture.height()).transformed(QTransform().rotate(-90));
             Write(narrow, skin.Picture(page), "JPEG");
             // Exif orientation 6: the stored picture is to be turned a quarter clockwise.
             const char exif[] = "Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0";
             InsertMarker(skin.Picture(page), 0xE1, QByteArray(exif, sizeof(exif) - 1));
         },
         false},
        {"a page missing", [&](const SkinCopy& skin) { QFile::remove(skin.Picture(page)); }, true},
        {"a page that is no picture",
         [&](const SkinCopy& skin) {
             QFile::remove(skin.Picture(page));
             QFile file(skin.Picture(page));
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("\xFF\xD8\xFF not a picture");
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SkinCopy skin;
        c.change(skin);
        const Outcome outcome = Open(skin);
        const QString main = skin.Picture(QStringLiteral("Main_Normal.jpg"));
        Write(Decoded(main), main, "PNG");
        const Outcome whole = Open(skin);
        ASSERT_FALSE(whole.painted.isNull());
        EXPECT_EQ(outcome.backgroundKept, c.backgroundKept);
        EXPECT_EQ(whole.backgroundKept, c.backgroundKept);
        EXPECT_TRUE(outcome.painted == whole.painted) << "the paint differs";
    }
}

}  // namespace
}  // namespace mainwindow_test
