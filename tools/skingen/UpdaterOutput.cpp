#include "UpdaterOutput.h"

#include "Looks.h"
#include "PageRenderer.h"
#include "PictureFiles.h"
#include "XmlOutput.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace skingen {
namespace {

// The layout document holds the updater's values exactly as written in the description, attributes
// unquoted as the updater's reader expects them.
XmlSections LayoutDocument(const QJsonObject& layout) {
    XmlSections doc;
    for (auto section = layout.begin(); section != layout.end(); ++section) {
        const QJsonObject keys = section.value().toObject();
        for (auto key = keys.begin(); key != keys.end(); ++key) {
            const QJsonObject entry = key.value().toObject();
            doc.Add(section.key(), {key.key(), entry["text"].toString(), {}, entry["attributes"].toString()});
        }
    }
    return doc;
}

// The page with its baked texts and button badges in another language; a text without a translation
// stays as it is.
Page Translated(Page page, const QMap<QString, QString>& texts) {
    for (Decor& decor : page.decor) decor.text = texts.value(decor.text, decor.text);
    for (Widget& widget : page.widgets) widget.badge = texts.value(widget.badge, widget.badge);
    return page;
}

// Writes the page's pictures by role as <folder>/<role>.png (and at twice the density) and lists them in
// `files`; for a `language` under <folder>/<language>/, without the outline, which has no text.
bool WritePagePictures(const Description& description, const Page& page, const Scaler& scaler, const QString& folder,
                       const QString& language, QStringList& files) {
    for (auto it = page.roles.begin(); it != page.roles.end(); ++it) {
        const QString state = it.key();
        if (state == "MASK" && !language.isEmpty()) continue;
        const auto render = [&](int ratio) {
            return state == "MASK" ? RenderMask(page, scaler, ratio)
                                   : RenderPage(description, page, scaler, StateFromName(state), ratio);
        };
        const QString name = (language.isEmpty() ? QString() : language + "/") + it.value() + ".png";
        if (!WritePicturePair(folder + "/" + name, render)) return false;
        files << name << TwiceName(name);
    }
    return true;
}

bool WriteResourceList(const QString& path, const QStringList& files) {
    QString text = "<RCC>\n  <qresource prefix=\"/updater\">\n";
    for (const QString& file : files) text += "    <file>" + file + "</file>\n";
    text += "  </qresource>\n</RCC>\n";
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return false;
    out.write(text.toUtf8());
    return out.commit();
}

}  // namespace

bool WriteUpdaterSkin(const Description& description, const QString& folder, const QString& previewDir) {
    QDir().mkpath(folder);
    const Scaler scaler(1.0, description.theme.minFontSize);
    QStringList files;
    for (const Page& page : description.updaterPages) {
        if (!WritePagePictures(description, page, scaler, folder, {}, files)) return false;
        if (!previewDir.isEmpty())
            RenderPage(description, page, scaler, WidgetState::Normal, 1).save(previewDir + "/Updater_" + page.picture + ".png");
    }
    // Each further language: the pictures that carry texts, under <language>/ (the outlines are the same
    // in every language).
    for (auto language = description.updaterTranslations.begin(); language != description.updaterTranslations.end();
         ++language) {
        QDir().mkpath(folder + "/" + language.key());
        for (const Page& page : description.updaterPages) {
            if (!WritePagePictures(description, Translated(page, language.value()), scaler, folder, language.key(), files))
                return false;
        }
    }
    if (!WriteUtf16(folder + "/layout.xml", LayoutDocument(description.updaterLayout).Text("LAYOUT", "UTF-16")))
        return false;
    files << "layout.xml";
    return WriteResourceList(folder + "/updater_skin.qrc", files);
}

}  // namespace skingen
