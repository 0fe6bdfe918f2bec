#include "SkinOutput.h"

#include "Looks.h"
#include "PageRenderer.h"
#include "PictureFiles.h"
#include "WidgetPictures.h"
#include "XmlOutput.h"

#include "SkinKeys.h"

#include <algorithm>

namespace skingen {
namespace {

QString Utf16(std::u16string_view text) { return QString::fromUtf16(text.data(), text.size()); }

// The skin documents give colours in the platform's 0x00BBGGRR order.
QString ColorAttribute(const QColor& c) { return QString::number(c.red() | c.green() << 8 | c.blue() << 16); }

QString Record(const QString& key, const QRect& r) {
    return QString("%1,%2,%3,%4,%5,,0").arg(key).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

void AddStyleAttributes(XmlKey& key, const TextStyle& style, const Scaler& scaler, const Theme& theme, bool full) {
    if (!style.IsSet()) return;
    key.attributes.append({"FONT", style.font});
    // A negative height is the character height (the em size) in pixels: the toolkit then draws the text
    // at exactly the pixel size the pictures' own texts are drawn with.
    key.attributes.append({"SIZE", QString::number(-scaler.FontSize(style.size))});
    if (!full) return;
    key.attributes.append({"WEIGHT", QString::number(style.weight)});
    if (!style.color.isEmpty()) key.attributes.append({"COLOR", ColorAttribute(theme.Color(style.color))});
}

void AddPageRecords(XmlSections& doc, const Theme& theme, const Page& page, const Scaler& pageScaler) {
    if (page.placement.isValid())
        doc.Add(page.section, {Utf16(skindocs::keys::kButtonMenu),
                               Record(Utf16(skindocs::keys::kButtonMenu), pageScaler.Rect(page.placement)), {}, {}});
    for (const Widget& widget : page.widgets) {
        XmlKey key{widget.key, Record(widget.key, pageScaler.ControlRect(widget.rect, widget.minSize)), {}, {}};
        AddStyleAttributes(key, widget.caption, pageScaler, theme, false);
        if (widget.offsetX) key.attributes.append({"OFFSETX", QString::number(pageScaler.Length(widget.offsetX))});
        for (auto it = widget.scaledAttributes.begin(); it != widget.scaledAttributes.end(); ++it)
            key.attributes.append({it.key(), QString::number(pageScaler.Length(it.value()))});
        doc.Add(page.section, key);
    }
    for (const Label& label : page.labels) {
        XmlKey key{label.key, Record(label.key, pageScaler.Rect(label.rect)), {}, {}};
        AddStyleAttributes(key, label.style, pageScaler, theme, true);
        for (const QString& section : label.sections.isEmpty() ? QStringList{page.section} : label.sections)
            doc.Add(section, key);
    }
    for (auto it = page.scaledValues.begin(); it != page.scaledValues.end(); ++it)
        doc.Add(page.section, {it.key(), QString::number(pageScaler.Length(it.value())), {}, {}});
}

// Pop-ups keep one size at every resolution: their pictures are shared by all resolution folders.
Scaler PageScaler(const Page& page, const Scaler& resolution, const Theme& theme) {
    return page.scaled ? resolution : Scaler(1.0, theme.minFontSize);
}

QString PageFolder(const Page& page, const QString& programDir, const QString& resolutionFolder) {
    if (page.folder == "PopDlg") return programDir + "/Skins/PopDlg/";
    if (page.folder == "Menu") return programDir + "/Skins/" + resolutionFolder + "/Menu/";
    return programDir + "/Skins/" + resolutionFolder + "/";
}

bool WritePagePictures(const Description& description, const Page& page, const Scaler& scaler,
                       const QString& folder) {
    for (const QString& state : page.states) {
        const auto render = [&](int ratio) {
            return RenderPage(description, page, scaler, StateFromName(state), ratio);
        };
        if (!WritePicturePair(folder + PageFileName(page, state), render)) return false;
    }
    if (page.mask && page.maskFile.isEmpty()) {
        const auto render = [&](int ratio) { return RenderMask(page, scaler, ratio); };
        if (!WritePicturePair(folder + PageFileName(page, "MASK"), render)) return false;
    }
    return true;
}

const Widget* FindWidget(const Description& description, const QString& section, const QString& key) {
    const Page* page = description.FindPage(section);
    if (!page) return nullptr;
    for (const Widget& widget : page->widgets)
        if (widget.key == key) return &widget;
    return nullptr;
}

bool WriteFixedPictures(const Description& description, const Scaler& scaler, const QString& folder) {
    using namespace skindocs::keys;
    const Widget* led = FindWidget(description, Utf16(kLed), Utf16(kButtonLed[0]));
    const Widget* slider = FindWidget(description, Utf16(kLed), Utf16(kSliderR));
    const int side = scaler.Length(led ? led->rect.width() : 136);
    const int sliderHeight = scaler.Length(slider ? slider->rect.height() : 40);
    const Theme& theme = description.theme;
    const auto thumb = [&](bool hover) {
        return [&, hover](int ratio) { return RenderThumb(theme, scaler, sliderHeight, hover, ratio); };
    };
    return WritePicturePair(folder + Utf16(kLedTintTemplate), [&](int ratio) { return RenderTintTemplate(side, ratio); }) &&
           WritePicturePair(folder + Utf16(kRgbThumb), thumb(false)) &&
           WritePicturePair(folder + Utf16(kRgbThumbOver), thumb(true)) &&
           WritePicturePair(folder + Utf16(kLevelThumb), thumb(false)) &&
           WritePicturePair(folder + Utf16(kLevelThumbOver), thumb(true));
}

XmlSections SkinDocumentOf(const Description& description, const QString& version) {
    XmlSections doc;
    for (const Page& page : description.pages) {
        if (page.mask) {
            const QString mask = page.maskFile.isEmpty() ? PageFileName(page, "MASK") : page.maskFile;
            doc.Add(page.section, {"MASK", mask, {}, {}});
        }
        for (const QString& state : page.states) doc.Add(page.section, {state, PageFileName(page, state), {}, {}});
    }
    doc.Add(Utf16(skindocs::keys::kInfo), {Utf16(skindocs::keys::kSwVersion), version, {}, {}});
    return doc;
}

XmlSections StringDocumentOf(const Strings& strings) {
    XmlSections doc;
    for (auto section = strings.begin(); section != strings.end(); ++section)
        for (auto key = section.value().begin(); key != section.value().end(); ++key)
            doc.Add(section.key(), {key.key(), key.value(), {}, {}});
    return doc;
}

}  // namespace

QList<Resolution> Resolutions() {
    return {{"1920x1080", 1.0, 12}, {"1366x768", 1366.0 / 1920.0, 12}, {"960x540", 0.5, 11}};
}

QString PageFileName(const Page& page, const QString& state) {
    const QString name = state.left(1) + state.mid(1).toLower();
    return page.picture + "_" + name + (state == "MASK" ? ".bmp" : ".jpg");
}

bool WriteSkinSet(const Description& description, const QString& programDir, const QString& version,
                  const QString& previewDir) {
    const Theme& theme = description.theme;
    bool popupsWritten = false;
    for (const Resolution& resolution : Resolutions()) {
        const Scaler scaler(resolution.factor, std::max(theme.minFontSize, resolution.minFontSize));
        const QString folder = programDir + "/Skins/" + resolution.folder + "/";
        XmlSections buttons;
        for (const Page& page : description.pages) {
            const Scaler pageScaler = PageScaler(page, scaler, theme);
            AddPageRecords(buttons, theme, page, pageScaler);
            if (page.folder == "PopDlg" && popupsWritten) continue;
            if (!WritePagePictures(description, page, pageScaler, PageFolder(page, programDir, resolution.folder)))
                return false;
            if (!previewDir.isEmpty() && !(page.folder == "PopDlg" && popupsWritten)) {
                const QString tag = page.folder == "PopDlg" ? QString("PopDlg") : resolution.folder;
                RenderPreview(description, page, pageScaler, description.languages.value("en"))
                    .save(previewDir + "/" + tag + "_" + page.picture + ".png");
            }
        }
        popupsWritten = true;
        if (!WriteFixedPictures(description, scaler, folder)) return false;
        if (!WriteUtf8(folder + "Buttons.xml", buttons.Text("BUTTONS", "UTF-8"))) return false;
    }
    if (!WriteUtf8(programDir + "/Skins.xml", SkinDocumentOf(description, version).Text("SKIN", "UTF-8")))
        return false;
    for (auto it = description.languages.begin(); it != description.languages.end(); ++it) {
        const QString path = it.key() == "en" ? programDir + "/Strings.xml"
                                              : programDir + "/Languages/" + it.key() + "/Strings.xml";
        if (!WriteUtf8(path, StringDocumentOf(it.value()).Text("STRINGS", "UTF-8"))) return false;
    }
    return true;
}

}  // namespace skingen
