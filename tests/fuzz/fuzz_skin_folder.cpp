// Fuzzes a page of the skinned toolkit built from a skin folder: the base page (outline from its mask,
// background and state pictures), captioned buttons, an image slider with its thumb, the colour field,
// bar and well, and the menu list, all placed by Buttons.xml records. The folder starts as a small
// generated skin (written once, below); each input replaces some of its files:
//
//   <Buttons.xml> SEP <NORMAL picture> SEP <MASK picture> SEP <thumb picture> SEP <OVER picture>
//
// where SEP is the line "--8<--"; a part that is absent or empty keeps the generated file. The page is
// then made, painted into a fixed-size picture and destroyed. Whatever the files hold, this must
// neither crash, hang nor take unbounded memory (run with -timeout and -rss_limit_mb).
#include "BaseDlg.h"
#include "BitmapBtn.h"
#include "BtnMenu.h"
#include "ColorPickerFactories.h"
#include "PngHSliderBar.h"
#include "SkinDocuments.h"
#include "SkinErrorMessage.h"
#include "SkinFactory.h"
#include "SkinSliderFactory.h"
#include "XmlDocument.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view kSeparator = "\n--8<--\n";
const QString kFolder = QStringLiteral("Res");

// The generated skin: a 240 x 160 page with three buttons, a slider and the picker.
const char kButtons[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<BUTTONS>\r\n  <LED>\r\n"
    "    <BUTTON_1 FONT=\"Noto Sans\" SIZE=\"-13\" OFFSETX=\"4\">BUTTON_1,8,8,64,24,,0</BUTTON_1>\r\n"
    "    <BUTTON_2 FONT=\"Noto Sans\" SIZE=\"-13\">BUTTON_2,80,8,64,24,,0</BUTTON_2>\r\n"
    "    <BUTTON_3>BUTTON_3,152,8,64,24,,0</BUTTON_3>\r\n"
    "    <SLIDER_R>SLIDER_R,8,40,200,20,,0</SLIDER_R>\r\n"
    "    <BUTTON_SEL_BRIGHTNESS>BUTTON_SEL_BRIGHTNESS,8,68,120,60,,0</BUTTON_SEL_BRIGHTNESS>\r\n"
    "    <SLIDER_RGB>SLIDER_RGB,8,130,120,28,,0</SLIDER_RGB>\r\n"
    "    <BUTTON_COLOR>BUTTON_COLOR,140,68,60,60,,0</BUTTON_COLOR>\r\n"
    "  </LED>\r\n</BUTTONS>\r\n";
const char kSkins[] =
    "<SKIN><LED><MASK>Led_Mask.bmp</MASK><NORMAL>Led_Normal.jpg</NORMAL><OVER>Led_Over.jpg</OVER>"
    "<DOWN>Led_Down.jpg</DOWN><DISABLE>Led_Disable.jpg</DISABLE></LED></SKIN>";
const char kStrings[] =
    "<STRINGS><GLOBAL><FONT>Noto Sans</FONT><FONT_SIZE>-13</FONT_SIZE></GLOBAL>"
    "<LED><BUTTON_1>Static</BUTTON_1><BUTTON_2>Stars\\r\\nSky</BUTTON_2><BUTTON_3>Off</BUTTON_3></LED></STRINGS>";

struct Folder {
    QTemporaryDir dir;
    QString Path(const QString& name) const { return dir.path() + QStringLiteral("/Skins/") + kFolder + '/' + name; }
};

Folder* g_folder = nullptr;

QByteArray Encoded(const QImage& picture, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return bytes;
}

QImage RoundedMask() {
    QImage mask(240, 160, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter painter(&mask);
    painter.setBrush(Qt::black);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRect(0, 0, 240, 160), 12, 12);
    return mask;
}

QImage Filled(const QColor& colour) {
    QImage picture(240, 160, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

// The files an input may replace, with their generated contents.
struct Part {
    QString name;
    QByteArray generated;
};

std::array<Part, 5>& Parts() {
    static std::array<Part, 5> parts = {{
        {QStringLiteral("Buttons.xml"), QByteArray(kButtons)},
        {QStringLiteral("Led_Normal.jpg"), Encoded(Filled(QColor(0x14, 0x16, 0x1B)), "JPEG")},
        {QStringLiteral("Led_Mask.bmp"), Encoded(RoundedMask(), "BMP")},
        {QStringLiteral("thumb.png"), Encoded(Filled(Qt::white).copy(0, 0, 16, 16), "PNG")},
        {QStringLiteral("Led_Over.jpg"), Encoded(Filled(QColor(0x26, 0x2A, 0x33)), "JPEG")},
    }};
    return parts;
}

// A button that shows each of its looks, as the pointer, a press or disabling would: the hover, pressed
// and disabled looks are read from their page pictures only when first shown.
class FuzzButton : public skin::CBitmapBtn {
public:
    void ShowEveryLook() const {
        for (const skin::StatePicture state : {skin::StatePicture::Normal, skin::StatePicture::Hover,
                                               skin::StatePicture::Pressed, skin::StatePicture::Disabled}) {
            Picture(state);
        }
    }
};

class FuzzPage : public skin::CBaseDlg {
public:
    FuzzPage() {
        SetSectionName(QStringLiteral("LED"));
        SetImageFolderName(kFolder);
    }
    void LoadSkin() override {
        CBaseDlg::LoadSkin();
        const char16_t* keys[] = {u"BUTTON_1", u"BUTTON_2", u"BUTTON_3"};
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            skin::CreateSkinButton(buttons[i], this, ImageSet(), u"LED", keys[i], true, 0x11, -1);
        }
        const QString thumb = g_folder->Path(QStringLiteral("thumb.png"));
        skin::CreateSkinSlider(slider, this, ImageSet(), u"LED", u"SLIDER_R", 1000, thumb, {}, thumb, false, 0, 255);
        slider.SetPosition(128);
        xml::CXmlDocument& records = skindocs::ButtonDocument();
        const auto rect = [&](std::u16string_view key) {
            return skin::ToQRect(skin::ParseSkinRecord(xml::LookupValue(records, u"LED", key)).rect);
        };
        auto* field = colorpicker::CreateColorField(this, rect(u"BUTTON_SEL_BRIGHTNESS"));
        auto* bar = colorpicker::CreateColorBar(this, rect(u"SLIDER_RGB"));
        colorpicker::CreateColorWell(this, rect(u"BUTTON_COLOR"), field);
        field->SetPickerMode(3);
        field->LinkBar(bar);
        bar->LinkField(field);
        field->SetColor(0x3F8CFF);
        menu.AddItem(u"Static", 0x1000, 0, 1, true);
        menu.RefreshItems(-1);
    }
    std::array<FuzzButton, 3> buttons;
    skin::CPngHSliderBar slider;
    skin::CBtnMenu menu;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication application(*argc, *argv);
    skin::SetErrorMessageHook([](QWidget*, const QString&) {});
    g_folder = new Folder;
    QDir().mkpath(g_folder->Path(QString()));
    WriteFile(g_folder->dir.path() + QStringLiteral("/Skins.xml"), kSkins);
    WriteFile(g_folder->dir.path() + QStringLiteral("/Strings.xml"), kStrings);
    // The states the input does not replace.
    WriteFile(g_folder->Path(QStringLiteral("Led_Down.jpg")), Encoded(Filled(QColor(0x3F, 0xB6, 0xFF)), "JPEG"));
    WriteFile(g_folder->Path(QStringLiteral("Led_Disable.jpg")), Encoded(Filled(QColor(0x1D, 0x20, 0x27)), "JPEG"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    for (Part& part : Parts()) {
        const std::size_t end = input.find(kSeparator);
        const std::string_view bytes = input.substr(0, end);
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + kSeparator.size());
        WriteFile(g_folder->Path(part.name),
                  bytes.empty() ? part.generated : QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    skindocs::ResetSkinDocuments();
    skindocs::LoadSkinDocuments(QFile::encodeName(g_folder->dir.path() + '/').toStdString(), kFolder.toStdString());
    {
        FuzzPage page;
        page.CreateSkinPage(nullptr, skin::CBaseDlg::kPopupTemplate);
        // Painted as the window would be, into a picture of a bounded size whatever the page's size.
        QImage shown(256, 192, QImage::Format_ARGB32_Premultiplied);
        shown.fill(Qt::transparent);
        page.render(&shown);
        for (const FuzzButton& button : page.buttons) button.ShowEveryLook();
        page.slider.setEnabled(false);
        page.render(&shown);
    }
    return 0;
}
