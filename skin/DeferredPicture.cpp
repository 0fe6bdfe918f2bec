#include "DeferredPicture.h"

#include "SkinPictures.h"

#include <algorithm>
#include <utility>

namespace skin {

DeferredPicture::DeferredPicture(QString path, qreal ratio) : path_(std::move(path)), ratio_(ratio) {}

DeferredPicture::~DeferredPicture() = default;

std::shared_ptr<DeferredPicture> DeferredPicture::Named(const QString& folder, const QString& name, qreal ratio) {
    if (name.isEmpty()) return nullptr;
    return std::make_shared<DeferredPicture>(folder + name, ratio);
}

namespace {

// Rows between two looks asked for together from fewer than this many rows apart are decoded with them;
// farther apart, each group of looks has its own part decoded and the rows between are skipped.
constexpr int kBandGapRows = 64;

}  // namespace

// The looks, in groups of rows: sorted by their top, a look starts a new group where it begins more than
// kBandGapRows below the bottom of the group above.
std::vector<std::vector<const CutOut*>> DeferredPicture::RowBands(std::vector<const CutOut*> looks) {
    std::stable_sort(looks.begin(), looks.end(),
                     [](const CutOut* a, const CutOut* b) { return a->rect_.top() < b->rect_.top(); });
    std::vector<std::vector<const CutOut*>> bands;
    long long bandBottom = 0;
    for (const CutOut* look : looks) {
        const QRect rect = look->rect_;
        if (bands.empty() || static_cast<long long>(rect.top()) > bandBottom + kBandGapRows) {
            bands.emplace_back();
            bandBottom = rect.bottom();
        }
        bands.back().push_back(look);
        bandBottom = std::max<long long>(bandBottom, rect.bottom());
    }
    return bands;
}

void DeferredPicture::Resolve(const std::vector<const CutOut*>& looks) {
    // Only the parts that hold the looks asked for are decoded; a whole picture (a background) or one at
    // twice the density (whose twin is chosen by its size) is decoded whole.
    std::vector<const CutOut*> waiting;
    bool whole = ratio_ > 1.0;
    for (const CutOut* look : looks) {
        if (!IsWaiting(look)) continue;
        waiting.push_back(look);
        whole = whole || look->whole_;
    }
    if (waiting.empty()) return;
    if (whole) {
        ResolveWhole();
        return;
    }
    // Looks far apart in rows (a page's selected effect near its top, the sliders further down) have
    // their parts decoded one after the other: the rows between them are skipped, not decoded.
    for (const std::vector<const CutOut*>& band : RowBands(std::move(waiting))) {
        ResolvePart(band);
    }
}

void DeferredPicture::ResolvePart(const std::vector<const CutOut*>& looks) {
    QRect needed;
    bool any = false;
    for (const CutOut* look : looks) {
        if (!IsWaiting(look)) continue;  // cut from an earlier part already
        any = true;
        needed = needed.united(look->rect_);
    }
    if (!any) return;
    const auto asked = [&looks](const CutOut* look) {
        return std::find(looks.begin(), looks.end(), look) != looks.end();
    };
    if (needed.isEmpty()) {
        // Looks of no size: there is nothing to decode, and nothing to cut.
        Give(QImage(), QRect(), QSize(), asked);
        return;
    }
    QImage decoded;
    QRect part;
    QSize pageSize;
    if (LoadPicturePart(path_, needed, decoded, part, pageSize) == 0) {
        // A look whose pixels lie wholly inside the part comes out as from the whole picture.
        const QRect page(QPoint(0, 0), pageSize);
        Give(decoded, part, pageSize, [&](const CutOut* look) {
            const QRect onPage = look->rect_.intersected(page);
            return asked(look) || (!look->whole_ && !onPage.isEmpty() && part.contains(onPage));
        });
        return;
    }
    // A part that cannot be decoded alone (one lying outside the picture): the whole picture.
    ResolveWhole();
}

void DeferredPicture::ResolveWhole() {
    // One that cannot be loaded leaves every look without a picture.
    QImage decoded;
    if (LoadPictureFile(path_, decoded, nullptr, ratio_) != 0) decoded = QImage();
    Give(decoded, decoded.rect(), decoded.size(), [](const CutOut*) { return true; });
}

bool DeferredPicture::IsWaiting(const CutOut* cut) const {
    return std::find(waiting_.begin(), waiting_.end(), cut) != waiting_.end();
}

template <typename Take>
void DeferredPicture::Give(const QImage& decoded, const QRect& part, const QSize& pageSize, Take take) {
    // The looks are taken off the list first: each lets go of this picture as it is cut.
    std::vector<CutOut*> taken;
    std::vector<CutOut*> kept;
    for (CutOut* look : waiting_) (take(look) ? taken : kept).push_back(look);
    waiting_ = std::move(kept);
    for (CutOut* look : taken) look->TakeFrom(decoded, part.topLeft(), pageSize);
}

void DeferredPicture::Register(CutOut* cut) { waiting_.push_back(cut); }

void DeferredPicture::Unregister(CutOut* cut) { waiting_.erase(std::remove(waiting_.begin(), waiting_.end(), cut), waiting_.end()); }

CutOut::~CutOut() { Detach(); }

void CutOut::Cut(const QImage* source, const QRect& rect) {
    Detach();
    whole_ = false;
    CutPicture(picture_, source, rect);
    if (forDrawing_ && !picture_.isNull()) picture_.convertTo(QImage::Format_ARGB32_Premultiplied);
}

namespace {

// Whether a look drawn from `format` needs no conversion: an opaque picture, or one already premultiplied,
// blends as it is; a look drawn rarely is drawn from straight alpha as well.
bool DrawnAsItIs(QImage::Format format, bool forDrawing) {
    switch (format) {
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32_Premultiplied: return true;
        case QImage::Format_ARGB32: return !forDrawing;
        default: return false;
    }
}

}  // namespace

void CutOut::Share(const QImage& source, const QRect& rect) {
    const QRect pixels = PicturePixels(source, rect);
    if (source.isNull() || pixels.isEmpty() || !source.rect().contains(pixels) ||
        !DrawnAsItIs(source.format(), forDrawing_)) {
        Cut(&source, rect);
        return;
    }
    Detach();
    whole_ = false;
    // The look holds a copy of the picture, which shares its pixels: a later change to the picture copies
    // them first, and they are freed with the last look. The look's pixels are read-only, so drawing on
    // a copy of the look copies them too.
    auto* kept = new QImage(source);
    const uchar* first = kept->constScanLine(pixels.top()) + static_cast<qsizetype>(pixels.left()) * 4;
    picture_ = QImage(first, pixels.width(), pixels.height(), kept->bytesPerLine(), kept->format(),
                      [](void* picture) { delete static_cast<QImage*>(picture); }, kept);
    picture_.setDevicePixelRatio(source.devicePixelRatio());
}

void CutOut::Defer(const std::shared_ptr<DeferredPicture>& source, const QRect& rect) {
    Detach();
    whole_ = false;
    if (source == nullptr) return;
    source_ = source;
    rect_ = rect;
    source_->Register(this);
}

void CutOut::DeferWhole(const std::shared_ptr<DeferredPicture>& source) {
    Defer(source, QRect());
    whole_ = true;
}

const QImage& CutOut::Picture() const {
    if (source_ != nullptr) {
        // Resolving detaches the cut-outs it cuts, this one included: the picture stays alive until it is
        // done.
        const std::shared_ptr<DeferredPicture> source = source_;
        source->Resolve({this});
    }
    return picture_;
}

void CutOut::TakeFrom(const QImage& decoded, const QPoint& partOrigin, const QSize& pageSize) {
    source_.reset();
    if (decoded.isNull()) return;
    if (!whole_) {
        CutPicturePart(picture_, decoded, partOrigin, pageSize, rect_);
        if (forDrawing_ && !picture_.isNull()) picture_.convertTo(QImage::Format_ARGB32_Premultiplied);
    } else {
        picture_ = decoded;
        if (forDrawing_) picture_.convertTo(QImage::Format_ARGB32_Premultiplied);
    }
}

void CutOut::Detach() {
    if (source_ == nullptr) return;
    source_->Unregister(this);
    source_.reset();
}

void LookBatch::Ask(const CutOut& look) {
    if (look.IsPending()) asked_.push_back(&look);
}

void LookBatch::Resolve() {
    std::vector<const CutOut*> asked = std::move(asked_);
    asked_.clear();
    // One picture after the other: the looks asked for from it are resolved together.
    while (!asked.empty()) {
        const std::shared_ptr<DeferredPicture> source = asked.front()->source_;
        const auto others = std::stable_partition(asked.begin(), asked.end(),
                                                  [&source](const CutOut* look) { return look->source_ == source; });
        const std::vector<const CutOut*> fromSource(asked.begin(), others);
        asked.erase(asked.begin(), others);
        if (source != nullptr) source->Resolve(fromSource);
    }
}

void CutLook(CutOut& look, const QImage* decoded, const std::shared_ptr<DeferredPicture>& deferred, const QRect& rect) {
    if (deferred != nullptr) {
        look.Defer(deferred, rect);
    } else {
        look.Cut(decoded, rect);
    }
}

void CutNormalLook(CutOut& look, const SkinImageSet& pictures, const QRect& rect) {
    if (pictures.deferredNormal == nullptr && pictures.shareNormal && pictures.normal != nullptr) {
        look.Share(*pictures.normal, rect);
    } else {
        CutLook(look, pictures.normal, pictures.deferredNormal, rect);
    }
}

}  // namespace skin
