// Writes a picture of a sample text in each embedded face, as the programs ask for them by name, so
// a person can see that each name reaches the intended face.
//   font_samples OUTPUT.png     (runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise)
#include "EmbeddedFonts.h"
#include "UpdaterTitleFont.h"

#include <QColor>
#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>

namespace {

struct Sample {
    QString family;
    QString style;
    int pixelSize;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: font_samples OUTPUT.png\n");
        return 2;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    fonts::EmbeddedFonts programFonts;
    programFonts.RegisterProgramFonts();
    fonts::UpdaterTitleFont titleFont;
    titleFont.Register();

    const Sample samples[] = {
        {"Heroic Condensed", "Medium", 24},
        {"Heroic Condensed", "Book", 24},
        {"Heroic Condensed Medium", "", 24},
        {"Heroic Condensed Book", "", 24},
        {"Noto Sans", "Regular", 21},
        {fonts::kUpdaterTitleFamily, "Regular", 38},
    };
    constexpr int kLineHeight = 64;
    QImage picture(1100, kLineHeight * static_cast<int>(std::size(samples)) + 16,
                   QImage::Format_ARGB32_Premultiplied);
    picture.fill(QColor(32, 34, 40));
    QPainter painter(&picture);
    painter.setPen(Qt::white);
    int baseline = 48;
    for (const Sample& sample : samples) {
        QFont font(sample.family);
        if (!sample.style.isEmpty()) font.setStyleName(sample.style);
        font.setPixelSize(sample.pixelSize);
        const QFontInfo drawn(font);
        painter.setFont(font);
        const QString asked = QStringLiteral("%1 %2").arg(sample.family, sample.style).trimmed();
        painter.drawText(16, baseline,
                         QStringLiteral("%1 (drawn in %2, %3): Apply 0123")
                             .arg(asked, drawn.family(), drawn.styleName()));
        baseline += kLineHeight;
    }
    painter.end();
    return picture.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
