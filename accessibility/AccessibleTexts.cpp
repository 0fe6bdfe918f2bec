#include "AccessibleTexts.h"

#include "SkinDocuments.h"
#include "SkinFactory.h"
#include "XmlDocument.h"

#include <QStringList>
#include <QVariant>
#include <QWidget>

namespace accessibility {

namespace {

constexpr char16_t kSection[] = u"ACCESSIBLE";

// One colour name per 30 degrees, starting at red.
const char* const kHueNames[] = {"red",  "orange", "yellow", "yellow-green", "green",  "spring green",
                                 "cyan", "azure",  "blue",   "violet",       "magenta", "rose"};
constexpr int kHueNameCount = static_cast<int>(sizeof(kHueNames) / sizeof(kHueNames[0]));

int Percent(int thousandths) { return (thousandths + 5) / 10; }

}  // namespace

QString SkinKeyOf(const QWidget& widget) {
    const QString key = widget.property(skin::kSkinKeyProperty).toString();
    if (!key.isEmpty()) return key;
    const QString name = widget.objectName();
    return name.mid(name.lastIndexOf(u'/') + 1);
}

QString AccessibleString(const QString& key, const QString& fallback) {
    if (key.isEmpty()) return fallback;
    const std::u16string text = xml::LookupValue(skindocs::StringDocument(), kSection, key.toStdU16String());
    return text.empty() ? fallback : QString::fromStdU16String(text);
}

QString WidgetName(const QWidget& widget, const QString& own) {
    if (!widget.accessibleName().isEmpty()) return widget.accessibleName();
    return AccessibleString(SkinKeyOf(widget), own);
}

QString OneLine(const QString& caption) {
    QString line = caption;
    line.replace(QStringLiteral("\\r\\n"), QStringLiteral(" "));
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(u'\n', u' ');
    return line.simplified();
}

QString ColorInWords(int red, int green, int blue) {
    return AccessibleString(QStringLiteral("VALUE_COLOR"), QStringLiteral("red %1, green %2, blue %3"))
        .arg(red)
        .arg(green)
        .arg(blue);
}

QString HueInWords(int tenthsOfDegree) {
    const int degrees = ((tenthsOfDegree % 3600) + 3600) % 3600 / 10;
    const int sector = (degrees + 15) / 30 % kHueNameCount;
    QStringList names = AccessibleString(QStringLiteral("HUE_NAMES")).split(u',', Qt::SkipEmptyParts);
    const QString name = names.size() == kHueNameCount ? names[sector].trimmed() : QString::fromLatin1(kHueNames[sector]);
    return AccessibleString(QStringLiteral("VALUE_HUE"), QStringLiteral("%1 degrees, %2")).arg(degrees).arg(name);
}

QString SaturationValueInWords(int saturation, int value) {
    return AccessibleString(QStringLiteral("VALUE_SATURATION_BRIGHTNESS"),
                            QStringLiteral("saturation %1 percent, brightness %2 percent"))
        .arg(Percent(saturation))
        .arg(Percent(value));
}

}  // namespace accessibility
