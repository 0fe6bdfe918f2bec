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
#include <QKeyEvent>
#include <QPainter>

namespace config {

namespace {

constexpr int kStartDelayMs = 50;

QString OverlayPictureName(std::u16string_view key) {
    return skin::ToQString(xml::LookupValue(skindocs::SkinDocument(), skindocs::keys::kOverlay, key));
}

}  // namespace

CDlgLoading::CDlgLoading(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), owner_(owner) {
    startTimer_.setSingleShot(true);
    connect(&startTimer_, &QTimer::timeout, this, &CDlgLoading::RunPopup);
}

CDlgLoading::~CDlgLoading() { qApp->removeEventFilter(this); }

int CDlgLoading::exec() {
    Initialise();
    qApp->installEventFilter(this);
    const int result = QDialog::exec();
    qApp->removeEventFilter(this);
    return result;
}

void CDlgLoading::Initialise() {
    setObjectName(QStringLiteral("DLGLoading"));
    setWindowTitle(kProgramTitle);
    aborted_ = false;
    const QString folder = skin::PageImageFolder(imageFolderName_);
    const QString backgroundName = OverlayPictureName(skindocs::keys::kNormal);
    if (!backgroundName.isEmpty()) {
        skin::LoadPictureFile(folder + backgroundName, background_, nullptr, skin::PictureRatio(this));
    }
    const QString maskName = OverlayPictureName(skindocs::keys::kMask);
    if (!maskName.isEmpty()) {
        QImage mask;
        skin::LoadPictureFile(folder + maskName, mask);
        if (const std::optional<QRegion> outline = skin::RegionFromMask(mask)) {
            setMask(*outline);
        } else {
            skin::ShowErrorMessage(this, QStringLiteral("error"));
        }
    }
    // Invisible until the start timer has placed it over its owner.
    setGeometry(0, 0, 0, 0);
    startTimer_.start(kStartDelayMs);
}

void CDlgLoading::RunPopup() {
    if (!background_.isNull()) resize(skin::LogicalSize(background_));
    QWidget* owner = owner_ != nullptr ? owner_ : QApplication::activeWindow();
    if (owner != nullptr && owner != this) move(owner->window()->frameGeometry().topLeft());
    setWindowOpacity(kAlpha / 255.0);
    int result = kAbortedResult;
    if (popup_ != nullptr) result = popup_->exec();
    done(aborted_ ? kAbortedResult : result);
}

bool CDlgLoading::eventFilter(QObject* watched, QEvent* event) {
    const platform::WindowMessageEvent* message = platform::AsWindowMessage(event);
    if (message != nullptr && message->Message() == kApplySettingsMessage && !aborted_) {
        aborted_ = true;
        startTimer_.stop();
        if (popup_ != nullptr && popup_->isVisible()) {
            popup_->done(kAbortedResult);
        } else {
            done(kAbortedResult);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CDlgLoading::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();  // neither key ends the overlay
        return;
    }
    QDialog::keyPressEvent(event);
}

void CDlgLoading::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!background_.isNull()) painter.drawImage(0, 0, background_);
}

}  // namespace config
