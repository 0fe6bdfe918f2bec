#include "BitmapBtn.h"

#include "AccessibleNotices.h"
#include "SkinAttributes.h"
#include "SkinDocuments.h"
#include "SkinFont.h"
#include "SkinTextFormat.h"
#include "XmlDocument.h"

#include <QApplication>
#include <QCursor>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace skin {

namespace {

// The one button of the program that shows its hover look, if any.
CBitmapBtn* g_hoveredButton = nullptr;

constexpr std::uint32_t kFrameColor = 0x4A4A4A;

// Text-drawing flags of a caption format word: one line, vertically centred, cut with "..." when
// too long; or wrapped lines with kFormatWrap.
unsigned CaptionDrawFlags(int textFormat) {
    unsigned flags = DT_VCENTER | DT_END_ELLIPSIS;
    flags |= (textFormat & CBitmapBtn::kFormatWrap) ? DT_WORDBREAK : DT_SINGLELINE;
    const int alignment = textFormat & ~CBitmapBtn::kFormatWrap;
    if (alignment == CBitmapBtn::kFormatCentred) {
        flags |= DT_CENTER;
    } else if (alignment == CBitmapBtn::kFormatRight) {
        flags |= DT_RIGHT;
    }
    return flags;
}

void LoadStringDocumentIfEmpty() {
    xml::CXmlDocument& strings = skindocs::StringDocument();
    if (!strings.Text().empty() || skindocs::g_programDir.empty()) return;
    if (strings.LoadFile(skindocs::g_programDir + "Strings.xml")) strings.Rewind();
}

}  // namespace

CBitmapBtn::CBitmapBtn(QWidget* parent) : QAbstractButton(parent) {
    // Clicking may focus the button, tabbing never does.
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(true);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (!checkable_) emit command(kClickCode, this);
    });
}

CBitmapBtn::~CBitmapBtn() {
    if (g_hoveredButton == this) g_hoveredButton = nullptr;
}

void CBitmapBtn::Create(QWidget* page, const QRect& rect) {
    setParent(page);
    setGeometry(rect);
    LoadStringDocumentIfEmpty();
    const std::u16string face = xml::LookupValue(skindocs::StringDocument(), u"GLOBAL", u"FONT");
    if (!face.empty()) faceName_ = ToQString(face);
    const std::u16string size = xml::LookupValue(skindocs::StringDocument(), u"GLOBAL", u"FONT_SIZE");
    if (!size.empty()) fontHeight_ = SkinInteger(size);
    show();
}

void CBitmapBtn::SetStatePictures(const SkinImageSet& pictures, const QRect& rect) {
    CutNormalLook(normal_, pictures, rect);
    CutLook(hover_, pictures.over, pictures.deferredOver, rect);
    CutLook(pressed_, pictures.down, pictures.deferredDown, rect);
    CutLook(disabled_, pictures.disable, pictures.deferredDisable, rect);
    update();
}

void CBitmapBtn::SetCaption(const QString& caption, bool leftAnchored, int margin) {
    if (caption == caption_ && margin == margin_) return;
    caption_ = caption;
    leftAnchored_ = leftAnchored;
    margin_ = margin;
    update();
}

void CBitmapBtn::SetTextRect(const QRect& rect) {
    hasTextRect_ = true;
    textRect_ = rect;
    update();
}

void CBitmapBtn::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    update();
    NotifyCheckedChanged(this);
}

void CBitmapBtn::Press() {
    if (!isEnabled()) return;
    if (checkable_) {
        Toggle();
    } else {
        click();
    }
}

void CBitmapBtn::Toggle() {
    checked_ = !checked_;
    update();
    NotifyCheckedChanged(this);
    emit command(kCheckedCode, this);
}

void CBitmapBtn::SetAutoRepeat(bool repeat, int intervalMs) {
    autoRepeat_ = repeat;
    repeatIntervalMs_ = intervalMs > 0 ? intervalMs : 1;
    if (!repeat) repeatTimer_.stop();
}

