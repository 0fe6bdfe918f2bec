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
        for (auto it = page.roles.begin(); it != page.roles.end(); ++it) {
            const QString state = it.key();
            const auto render = [&](int ratio) {
                return state == "MASK" ? RenderMask(page, scaler, ratio)
                                       : RenderPage(description, page, scaler, StateFromName(state), ratio);
            };
            const QString name = it.value() + ".png";
            if (!WritePicturePair(folder + "/" + name, render)) return false;
            files << name << TwiceName(name);
        }
        if (!previewDir.isEmpty())
            RenderPage(description, page, scaler, WidgetState::Normal, 1).save(previewDir + "/Updater_" + page.picture + ".png");
    }
    if (!WriteUtf16(folder + "/layout.xml", LayoutDocument(description.updaterLayout).Text("LAYOUT", "UTF-16")))
        return false;
    files << "layout.xml";
    return WriteResourceList(folder + "/updater_skin.qrc", files);
}

}  // namespace skingen
