// Decoding the generated skin's JPEG page pictures as pages do while they start: each resolution folder's
// pictures (and their twins at twice the density) whole (LoadPictureFile), and a look's rectangle of each
// (LoadPicturePart), against QImageReader followed by the conversion to 32 bits the picture loader used
// before it had a JPEG reader of its own (the baseline, measured in the same run, on the same files).
// Reported per folder: the median time of one pass over its pictures each way and their ratio.
#include "SkinPictures.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// A rectangle of the size of a page's button, at an odd place: what a deferred look decodes.
QRect LookRect(const QSize& page) { return QRect(page.width() / 3 + 1, page.height() / 4 + 3, 161, 47); }

// A picture file and its size, read once beforehand so that neither way pays for it.
struct Picture {
    QString path;
    QSize size;
};

QImage ReadWithQt(const Picture& file, bool clipped) {
    QImageReader reader(file.path);
    if (clipped) reader.setClipRect(LookRect(file.size));
    QImage picture = reader.read();
    if (picture.format() != QImage::Format_RGB32) picture.convertTo(QImage::Format_RGB32);
    return picture;
}

QImage ReadWithSkin(const Picture& file, bool clipped) {
    QImage picture;
    if (clipped) {
        QRect part;
        QSize page;
        skin::LoadPicturePart(file.path, LookRect(file.size), picture, part, page);
    } else {
        skin::LoadPictureFile(file.path, picture);
    }
    return picture;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

void BM_JpegPagePictures(benchmark::State& state, const std::vector<Picture>& files, bool clipped) {
    std::vector<double> qtMs;
    std::vector<double> skinMs;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        for (const Picture& file : files) benchmark::DoNotOptimize(ReadWithQt(file, clipped).constBits());
        qtMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        for (const Picture& file : files) benchmark::DoNotOptimize(ReadWithSkin(file, clipped).constBits());
        const double elapsed = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        skinMs.push_back(elapsed);
        state.SetIterationTime(elapsed / 1e3);
    }
    state.counters["pictures"] = static_cast<double>(files.size());
    state.counters["qt_median_ms"] = Median(qtMs);
    state.counters["skin_median_ms"] = Median(skinMs);
    state.counters["ratio_to_qt"] = Median(skinMs) / Median(qtMs);
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    const QString root = QStringLiteral(HALCYRA_PROGRAM_DIR "/Skins/");
    QDirIterator folders(root, QDir::Dirs | QDir::NoDotAndDotDot);
    while (folders.hasNext()) {
        const QString folder = folders.next();
        std::vector<Picture> files;
        QDirIterator pictures(folder, {QStringLiteral("*.jpg")}, QDir::Files);
        while (pictures.hasNext()) {
            const QString path = pictures.next();
            files.push_back({path, QImageReader(path).size()});
        }
        if (files.empty()) continue;
        const QString name = folder.mid(root.size());
        for (const bool clipped : {false, true}) {
            const std::string label = "BM_JpegPagePictures/" + name.toStdString() + (clipped ? "/look" : "/whole");
            benchmark::RegisterBenchmark(label.c_str(), [files, clipped](benchmark::State& state) {
                BM_JpegPagePictures(state, files, clipped);
            })->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
