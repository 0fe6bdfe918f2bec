// The updater's run-time texts (the versions beside the baked "Installed:" and "New:", the progress and
// duration lines under them) in the fonts its window draws them with: at the size of the texts baked
// into its pictures, and fitting their places.
#include "GeneratedSkin.h"
#include "TessaflashDlg.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

// The pixel size of the confirm page's baked "Installed:".
int BakedLabelPixels() {
    for (const skingen::Page& page : skintest::SkinDescription().updaterPages)
        for (const skingen::Decor& decor : page.decor)
            if (decor.shape == "text" && decor.text == "Installed:") return decor.style.size;
    return 0;
}

TEST(UpdaterTextFit, VersionsAndStatusLinesAreDrawnAtTheBakedLabelsSizeAndFit) {
    const int baked = BakedLabelPixels();
    ASSERT_GT(baked, 0) << "no baked \"Installed:\" on the confirm page";
    updater::CTessaflashDlg window;
    window.show();  // loads the layout and builds the fonts
    const struct {
        const char* what;
        QFont font;
        QRect rect;
        QString longest;
    } rows[] = {
        {"version", window.VersionFont(), window.Layout().updateVersion.rect, QStringLiteral("V10.10.100")},
        {"progress", window.StatusFont(), updater::CTessaflashDlg::InstructionLineRect(),
         QStringLiteral("Writing the version: 100 %")},
        {"duration", window.StatusFont(), updater::CTessaflashDlg::DurationLineRect(),
         QStringLiteral("The update takes about 100 seconds.")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(QFontInfo(row.font).pixelSize(), baked);
        const QFontMetrics metrics(row.font);
        EXPECT_LE(metrics.height(), row.rect.height());
        EXPECT_LE(metrics.horizontalAdvance(row.longest), row.rect.width());
    }
}

}  // namespace
