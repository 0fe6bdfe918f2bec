#include "TessaflashDlg.h"

#include "SkinFactory.h"
#include "SkinPictures.h"
#include "SkinFont.h"
#include "SkinTextFormat.h"
#include "UpdaterPageTexts.h"
#include "UpdaterPictures.h"
#include "UpdaterShape.h"
#include "WarningDlg.h"

#include <QCloseEvent>
#include <QColor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>

namespace updater {

namespace {

using updater_skin::UpdaterPicture;

// Heights as the skin writes a pixel size. The title's is that of the title in the pictures.
constexpr int kTitleHeight = -24;
constexpr int kTitleWeight = 400;
constexpr int kVersionWeight = 700;
// The picture's instruction lines: their size (that of the texts baked beside them), and the colours of
// the first and the second line.
constexpr int kStatusHeight = -16;
constexpr int kStatusWeight = 400;
const QColor kInstructionColour(0xF0, 0xF0, 0xF0);
const QColor kDurationColour(0x9A, 0x9E, 0xA6);
// A point of the picture left of the lines, whose colour covers the picture's own text.
const QPoint kStatusBackgroundPoint(30, 190);

constexpr unsigned kTitleFormat = skin::DT_CENTER | skin::DT_VCENTER | skin::DT_SINGLELINE | skin::DT_NOPREFIX;
constexpr unsigned kVersionFormat = skin::DT_LEFT | skin::DT_VCENTER | skin::DT_SINGLELINE | skin::DT_NOPREFIX;

}  // namespace

CTessaflashDlg::CTessaflashDlg(QWidget* parent) : skin::CBaseDlg(parent) {
    resultPageRunner_ = [this](int code) {
        CWarning page(code, layout_, this);
        page.exec();
    };
    messageRunner_ = [this](const QString& text, const QString& caption) {
        QMessageBox::critical(this, caption, text);
    };
    okButton_.setAccessibleName(OkButtonName());
    cancelButton_.setAccessibleName(AbortButtonName());
    closeButton_.setAccessibleName(CloseButtonName());
    connect(&okButton_, &skin::CBitmapBtn::command, this, [this](int code, skin::CBitmapBtn*) {
        if (code == skin::CBitmapBtn::kClickCode) emit updateRequested();
    });
    for (skin::CBitmapBtn* button : {&cancelButton_, &closeButton_}) {
        connect(button, &skin::CBitmapBtn::command, this, [this](int code, skin::CBitmapBtn*) {
            if (code == skin::CBitmapBtn::kClickCode) emit cancelRequested();
        });
    }
}

// The title face stays registered as long as the window exists; its member removes it.
CTessaflashDlg::~CTessaflashDlg() = default;

void CTessaflashDlg::LoadSkin() {
    // Everything comes from the resources compiled into the updater, not from a skin folder.
    layout_ = LoadUpdaterLayout();
    const qreal ratio = skin::PictureRatio(this);
    background_ = LoadUpdaterPicture(UpdaterPicture::MainNormal, ratio);
    const QImage hoverAndPressed = LoadUpdaterPicture(UpdaterPicture::MainHoverPressed, ratio);
    const QImage disabled = LoadUpdaterPicture(UpdaterPicture::MainDisabled, ratio);
    barPictures_.empty = LoadUpdaterPicture(UpdaterPicture::BarEmpty, ratio);
    barPictures_.full = LoadUpdaterPicture(UpdaterPicture::BarFull, ratio);
    if (layout_.barMarker) barPictures_.marker = LoadUpdaterPicture(UpdaterPicture::BarMarker, ratio);

    skin::SkinImageSet pictures;
    pictures.normal = &background_;
    pictures.over = &hoverAndPressed;
    pictures.down = &hoverAndPressed;
    pictures.disable = &disabled;
    skin::CreateButtonFromRecord(okButton_, this, pictures, layout_.confirmOk);
    skin::CreateButtonFromRecord(cancelButton_, this, pictures, layout_.confirmCancel);
    skin::CreateButtonFromRecord(closeButton_, this, pictures, layout_.confirmClose);

    versionFont_ = skin::SkinFont(layout_.versionFace, layout_.versionHeight, kVersionWeight);
    statusFont_ = skin::SkinFont(QString(), kStatusHeight, kStatusWeight);
    if (!background_.isNull()) resize(skin::LogicalSize(background_));
    ApplyUpdaterShape(*this, UpdaterPicture::MainOutline);

    titleFace_.Register();
    titleFont_ = skin::SkinFont(QString::fromLatin1(fonts::kUpdaterTitleFamily), kTitleHeight, kTitleWeight);
    ApplyControls();
}

void CTessaflashDlg::SetTexts(const PageTexts& texts) {
    texts_ = texts;
    setWindowTitle(texts.title);
    setAccessibleDescription(ConfirmPageText(texts));
    update();
}

void CTessaflashDlg::SetControls(const PageControls& controls) {
    controls_ = controls;
    ApplyControls();
    update();
}

void CTessaflashDlg::ApplyControls() {
    okButton_.setEnabled(controls_.ok);
    cancelButton_.setEnabled(controls_.cancel);
    closeButton_.setEnabled(controls_.close);
}

void CTessaflashDlg::SetProgress(int percent) {
    if (percent == progress_) return;
    progress_ = percent;
    update();
}

void CTessaflashDlg::ShowResultPage(int code) {
    if (resultPageRunner_) resultPageRunner_(code);
}

void CTessaflashDlg::ShowMessage(const QString& text, const QString& caption) {
    if (messageRunner_) messageRunner_(text, caption);
}

void CTessaflashDlg::Finish(int exitCode) {
    finished_ = true;
    done(exitCode);
}

ProgressBarGeometry CTessaflashDlg::BarGeometry() const {
    return ComputeProgressBar(layout_.barRect.topLeft(), barPictures_, progress_, layout_.barMarker);
}

void CTessaflashDlg::DrawSkinContent(QPainter& painter) {
    painter.drawImage(0, 0, background_);
    DrawTexts(painter);
    // The bar belongs to a running update, which is also when the close button is disabled.
    if (controls_.updating) PaintProgressBar(painter, barPictures_, BarGeometry());
}

void CTessaflashDlg::DrawTexts(QPainter& painter) {
    painter.save();
    painter.setFont(titleFont_);
    painter.setPen(Qt::white);
    skin::DrawSkinText(painter, layout_.titleRect, texts_.title, kTitleFormat);

    painter.setFont(versionFont_);
    const VersionBoxes boxes = VersionTextBoxes();
    if (!texts_.layoutName.isEmpty()) {
        painter.setPen(layout_.layoutName.color);
        skin::DrawSkinText(painter, boxes.layoutName, texts_.layoutName, kVersionFormat);
    }
    painter.setPen(layout_.updateVersion.color);
    skin::DrawSkinText(painter, boxes.updateVersion, texts_.updateVersion, kVersionFormat);
    painter.setPen(layout_.currentVersion.color);
    skin::DrawSkinText(painter, boxes.currentVersion, texts_.currentVersion, kVersionFormat);
    DrawStatusLines(painter);
    painter.restore();
}

CTessaflashDlg::StatusLines CTessaflashDlg::ShownStatusLines() const {
    return {controls_.updating ? texts_.progressLine : QString(), texts_.duration};
}

void CTessaflashDlg::DrawStatusLines(QPainter& painter) {
    const StatusLines lines = ShownStatusLines();
    if (lines.instruction.isEmpty() && lines.duration.isEmpty()) return;
    const qreal ratio = background_.devicePixelRatio();
    const QPoint sample(static_cast<int>(kStatusBackgroundPoint.x() * ratio), static_cast<int>(kStatusBackgroundPoint.y() * ratio));
    const QColor cover = background_.valid(sample) ? background_.pixelColor(sample) : QColor(Qt::black);
    painter.setFont(statusFont_);
    const struct {
        const QString& text;
        QRect rect;
        QColor colour;
    } shown[] = {{lines.instruction, InstructionLineRect(), kInstructionColour},
                 {lines.duration, DurationLineRect(), kDurationColour}};
    for (const auto& line : shown) {
        if (line.text.isEmpty()) continue;
        painter.fillRect(line.rect, cover);
        painter.setPen(line.colour);
        skin::DrawSkinText(painter, line.rect, line.text, kVersionFormat);
    }
}

CTessaflashDlg::VersionBoxes CTessaflashDlg::VersionTextBoxes() const {
    const QRect current = layout_.currentVersion.rect;
    QRect update = layout_.updateVersion.rect;
    update.moveLeft(current.left());
    // The name record has no size: the name gets the width it needs from the record's corner, on the
    // installed version's line.
    const int nameWidth = QFontMetrics(versionFont_).horizontalAdvance(texts_.layoutName);
    const QRect name(layout_.layoutName.rect.left(), current.top(), nameWidth, current.height());
    return {name, update, current};
}

void CTessaflashDlg::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!enter && key != Qt::Key_Escape) {
        skin::CBaseDlg::keyPressEvent(event);
        return;
    }
    event->accept();
    // Neither key does anything while an update runs (the close button is disabled then).
    if (!controls_.close) return;
    if (enter) {
        if (controls_.ok) emit updateRequested();
    } else {
        emit cancelRequested();
    }
}

void CTessaflashDlg::closeEvent(QCloseEvent* event) {
    // The session decides when the window closes (Finish); a close from outside is a cancel request,
    // refused while an update runs.
    if (finished_) {
        skin::CBaseDlg::closeEvent(event);
        return;
    }
    event->ignore();
    if (controls_.close) emit cancelRequested();
}

}  // namespace updater
