#include "BaseDlg.h"

#include "BitmapBtn.h"
#include "PngHSliderBar.h"
#include "RegionFromMask.h"
#include "SkinAttributes.h"
#include "SkinDocuments.h"
#include "SkinErrorMessage.h"
#include "XmlDocument.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <utility>

namespace skin {

namespace {

// A frameless window that can still be minimised from the task bar.
constexpr Qt::WindowFlags kPopupFlags =
    Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint;

// The page's picture for `key` ("" when the skin document names none).
QString PictureName(const QString& section, std::u16string_view key) {
    return ToQString(xml::LookupValue(skindocs::SkinDocument(), ToU16(section), key));
}

// Loads the named picture of the page into `picture`, for a window of device pixel ratio `ratio`, the
// rows of a valid `hidden` left undecoded where it can (LoadPictureAround: `skipped`); a missing name or
// file leaves it as it was.
bool LoadPagePicture(const QString& folder, const QString& name, QImage& picture, qreal ratio, QSize* size,
                     const QRect& hidden, QRect& skipped) {
    skipped = QRect();
    if (name.isEmpty()) return false;
    return LoadPictureAround(folder + name, hidden, picture, size, ratio, skipped) == 0;
}

}  // namespace

bool PlatformShapesWindows(const QString& platformName) {
    return !platformName.startsWith(QLatin1String("wayland"));
}

CBaseDlg::CBaseDlg(QWidget* parent) : QDialog(parent, kPopupFlags) {
    // The page keeps its template size until its background gives it one; showing it must not fit it
    // around its widgets, whose rectangles come from the skin and may be anything.
    resize(size());
}

CBaseDlg::~CBaseDlg() = default;

bool CBaseDlg::CreateSkinPage(QWidget* parent, int templateId) {
    if (templateId == kPopupTemplate) {
        setParent(parent, kPopupFlags);
    } else if (templateId == kChildTemplate && parent != nullptr) {
        setParent(parent, Qt::Widget);
    } else {
        return false;
    }
    templateId_ = templateId;
    // Hidden explicitly: a child page that was merely never shown would appear with its parent.
    hide();
    if (!initialised_) {
        initialised_ = true;
        InitDialog();
    }
    return true;
}

void CBaseDlg::setVisible(bool visible) {
    if (visible && !initialised_) {
        initialised_ = true;
        InitDialog();
    }
    QDialog::setVisible(visible);
    // The window's looks are made ready as its window is exposed, just before it is painted.
    if (visible && isWindow() && windowHandle() != nullptr && watchedWindow_ != windowHandle()) {
        watchedWindow_ = windowHandle();
        watchedWindow_->installEventFilter(this);
    }
}

bool CBaseDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == watchedWindow_ && event->type() == QEvent::Expose) PrepareShownLooks();
    return QDialog::eventFilter(watched, event);
}

void CBaseDlg::PrepareShownLooks() {
    // In the state the widgets have when the window is painted, one page picture after the other has
    // the part that holds the looks shown from it decoded in one go, cut and freed before the paint makes
    // the window buffer: none is held beside that buffer.
    // (The slider has no meta-object of its own: it is told apart by its C++ type.)
    LookBatch batch;
    for (const QWidget* widget : findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(this)) continue;
        if (const auto* button = dynamic_cast<const CBitmapBtn*>(widget)) button->PrepareLook(batch);
        if (const auto* slider = dynamic_cast<const CPngHSliderBar*>(widget)) slider->PrepareLook(batch);
    }
    batch.Resolve();
}

void CBaseDlg::InitDialog() {
    LoadSkin();
    FreeStatePictures();
}

void CBaseDlg::LoadSkin() {
    const QString folder = PageImageFolder(imageFolderName_);
    ApplyMask(folder);

    // On a dense screen the pictures come at twice the density; the page keeps its logical size.
    const qreal ratio = PictureRatio(this);
    QSize size;
    const QString backgroundName = PictureName(sectionName_, u"NORMAL");
    int aheadError = 0;
    const bool loaded =
        !backgroundName.isEmpty() && backgroundAhead_.Take(folder + backgroundName, ratio, aheadError, background_, size)
            ? aheadError == 0
            : LoadPagePicture(folder, backgroundName, background_, ratio, &size, hiddenRows_, undecodedRows_);
    if (loaded) {
        // A child page lies at its parent's corner. A window is not placed here: asking for a position
        // would put it at the screen's corner, where the window manager and the dialog's own placement
        // (centred on its parent, or on the screen) know better.
        if (!isWindow()) move(0, 0);
        resize(size);
        update();
    }
    // The other looks are decoded when a widget first shows them: most are never needed for the first
    // paint, and some (the hover looks) only when the pointer comes.
    imageSet_.normal = &background_;
    imageSet_.shareNormal = true;
    imageSet_.deferredOver = DeferredPicture::Named(folder, PictureName(sectionName_, u"OVER"), ratio);
    imageSet_.deferredDown = DeferredPicture::Named(folder, PictureName(sectionName_, u"DOWN"), ratio);
    imageSet_.deferredDisable = DeferredPicture::Named(folder, PictureName(sectionName_, u"DISABLE"), ratio);
}

QSize CBaseDlg::DeclaredBackgroundSize() const {
    const QString name = PictureName(sectionName_, u"NORMAL");
    return name.isEmpty() ? QSize() : PictureHeaderSize(PageImageFolder(imageFolderName_) + name);
}

