#include "ProgressPage.h"

#include "SkinAttributes.h"
#include "SkinDocuments.h"
#include "SkinKeys.h"
#include "SkinPictures.h"
#include "XmlDocument.h"

#include <QPainter>

#include <algorithm>

namespace config {

CProgressPage::CProgressPage(QWidget* parent) : skin::CBaseDlg(parent) {}

void CProgressPage::SetProgress(int percent) {
    percent = std::clamp(percent, 0, 100);
    if (percent == percent_) return;
    percent_ = percent;
    repaint(0, barTop_, width(), std::max(0, height() - barTop_));
}

void CProgressPage::LoadBarPicture() {
    const QString name = skin::ToQString(
        xml::LookupValue(skindocs::SkinDocument(), skin::ToU16(SectionName()), skindocs::keys::kOver));
    if (name.isEmpty()) return;
    skin::LoadPictureFile(skin::PageImageFolder(ImageFolderName()) + name, bar_, nullptr, skin::PictureRatio(this));
}

void CProgressPage::DrawSkinContent(QPainter& painter) {
    if (bar_.isNull()) return;
    const QRect area(0, barTop_, BarWidth(width(), percent_), height() - barTop_);
    if (area.isEmpty()) return;
    painter.drawImage(area, bar_, skin::PicturePixels(bar_, area));
}

}  // namespace config