void CBitmapBtn::SetTextColors(std::uint32_t normal, std::uint32_t highlighted, std::uint32_t disabled,
                               std::uint32_t checkedPressed) {
    normalTextColor_ = normal;
    highlightTextColor_ = highlighted;
    disabledTextColor_ = disabled;
    checkedPressedTextColor_ = checkedPressed;
    update();
}

void CBitmapBtn::SetNormalTextColor(std::uint32_t color) {
    normalTextColor_ = color;
    update();
}

void CBitmapBtn::SetHighlightTextColor(std::uint32_t color) {
    highlightTextColor_ = color;
    update();
}

void CBitmapBtn::ShowTooltip(const QString& text) {
    tooltipText_ = text;
    tooltipActive_ = true;
    if (QToolTip::isVisible() && underMouse()) QToolTip::showText(QCursor::pos(), text, this);
}

void CBitmapBtn::HideTooltip() {
    if (!tooltipActive_) return;
    tooltipActive_ = false;
    if (underMouse()) QToolTip::hideText();
}

ButtonState CBitmapBtn::CurrentState() const {
    return ButtonState{checked_, hovering_, isDown(), !isEnabled()};
}

ButtonLook CBitmapBtn::CurrentLook() const {
    return checkable_ ? CheckableButtonLook(CurrentState()) : PushButtonLook(CurrentState());
}

const CutOut& CBitmapBtn::Look(StatePicture picture) const {
    switch (picture) {
        case StatePicture::Hover: return hover_;
        case StatePicture::Pressed: return pressed_;
        case StatePicture::Disabled: return disabled_;
        case StatePicture::Normal: break;
    }
    return normal_;
}

const QImage& CBitmapBtn::Picture(StatePicture picture) const { return Look(picture).Picture(); }

QColor CBitmapBtn::CaptionColor(CaptionTone tone) const {
    switch (tone) {
        case CaptionTone::Highlighted: return ColorFromColorRef(highlightTextColor_);
        case CaptionTone::Disabled: return ColorFromColorRef(disabledTextColor_);
        case CaptionTone::CheckedPressed: return ColorFromColorRef(checkedPressedTextColor_);
        case CaptionTone::Normal: break;
    }
    return ColorFromColorRef(normalTextColor_);
}

QRect CBitmapBtn::CaptionRect() const { return WithCaptionMargin(hasTextRect_ ? textRect_ : rect()); }

QRect CBitmapBtn::WithCaptionMargin(QRect area) const {
    if (leftAnchored_) {
        area.setLeft(margin_);
    } else {
        area.setRight(width() - margin_ - 1);
    }
    return area;
}

void CBitmapBtn::DrawCaptionText(QPainter& painter, const QRect& rect, const QString& text, const QFont& font,
                                 const QColor& color) const {
    if (text.isEmpty()) return;
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    DrawSkinText(painter, rect, ExpandLineBreakEscapes(text), CaptionDrawFlags(textFormat_));
    painter.restore();
}

const QImage& CBitmapBtn::PictureFor(const ButtonLook& look) const {
    if (const QImage* own = OwnPicture(look)) return *own;
    return Picture(look.picture);
}

const QImage* CBitmapBtn::OwnPicture(const ButtonLook&) const { return nullptr; }

void CBitmapBtn::PrepareLook(LookBatch& batch) const {
    const ButtonLook look = CurrentLook();
    if (OwnPicture(look) == nullptr) batch.Ask(Look(look.picture));
}

void CBitmapBtn::DrawContent(QPainter& painter, const ButtonLook& look) {
    DrawCaptionText(painter, CaptionRect(), caption_, SkinFont(faceName_, fontHeight_, fontWeight_),
                    CaptionColor(look.tone));
}

