// The base of every skinned page: a dialog without caption or frame whose whole look is a picture.
//
// A page names its section in the skin documents ("MAIN" unless it sets another) and its image folder
// under "<program folder>Skins/". On initialisation it loads its pictures (LoadSkin): the outline from
// MASK, the background from NORMAL (the page takes its size), and the hover, pressed and disabled
// page pictures from OVER, DOWN and DISABLE, from which the widgets made in LoadSkin cut their looks;
// those three are decoded only when a widget first shows a look of theirs, and the page lets go of
// them right after LoadSkin. The widgets' normal looks share the background's pixels. When a window is
// exposed, the looks its widgets show are decoded before it is painted. The page paints its background
// and then DrawSkinContent, can be dragged by any background point, and ignores Enter and Escape, so
// that no skinned page closes by keyboard.
//
// A page is shown modally (exec) as a frameless top-level window, or created by CreateSkinPage: as a
// top-level pop-up (kPopupTemplate) or as a page embedded in its parent (kChildTemplate); pages are
// created hidden. Initialisation runs once, on the first of CreateSkinPage or showing.
#pragma once

#include "PictureAhead.h"
#include "SkinPictures.h"

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QRegion>
#include <QString>

#include <vector>

class QPainter;
class QWindow;

namespace skin {

// Whether the windowing system named `platformName` (Qt's platform plug-in: "xcb", "wayland", ...) cuts
// a window to its mask. On Wayland a mask only limits where the window takes input: there a shaped page
// is drawn with a translucent background, clipped to its outline.
bool PlatformShapesWindows(const QString& platformName);

class CBaseDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPopupTemplate = 132;  // a top-level pop-up window
    static constexpr int kChildTemplate = 129;  // a page inside another page

    explicit CBaseDlg(QWidget* parent = nullptr);
    ~CBaseDlg() override;

    void SetSectionName(const QString& section) { sectionName_ = section; }
    const QString& SectionName() const { return sectionName_; }
    void SetImageFolderName(const QString& folder) { imageFolderName_ = folder; }
    const QString& ImageFolderName() const { return imageFolderName_; }
    int TemplateId() const { return templateId_; }

    // Remembers the template, makes the page a hidden pop-up owned by `parent` (kPopupTemplate) or a
    // hidden child page inside `parent` (kChildTemplate, which needs a parent), and initialises it.
    // Returns false for an unknown template or a child page without parent.
    virtual bool CreateSkinPage(QWidget* parent, int templateId);

    // Loads the outline and pictures of the page's section. Pages override it: call the base first,
    // then create the widgets from ImageSet().
    virtual void LoadSkin();
    // Has the page's background decoded from now on, on a worker thread, for LoadSkin to take when it
    // comes: for a page whose window has the device pixel ratio `ratio`. The skin documents and the
    // page's image folder and section must be set. LoadSkin decodes the background itself when the
    // window's ratio or the picture's name turned out otherwise.
    void DecodeBackgroundAhead(qreal ratio);
    // Lets go of the hover, pressed and disabled page pictures once the widgets have registered their looks.
    virtual void FreeStatePictures();
    // Lets go of the background under `covered` (in the page's coordinates), which a child page's opaque
    // picture always covers: the page keeps and paints the rest. BackgroundPicture() is then null. Looks
    // that share the background's pixels (ImageSet's shareNormal) keep the whole picture alive, so a page
    // that drops part of its background cuts its looks as copies.
    void DropBackgroundUnder(const QRect& covered);
    // The size the page's background picture declares in its header (invalid without one), known
    // without decoding it.
    QSize DeclaredBackgroundSize() const;
    // Paints the page's own content over the background (labels and the like); the base draws nothing.
    virtual void DrawSkinContent(QPainter& painter);
    // Whether each paint of the page covers its whole rectangle with its background picture alone, opaque,
    // each picture pixel on one screen pixel: the picture is opaque, at the window's density and of the
    // page's size, and neither an outline nor a mask clips it. Where the shown page lies, that picture
    // drawn under it is then never seen.
    virtual bool PaintsWholeRectOpaque() const;

    // The page's pictures as handed to the widget factory.
    const SkinImageSet& ImageSet() const { return imageSet_; }
    const QImage& BackgroundPicture() const { return background_; }

    void setVisible(bool visible) override;

signals:
    // Once, after the page's first paint has been handed on to the screen: work that the first picture
    // does not need can wait for it.
    void firstPainted();

protected:
    // Runs once before the page is first shown or when CreateSkinPage creates it: LoadSkin, then
    // FreeStatePictures. Pages that add their own initialisation call the base first.
    virtual void InitDialog();

    // Has LoadSkin leave the background's rows of `rows` (logical, across the page's width) undecoded
    // where the picture allows it, for a page whose child page will cover them: no widget of the page
    // may cut its look there. UndecodedBackgroundRows() then says which rows are undefined in
    // BackgroundPicture(): the page drops them (DropBackgroundUnder a cover that holds them) or has
    // them decoded after all (DecodeWholeBackground) before it is painted.
    void HideBackgroundRows(const QRect& rows) { hiddenRows_ = rows; }
    const QRect& UndecodedBackgroundRows() const { return undecodedRows_; }
    void DecodeWholeBackground();

    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ApplyMask(const QString& folder);
    // Has the looks that the window's shown buttons and sliders show decoded (when it is exposed).
    void PrepareShownLooks();
    // The page's own window, watched for its exposure (PrepareShownLooks).
    QPointer<QWindow> watchedWindow_;
    // The outline the page is clipped to when the platform cannot shape its window (empty: none).
    QRegion paintOutline_;
    QWidget* WindowToDrag();

    QString sectionName_ = QStringLiteral("MAIN");
    QString imageFolderName_;
    int templateId_ = kPopupTemplate;
    bool initialised_ = false;
    bool painted_ = false;

    QImage background_;
    QRect hiddenRows_;
    QRect undecodedRows_;
    PictureAhead backgroundAhead_;
    // What is kept of the background once a child page covers part of it (DropBackgroundUnder).
    struct BackgroundPiece {
        QPoint at;
        QImage picture;
    };
    std::vector<BackgroundPiece> backgroundPieces_;
    SkinImageSet imageSet_;

    // Dragging by hand, where the platform cannot move the window itself.
    QWidget* dragged_ = nullptr;
    QPoint dragOffset_;
};

}  // namespace skin
