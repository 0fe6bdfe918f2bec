// Looks cut from page pictures that are decoded only when a widget first draws them.
//
// A page has four full-page pictures (normal, hover, pressed, disabled), but its first paint needs only
// the normal one and the few looks its checked or disabled widgets show; the hover look is needed only
// when the pointer comes. A DeferredPicture names such a picture file. The widgets that cut their looks
// from it register their rectangles (CutOut::Defer). A look asked for has only the part of the picture
// that holds it decoded (LoadPicturePart), is cut out of it, and the part is freed at once, so that at
// most one part of a page picture is held while looks are cut; the other registered looks keep waiting
// for a decode of their own, except those lying wholly inside the decoded part, which are cut from it as
// well. Looks asked for together (LookBatch: the looks a window shows as it is exposed) share one decode
// of the part that holds them all.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

namespace skin {

class CutOut;

class DeferredPicture {
public:
    // The picture file `path`, to be loaded at the device pixel ratio `ratio` (see LoadPictureFile).
    DeferredPicture(QString path, qreal ratio);
    ~DeferredPicture();
    DeferredPicture(const DeferredPicture&) = delete;
    DeferredPicture& operator=(const DeferredPicture&) = delete;

    // A deferred picture for `path`, or null for an empty name (no picture for that state).
    static std::shared_ptr<DeferredPicture> Named(const QString& folder, const QString& name, qreal ratio);

    // Decodes the part of the picture that holds `looks` (those of them still waiting for it) and gives
    // them their rectangles, and every other waiting look that lies wholly inside that part too; the part
    // is freed at once. Looks far apart in rows have their parts decoded one after the other, so the rows
    // between them are skipped, not decoded. A whole look (a background) or a picture at twice the density
    // (whose twin is chosen by its size) has the picture decoded whole and every waiting look cut from it;
    // so has a part that cannot be decoded alone (one lying outside the picture). A picture that cannot be
    // loaded leaves every waiting look without a picture, as a missing one would. The caller holds the
    // picture (a shared pointer) while it runs: the looks let go of it as they are cut.
    void Resolve(const std::vector<const CutOut*>& looks);

private:
    // Decodes the part holding `looks` (those still waiting) and cuts them and the waiting looks inside
    // it; the whole picture when the part cannot be decoded alone.
    void ResolvePart(const std::vector<const CutOut*>& looks);
    // Decodes the whole picture and cuts every waiting look from it.
    void ResolveWhole();
    // `looks` in groups of nearby rows, each decoded as a part of its own.
    static std::vector<std::vector<const CutOut*>> RowBands(std::vector<const CutOut*> looks);
    friend class CutOut;
    void Register(CutOut* cut);
    void Unregister(CutOut* cut);
    bool IsWaiting(const CutOut* cut) const;
    // Cuts every waiting look that `take` accepts from `decoded`, the pixels of `part` of the picture of
    // `pageSize` pixels; the others keep waiting.
    template <typename Take>
    void Give(const QImage& decoded, const QRect& part, const QSize& pageSize, Take take);

    QString path_;
    qreal ratio_;
    std::vector<CutOut*> waiting_;
};

// Looks asked for together, such as the looks a window's widgets show when it is exposed: Resolve
// decodes, per page picture, the part that holds the looks asked for from it in one go, instead of one
// decode per look. The looks must live until Resolve.
class LookBatch {
public:
    // Notes `look` when it still waits for its page picture.
    void Ask(const CutOut& look);
    void Resolve();

private:
    std::vector<const CutOut*> asked_;
};

// A widget's look in one state: a rectangle of a page picture, cut at once from a decoded picture or on
// first use from a deferred one. It stays where it is made (a widget's member): the deferred picture
// keeps its address until it is cut.
class CutOut {
public:
    // With `forDrawing` the cut-out is kept premultiplied, the format QPainter blends without converting.
    explicit CutOut(bool forDrawing = false) : forDrawing_(forDrawing) {}
    ~CutOut();
    CutOut(const CutOut&) = delete;
    CutOut& operator=(const CutOut&) = delete;

    // Cuts `rect` out of `source` now (CutPicture: a null source leaves the look as it was).
    void Cut(const QImage* source, const QRect& rect);
    // Shows `rect` of `source`, a picture kept as long as the page (its background), without copying its
    // pixels where the rectangle lies wholly inside it: the look then keeps the picture's pixels alive as
    // long as it needs them, and drawing on either copies first. Anywhere else it is cut as Cut does.
    void Share(const QImage& source, const QRect& rect);
    // Cuts `rect` out of `source` when the look is first asked for; a null source leaves the look as it was.
    void Defer(const std::shared_ptr<DeferredPicture>& source, const QRect& rect);
    // The whole of `source`, when first asked for (a page's background); it shares the decoded picture.
    void DeferWhole(const std::shared_ptr<DeferredPicture>& source);
    // The look, decoding its page picture first when it is still deferred.
    const QImage& Picture() const;
    // Whether the look still waits for its page picture.
    bool IsPending() const { return source_ != nullptr; }

private:
    friend class DeferredPicture;
    friend class LookBatch;
    // Takes the look from `decoded`, the pixels at `partOrigin` of a page picture of `pageSize` pixels.
    void TakeFrom(const QImage& decoded, const QPoint& partOrigin, const QSize& pageSize);
    void Detach();

    bool forDrawing_;
    QImage picture_;
    QRect rect_;
    bool whole_ = false;
    std::shared_ptr<DeferredPicture> source_;
};

// Gives `look` its rectangle of a page picture: from `deferred` on first use when there is one, else at
// once from `decoded`.
void CutLook(CutOut& look, const QImage* decoded, const std::shared_ptr<DeferredPicture>& deferred, const QRect& rect);

}  // namespace skin