void CBaseDlg::DecodeWholeBackground() {
    if (undecodedRows_.isEmpty()) return;
    // The same picture as before, now with every row: the widgets' looks, cut outside the undecoded
    // rows, stay as they are. A picture that can no longer be read as it was (changed or gone since, or
    // now at another density: a twin that no longer fits gives the 1x picture) leaves those rows black
    // rather than whatever their memory held.
    QImage whole;
    QRect none;
    const bool read = LoadPagePicture(PageImageFolder(imageFolderName_), PictureName(sectionName_, u"NORMAL"), whole,
                                      background_.devicePixelRatio(), nullptr, QRect(), none);
    if (read && whole.size() == background_.size() && whole.devicePixelRatio() == background_.devicePixelRatio()) {
        background_ = std::move(whole);
    } else {
        QPainter painter(&background_);
        painter.fillRect(undecodedRows_, Qt::black);
    }
    undecodedRows_ = QRect();
}

void CBaseDlg::DecodeBackgroundAhead(qreal ratio) {
    const QString name = PictureName(sectionName_, u"NORMAL");
    if (!name.isEmpty()) backgroundAhead_.Start(PageImageFolder(imageFolderName_) + name, ratio);
}

void CBaseDlg::ApplyMask(const QString& folder) {
    const QString maskName = PictureName(sectionName_, u"MASK");
    if (maskName.isEmpty()) return;
    // The outline is in logical pixels at every density: the 1x mask gives it exactly.
    QImage mask;
    LoadMaskPictureFile(folder + maskName, mask);
    const std::optional<QRegion> outline = RegionFromMask(mask);
    if (!outline) {
        // The page stays rectangular; loading goes on.
        ShowErrorMessage(this, QStringLiteral("error"));
        return;
    }
    // The mask shapes the window where the platform can, and limits its input everywhere.
    setMask(*outline);
    if (isWindow() && !PlatformShapesWindows(QGuiApplication::platformName())) {
        // Elsewhere the window stays rectangular: outside the outline it shows through, so the corners
        // are round all the same.
        setAttribute(Qt::WA_TranslucentBackground);
        paintOutline_ = *outline;
    }
}

void CBaseDlg::FreeStatePictures() {
    // The widgets keep the deferred pictures they still need; the page keeps none.
    imageSet_.deferredOver.reset();
    imageSet_.deferredDown.reset();
    imageSet_.deferredDisable.reset();
}

void CBaseDlg::DropBackgroundUnder(const QRect& covered) {
    // Rows left undecoded that the cover does not hide are decoded first.
    if (!covered.contains(undecodedRows_)) DecodeWholeBackground();
    const QRect whole(QPoint(0, 0), LogicalSize(background_));
    if (background_.isNull() || !covered.intersects(whole)) return;
    for (const QRect& seen : QRegion(whole).subtracted(covered)) {
        QImage piece = background_.copy(PicturePixels(background_, seen));
        piece.setDevicePixelRatio(background_.devicePixelRatio());
        backgroundPieces_.push_back(BackgroundPiece{seen.topLeft(), std::move(piece)});
    }
    background_ = QImage();
    undecodedRows_ = QRect();
}

void CBaseDlg::DrawSkinContent(QPainter&) {}

bool CBaseDlg::PaintsWholeRectOpaque() const {
    // A picture drawn at another density is scaled, and the pixels along its edges may be blended.
    return !background_.isNull() && !background_.hasAlphaChannel() &&
           background_.devicePixelRatio() == devicePixelRatioF() &&
           LogicalSize(background_) == size() && paintOutline_.isEmpty() && mask().isEmpty();
}

void CBaseDlg::paintEvent(QPaintEvent*) {
    // Widgets paint into the window's back buffer, so background and content appear in one transfer.
    QPainter painter(this);
    if (!paintOutline_.isEmpty()) painter.setClipRegion(paintOutline_);
    if (!background_.isNull()) painter.drawImage(0, 0, background_);
    for (const BackgroundPiece& piece : backgroundPieces_) painter.drawImage(piece.at, piece.picture);
    DrawSkinContent(painter);
    if (!painted_) {
        painted_ = true;
        // Queued: the paint is handed to the screen when this and the other widgets' paints return.
        QMetaObject::invokeMethod(this, &CBaseDlg::firstPainted, Qt::QueuedConnection);
    }
}

void CBaseDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();  // neither closes the page nor presses a default button
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

QWidget* CBaseDlg::WindowToDrag() {
    // A page inside another page moves the window it belongs to.
    if (templateId_ == kChildTemplate && parentWidget() != nullptr) return parentWidget()->window();
    return window();
}

void CBaseDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    QWidget* target = WindowToDrag();
    event->accept();
    QWindow* handle = target->windowHandle();
    if (handle != nullptr && handle->startSystemMove()) return;
    // The platform cannot move the window for us: follow the mouse until the button is released.
    dragged_ = target;
    dragOffset_ = event->globalPosition().toPoint() - target->pos();
}

void CBaseDlg::mouseMoveEvent(QMouseEvent* event) {
    if (dragged_ != nullptr && (event->buttons() & Qt::LeftButton)) {
        dragged_->move(event->globalPosition().toPoint() - dragOffset_);
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void CBaseDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) dragged_ = nullptr;
    QDialog::mouseReleaseEvent(event);
}

}  // namespace skin