void CBitmapBtn::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (pressedOffset_ && isDown()) painter.translate(0, 1);
    const ButtonLook look = CurrentLook();
    const QImage& picture = PictureFor(look);
    if (!picture.isNull()) painter.drawImage(0, 0, picture);
    if (framed_) {
        painter.setPen(ColorFromColorRef(kFrameColor));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    DrawContent(painter, look);
}

bool CBitmapBtn::event(QEvent* event) {
    // The program lost the active window (another program came to the front).
    if (event->type() == QEvent::WindowDeactivate) EndHover();
    if (event->type() == QEvent::ToolTip) {
        if (tooltipActive_ && !tooltipText_.isEmpty()) {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tooltipText_, this);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QAbstractButton::event(event);
}

void CBitmapBtn::BeginHover() {
    if (hovering_) return;
    // A disabled button does nothing under the pointer, so it does not light up either.
    if (!isEnabled()) return;
    // Another program in front: no highlight.
    if (QApplication::activeWindow() == nullptr) return;
    // A fast move can skip the neighbour's leave; only one button shows its hover look.
    if (g_hoveredButton != nullptr && g_hoveredButton != this) g_hoveredButton->EndHover();
    hovering_ = true;
    g_hoveredButton = this;
    if (focusOnHover_) setFocus(Qt::MouseFocusReason);
    update();
}

void CBitmapBtn::EndHover() {
    if (g_hoveredButton == this) g_hoveredButton = nullptr;
    if (!hovering_) return;
    hovering_ = false;
    update();
}

void CBitmapBtn::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    // A drag that started elsewhere does not highlight the buttons it crosses.
    if (!(QApplication::mouseButtons() & Qt::LeftButton)) BeginHover();
}

void CBitmapBtn::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    EndHover();
}

void CBitmapBtn::changeEvent(QEvent* event) {
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        repeatTimer_.stop();
        // Disabled under the pointer: the hover look goes with it.
        EndHover();
    }
}

void CBitmapBtn::hideEvent(QHideEvent* event) {
    QAbstractButton::hideEvent(event);
    repeatTimer_.stop();
    EndHover();
}

void CBitmapBtn::mousePressEvent(QMouseEvent* event) {
    switch (event->button()) {
        case Qt::RightButton:
            emit command(kRightPressCode, this);
            event->accept();
            return;
        case Qt::MiddleButton:
            emit command(kMiddlePressCode, this);
            event->accept();
            return;
        case Qt::LeftButton:
            if (!window()->isActiveWindow()) window()->activateWindow();
            // A precise timer: ticks never come early, so the tick count follows the time held.
            if (autoRepeat_) repeatTimer_.start(repeatIntervalMs_, Qt::PreciseTimer, this);
            break;
        default:
            break;
    }
    QAbstractButton::mousePressEvent(event);
}

void CBitmapBtn::mouseMoveEvent(QMouseEvent* event) {
    QAbstractButton::mouseMoveEvent(event);
    if (!rect().contains(event->position().toPoint())) {
        EndHover();
    } else if (!(event->buttons() & Qt::LeftButton)) {
        BeginHover();
    }
}

void CBitmapBtn::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractButton::mouseReleaseEvent(event);
        return;
    }
    repeatTimer_.stop();
    // A check button gives no plain click (see the clicked connection), only the toggle.
    QAbstractButton::mouseReleaseEvent(event);
    if (checkable_) Toggle();
}

void CBitmapBtn::keyPressEvent(QKeyEvent* event) { event->accept(); }

void CBitmapBtn::keyReleaseEvent(QKeyEvent* event) { event->accept(); }

void CBitmapBtn::timerEvent(QTimerEvent* event) {
    if (event->timerId() == repeatTimer_.timerId()) {
        // Re-armed on every tick: after a busy moment the next tick still waits a whole interval, where a
        // running timer would catch up with a burst of ticks.
        repeatTimer_.start(repeatIntervalMs_, Qt::PreciseTimer, this);
        emit command(kRepeatCode, this);
        return;
    }
    QAbstractButton::timerEvent(event);
}

}  // namespace skin
