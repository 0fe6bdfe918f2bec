// skingen: renders the shipped skin from its description.
//   skingen --skin <resources/skin> --output <program folder> --version <text>
//           [--updater <resources/updater> --updater-output <folder>] [--preview <folder>]
// Runs on Qt's offscreen platform (QPainter on QImage; fonts through fontconfig).
#include "Description.h"
#include "SkinOutput.h"
#include "UpdaterOutput.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption skin("skin", "Skin description folder.", "dir");
    const QCommandLineOption output("output", "Program folder to write the skin set into.", "dir");
    const QCommandLineOption version("version", "Software version for INFO/SW_VERSION.", "text", "1.0.0");
    const QCommandLineOption updater("updater", "Updater description folder.", "dir");
    const QCommandLineOption updaterOutput("updater-output", "Folder for the updater's pictures and layout.", "dir");
    const QCommandLineOption preview("preview", "Folder for review pictures with texts drawn in.", "dir");
    parser.addOptions({skin, output, version, updater, updaterOutput, preview});
    parser.process(app);
    if (!parser.isSet(skin) || !parser.isSet(output)) parser.showHelp(2);

    skingen::Description description;
    QString error;
    if (!skingen::LoadDescription(parser.value(skin), parser.value(updater), description, error)) {
        qCritical("skingen: %s", qPrintable(error));
        return 1;
    }
    if (parser.isSet(preview)) QDir().mkpath(parser.value(preview));
    if (!skingen::WriteSkinSet(description, parser.value(output), parser.value(version), parser.value(preview))) {
        qCritical("skingen: the skin set could not be written");
        return 1;
    }
    if (parser.isSet(updaterOutput) &&
        !skingen::WriteUpdaterSkin(description, parser.value(updaterOutput), parser.value(preview))) {
        qCritical("skingen: the updater's skin could not be written");
        return 1;
    }
    return 0;
}
