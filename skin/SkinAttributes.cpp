#include "SkinAttributes.h"

#include "SkinRecord.h"

namespace skin {

QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::u16string ToU16(const QString& text) { return text.toStdU16String(); }

int SkinInteger(std::u16string_view text) {
    // The record parser reads its flag field (the text after the last comma) exactly this way; a
    // comma inside `text` would end the number anyway.
    std::u16string asFlag(u",");
    asFlag += text.substr(0, text.find(u','));
    return ParseSkinRecord(asFlag).flag;
}

}  // namespace skin
