// The outlines of the generated skin's pages: each mask picture of the program folder (every resolution
// folder, its menus and the pop-ups) loaded and turned into its region, as a page does while it starts.
// Reported per mask: the time to build the region (median of the iterations), the mask's size and the
// number of rectangles of the region.
#include "RegionFromMask.h"
#include "SkinPictures.h"

#include <QDirIterator>
#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void BM_GeneratedMaskOutline(benchmark::State& state, const QString& path) {
    QImage mask;
    if (skin::LoadMaskPictureFile(path, mask) != 0) {
        state.SkipWithError("the mask does not load");
        return;
    }
    int rectangles = 0;
    for (auto _ : state) {
        const std::optional<QRegion> outline = skin::RegionFromMask(mask);
        rectangles = outline ? outline->rectCount() : 0;
        benchmark::DoNotOptimize(rectangles);
    }
    state.counters["width"] = mask.width();
    state.counters["height"] = mask.height();
    state.counters["rectangles"] = rectangles;
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    QDirIterator masks(QStringLiteral(HALCYRA_PROGRAM_DIR "/Skins"), {QStringLiteral("*_Mask.bmp")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (masks.hasNext()) {
        const QString path = masks.next();
        const QString name = path.mid(QStringLiteral(HALCYRA_PROGRAM_DIR "/Skins/").size());
        benchmark::RegisterBenchmark(("BM_GeneratedMaskOutline/" + name).toStdString().c_str(),
                                     [path](benchmark::State& state) { BM_GeneratedMaskOutline(state, path); })
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
