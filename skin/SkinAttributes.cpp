#include "SkinAttributes.h"

#include "SkinRecord.h"

namespace skin {

QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::u16string ToU16(const QString& text) { return text.toStdU16String(); }

int SkinInteger(std::u16string_view text) { return LeadingInteger(text); }

}  // namespace skin
