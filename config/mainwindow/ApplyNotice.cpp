#include "ApplyNotice.h"

#include "SkinAttributes.h"
#include "SkinDocuments.h"
#include "SkinFactory.h"
#include "SkinKeys.h"
#include "SkinPictures.h"
#include "SkinRecord.h"
#include "SkinTextFormat.h"
#include "XmlDocument.h"

#include <QPainter>

namespace config {

namespace keys = skindocs::keys;

namespace {

constexpr unsigned kNoticeFormat = skin::DT_RIGHT | skin::DT_VCENTER | skin::DT_SINGLELINE | skin::DT_END_ELLIPSIS;

}  // namespace

ApplyNotice::ApplyNotice(QWidget* parent) : QLabel(parent) {
    setObjectName(skin::ToQString(keys::kStrApplied));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    clearTimer_.setSingleShot(true);
    clearTimer_.setInterval(kShownMs);
    connect(&clearTimer_, &QTimer::timeout, this, &ApplyNotice::Clear);
    hide();
}

void ApplyNotice::Place() {
    const std::u16string record = xml::LookupValue(skindocs::ButtonDocument(), keys::kMain, keys::kStrApplied);
    setGeometry(skin::ToQRect(skin::ParseSkinRecord(record).rect));
    Clear();
}

void ApplyNotice::ShowOutcome(bool applied) {
    const std::u16string_view key = applied ? keys::kStrApplied : keys::kStrApplyFailed;
    // setText tells assistive technology that the label's text changed.
    setText(skin::ToQString(xml::LookupValue(skindocs::StringDocument(), keys::kMain, key)));
    show();
    raise();
    clearTimer_.start();
}

void ApplyNotice::Clear() {
    clearTimer_.stop();
    clear();
    hide();
}

void ApplyNotice::paintEvent(QPaintEvent*) {
    // The skin's label is placed in the main window's coordinates: draw it there, shifted onto this widget.
    QPainter painter(this);
    painter.translate(-pos());
    skin::DrawSkinLabel(painter, keys::kMain, keys::kStrApplied, text(), kNoticeFormat);
}

}  // namespace config
