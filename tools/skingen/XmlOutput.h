// Writing the skin's XML documents: a root element holding one element per section, each holding one
// element per key. Texts are escaped; attributes are written in order.
#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace skingen {

struct XmlKey {
    QString name;
    QString text;
    QList<QPair<QString, QString>> attributes;
    QString rawAttributes;  // written as given (the updater's document keeps its values unquoted)
};

class XmlSections {
public:
    // Appends a key to a section, creating the section at its first use.
    void Add(const QString& section, XmlKey key);
    // The document with its declaration naming `encoding` ("UTF-8" or "UTF-16").
    QString Text(const QString& root, const QString& encoding) const;

private:
    QList<QPair<QString, QList<XmlKey>>> sections_;
};

// UTF-8 with a byte-order mark, or UTF-16 little-endian with a byte-order mark.
bool WriteUtf8(const QString& path, const QString& text);
bool WriteUtf16(const QString& path, const QString& text);

}  // namespace skingen
