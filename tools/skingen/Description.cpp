#include "Description.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace skingen {
namespace {

QRect ReadRect(const QJsonValue& value) {
    const QJsonArray a = value.toArray();
    if (a.size() != 4) return {};
    return QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
}

QSize ReadSize(const QJsonValue& value) {
    const QJsonArray a = value.toArray();
    return a.size() == 2 ? QSize(a[0].toInt(), a[1].toInt()) : QSize();
}

TextStyle ReadStyle(const QJsonObject& o) {
    TextStyle s;
    s.font = o["font"].toString();
    s.size = o["size"].toInt();
    s.weight = o["weight"].toInt(400);
    s.color = o["color"].toString();
    s.letterSpacing = o["letterSpacing"].toDouble();
    return s;
}

QMap<QString, int> ReadIntMap(const QJsonObject& o) {
    QMap<QString, int> map;
    for (auto it = o.begin(); it != o.end(); ++it) map.insert(it.key(), it.value().toInt());
    return map;
}

Decor ReadDecor(const QJsonObject& o) {
    Decor d;
    d.shape = o["shape"].toString();
    d.rect = ReadRect(o["rect"]);
    d.color = o["color"].toString();
    d.text = o["text"].toString();
    d.icon = o["icon"].toString();
    d.style = ReadStyle(o);
    d.align = o["align"].toString("left");
    const QJsonObject states = o["stateColors"].toObject();
    for (auto it = states.begin(); it != states.end(); ++it) d.stateColors.insert(it.key(), it.value().toString());
    return d;
}

Widget ReadWidget(const QJsonObject& o) {
    Widget w;
    w.key = o["key"].toString();
    w.kind = o["kind"].toString("button");
    w.style = o["style"].toString();
    w.rect = ReadRect(o["rect"]);
    w.icon = o["icon"].toString();
    w.badge = o["badge"].toString();
    w.channel = o["channel"].toString();
    w.ticks = o["ticks"].toInt();
    w.container = o["container"].toBool();
    w.caption = ReadStyle(o["caption"].toObject());
    w.offsetX = o["offsetX"].toInt();
    w.minSize = ReadSize(o["minSize"]);
    w.scaledAttributes = ReadIntMap(o["attributes"].toObject());
    return w;
}

Label ReadLabel(const QJsonObject& o) {
    Label l;
    l.key = o["key"].toString();
    l.rect = ReadRect(o["rect"]);
    l.style = ReadStyle(o);
    l.wrap = o["wrap"].toBool();
    l.sample = o["sample"].toString();
    for (const QJsonValue& s : o["sections"].toArray()) l.sections << s.toString();
    return l;
}

Page ReadPage(const QJsonObject& o) {
    Page p;
    p.section = o["section"].toString();
    p.folder = o["folder"].toString("Resolution");
    p.picture = o["picture"].toString(p.section);
    p.size = ReadSize(o["size"]);
    p.scaled = p.folder != "PopDlg" && o["scaled"].toBool(true);
    p.mask = o["mask"].toBool(true);
    p.windowRadius = o["windowRadius"].toInt(12);
    p.background = o["background"].toString("background");
    if (o.contains("states")) {
        p.states.clear();
        for (const QJsonValue& s : o["states"].toArray()) p.states << s.toString();
    }
    p.maskFile = o["maskFile"].toString();
    p.underlay = o["underlay"].toString();
    for (const QJsonValue& r : o["underlayClear"].toArray()) p.underlayClear << ReadRect(r);
    p.placement = ReadRect(o["placement"]);
    if (p.placement.isValid()) p.size = p.placement.size();
    for (const QJsonValue& s : o["sharesPlaceWith"].toArray()) p.sharesPlaceWith << s.toString();
    const QJsonObject roles = o["roles"].toObject();
    for (auto it = roles.begin(); it != roles.end(); ++it) p.roles.insert(it.key(), it.value().toString());
    for (const QJsonValue& d : o["decor"].toArray()) p.decor << ReadDecor(d.toObject());
    for (const QJsonValue& w : o["widgets"].toArray()) p.widgets << ReadWidget(w.toObject());
    for (const QJsonValue& l : o["labels"].toArray()) p.labels << ReadLabel(l.toObject());
    p.scaledValues = ReadIntMap(o["values"].toObject());
    return p;
}

bool ReadJson(const QString& path, QJsonObject& object, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + ": " + file.errorString();
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        error = path + ": " + parseError.errorString() + " at offset " + QString::number(parseError.offset);
        return false;
    }
    object = document.object();
    return true;
}

Strings ReadStrings(const QJsonObject& o) {
    Strings strings;
    for (auto section = o.begin(); section != o.end(); ++section) {
        const QJsonObject keys = section.value().toObject();
        for (auto key = keys.begin(); key != keys.end(); ++key)
            strings[section.key()][key.key()] = key.value().toString();
    }
    return strings;
}

// The JSON files of a folder in name order, so that the output does not depend on the file system.
QStringList JsonFiles(const QString& dir) {
    QStringList files;
    for (const QString& name : QDir(dir).entryList({"*.json"}, QDir::Files, QDir::Name)) files << dir + "/" + name;
    return files;
}

}  // namespace

QColor Theme::Color(const QString& nameOrHex) const {
    if (nameOrHex.startsWith('#')) return QColor(nameOrHex);
    return palette.value(nameOrHex, QColor(Qt::magenta));  // magenta shows a misspelt name at a glance
}

const Page* Description::FindPage(const QString& section) const {
    for (const Page& page : pages)
        if (page.section == section) return &page;
    return nullptr;
}

bool LoadDescription(const QString& skinDir, const QString& updaterDir, Description& description, QString& error) {
    QJsonObject theme;
    if (!ReadJson(skinDir + "/theme.json", theme, error)) return false;
    const QJsonObject palette = theme["palette"].toObject();
    for (auto it = palette.begin(); it != palette.end(); ++it)
        description.theme.palette.insert(it.key(), QColor(it.value().toString()));
    const QJsonObject icons = theme["icons"].toObject();
    for (auto it = icons.begin(); it != icons.end(); ++it) description.theme.icons.insert(it.key(), it.value().toString());
    description.theme.minFontSize = theme["minFontSize"].toInt(10);

    for (const QString& path : JsonFiles(skinDir + "/pages")) {
        QJsonObject page;
        if (!ReadJson(path, page, error)) return false;
        for (const QJsonValue& p : page["pages"].toArray()) description.pages << ReadPage(p.toObject());
    }
    for (const QString& path : JsonFiles(skinDir + "/strings")) {
        QJsonObject strings;
        if (!ReadJson(path, strings, error)) return false;
        description.languages.insert(QFileInfo(path).baseName(), ReadStrings(strings));
    }
    QJsonObject updater;
    if (!updaterDir.isEmpty()) {
        if (!ReadJson(updaterDir + "/updater.json", updater, error)) return false;
        for (const QJsonValue& p : updater["pages"].toArray()) description.updaterPages << ReadPage(p.toObject());
        description.updaterLayout = updater["layout"].toObject();
        for (const QString& path : JsonFiles(updaterDir + "/strings")) {
            QJsonObject texts;
            if (!ReadJson(path, texts, error)) return false;
            QMap<QString, QString>& translation = description.updaterTranslations[QFileInfo(path).baseName()];
            for (auto it = texts.begin(); it != texts.end(); ++it) translation.insert(it.key(), it.value().toString());
        }
    }
    return true;
}

}  // namespace skingen
