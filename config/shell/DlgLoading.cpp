#include "DlgLoading.h"

#include "PopupWindows.h"
#include "RegionFromMask.h"
#include "SkinAttributes.h"
#include "SkinDocuments.h"
#include "SkinErrorMessage.h"
#include "SkinKeys.h"
#include "SkinPictures.h"
#include "WindowMessage.h"
#include "XmlDocument.h"

#include <QApplication>
#include <QPainter>

namespace config {

namespace {

QString OverlayPictureName(std::u16string_view key) {
    return skin::ToQString(xml::LookupValue(skindocs::SkinDocument(), skindocs::keys::kOverlay, key));
}

}  // namespace

CDlgLoading::CDlgLoading(QWidget* owner) : QWidget(owner != nullptr ? owner->window() : nullptr) {
    // The program finds its own layers and windows by this internal name.
    setObjectName(QStringLiteral("DLGLoading"));
    hide();
}

CDlgLoading::~CDlgLoading() { qApp->removeEventFilter(this); }

int CDlgLoading::exec() {
    QWidget* owner = parentWidget();
    if (owner == nullptr) {
        owner = QApplication::activeWindow();
        if (owner != nullptr) setParent(owner->window());
        owner = parentWidget();
    }
    aborted_ = false;
    LoadPictures();
    if (owner != nullptr) CoverOwner(*owner);

    qApp->installEventFilter(this);
    int result = kAbortedResult;
    if (popup_ != nullptr) {
        // The pop-up belongs to the owner: the desktop keeps it over the owner, and it centres itself
        // on it when it opens.
        if (owner != nullptr && popup_->parentWidget() != owner) popup_->setParent(owner, popup_->windowFlags());
        result = popup_->exec();
    }
    qApp->removeEventFilter(this);
    hide();
    return aborted_ ? kAbortedResult : result;
}

void CDlgLoading::LoadPictures() {
    const QString folder = skin::PageImageFolder(imageFolderName_);
    const QString backgroundName = OverlayPictureName(skindocs::keys::kNormal);
    if (!backgroundName.isEmpty()) {
        skin::LoadPictureFile(folder + backgroundName, background_, nullptr, skin::PictureRatio(this));
    }
    const QString maskName = OverlayPictureName(skindocs::keys::kMask);
    if (!maskName.isEmpty()) {
        QImage mask;
        skin::LoadMaskPictureFile(folder + maskName, mask);
        if (const std::optional<QRegion> outline = skin::RegionFromMask(mask)) {
            setMask(*outline);
        } else {
            skin::ShowErrorMessage(this, QStringLiteral("error"));
        }
    }
}

void CDlgLoading::CoverOwner(QWidget& owner) {
    setGeometry(owner.rect());
    raise();
    show();
}

bool CDlgLoading::eventFilter(QObject* watched, QEvent* event) {
    const platform::WindowMessageEvent* message = platform::AsWindowMessage(event);
    if (message != nullptr && message->Message() == kApplySettingsMessage && !aborted_) {
        aborted_ = true;
        if (popup_ != nullptr && popup_->isVisible()) popup_->done(kAbortedResult);
    }
    return QWidget::eventFilter(watched, event);
}

void CDlgLoading::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setOpacity(kAlpha / 255.0);
    if (background_.isNull()) {
        painter.fillRect(rect(), Qt::black);
    } else {
        painter.drawImage(0, 0, background_);
    }
}

}  // namespace config
