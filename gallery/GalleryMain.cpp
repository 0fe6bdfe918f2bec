// skin-gallery: every widget kind of the skinned toolkit on the generated skin, for reviews and manual
// trials. It lives in the program folder beside the skin set and reads it as the programs do.
//
//   skin-gallery [--resolution 1920x1080|1366x768|960x540] [--editor] [--screenshot FILE]
//
// --editor opens the in-place editor over the red value; --screenshot renders the window (with its
// pop-ups) into FILE once it has been laid out and painted, then exits.
#include "EmbeddedFonts.h"
#include "GalleryWindow.h"
#include "ProgramDirectory.h"
#include "SkinDocuments.h"
#include "SkinKeys.h"
#include "SkinPalette.h"
#include "UpdaterTitleFont.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("skin-gallery"));
    QApplication::setPalette(skin::SkinPalette());

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Every widget of the skinned toolkit on the generated skin."));
    parser.addHelpOption();
    const QCommandLineOption resolution(QStringLiteral("resolution"), QStringLiteral("Skin folder to show."),
                                        QStringLiteral("WxH"), QStringLiteral("1920x1080"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Save a picture of the window to FILE and exit."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption editor(QStringLiteral("editor"), QStringLiteral("Open the in-place editor."));
    parser.addOptions({resolution, screenshot, editor});
    parser.process(application);

    const QString folder = parser.value(resolution);
    bool known = false;
    for (std::u16string_view name : skindocs::kResolutionFolders) known = known || folder == QString::fromStdU16String(std::u16string(name));
    if (!known) {
        std::fprintf(stderr, "skin-gallery: unknown resolution '%s' (1920x1080, 1366x768 or 960x540)\n",
                     qPrintable(folder));
        return 2;
    }

    skindocs::LoadSkinDocuments(platform::ProgramDirectory(), folder.toStdString());
    fonts::EmbeddedFonts embeddedFonts;
    embeddedFonts.RegisterProgramFonts();
    fonts::UpdaterTitleFont titleFont;
    titleFont.Register();

    gallery::GalleryWindow window(folder);
    window.show();
    // The editor opens once the window is on the screen, as after a click on the value.
    if (parser.isSet(editor)) QTimer::singleShot(150, &window, [&window] { window.OpenEditor(); });

    if (parser.isSet(screenshot)) {
        const QString file = parser.value(screenshot);
        int result = 0;
        // Let the window and its pop-ups lay out and paint first.
        QTimer::singleShot(400, &application, [&] {
            if (!window.SaveScreenshot(file)) {
                std::fprintf(stderr, "skin-gallery: cannot write %s\n", qPrintable(file));
                result = 1;
            }
            application.quit();
        });
        application.exec();
        return result;
    }
    return application.exec();
}
