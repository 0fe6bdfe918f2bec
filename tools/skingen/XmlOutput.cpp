#include "XmlOutput.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace skingen {
namespace {

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(bytes);
    return file.commit();
}

}  // namespace

void XmlSections::Add(const QString& section, XmlKey key) {
    for (auto& entry : sections_) {
        if (entry.first == section) {
            entry.second << std::move(key);
            return;
        }
    }
    sections_.append({section, {std::move(key)}});
}

QString XmlSections::Text(const QString& root, const QString& encoding) const {
    QString out = "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>\r\n<" + root + ">\r\n";
    for (const auto& [section, keys] : sections_) {
        out += "  <" + section + ">\r\n";
        for (const XmlKey& key : keys) {
            out += "    <" + key.name;
            for (const auto& [name, value] : key.attributes) out += " " + name + "=\"" + value.toHtmlEscaped() + "\"";
            if (!key.rawAttributes.isEmpty()) out += " " + key.rawAttributes;
            out += ">" + key.text.toHtmlEscaped() + "</" + key.name + ">\r\n";
        }
        out += "  </" + section + ">\r\n";
    }
    return out + "</" + root + ">\r\n";
}

bool WriteUtf8(const QString& path, const QString& text) {
    return WriteBytes(path, "\xEF\xBB\xBF" + text.toUtf8());
}

bool WriteUtf16(const QString& path, const QString& text) {
    const QString body = QChar(0xFEFF) + text;
    QByteArray bytes;
    for (QChar c : body) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return WriteBytes(path, bytes);
}

}  // namespace skingen
