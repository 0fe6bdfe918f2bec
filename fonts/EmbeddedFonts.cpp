#include "EmbeddedFonts.h"

#include "DebugOutput.h"

#include <QFontDatabase>

#include <cstddef>
#include <utility>

// The resource object of a static library is linked in only through this reference; the macro
// declares the resource's function at the scope it is used in, so it cannot be inside a namespace.
static void InitEmbeddedFontResources() {
    Q_INIT_RESOURCE(embedded_fonts);
}

namespace fonts {

EmbeddedFonts::EmbeddedFonts(FontMessageHook showMessage, FontRetryPolicy retry)
    : showMessage_(std::move(showMessage)), retry_(retry) {
    InitEmbeddedFontResources();
    if (!showMessage_) {
        showMessage_ = [](const QString& text) { platform::DebugOutput(text.toStdU16String()); };
    }
}

EmbeddedFonts::~EmbeddedFonts() {
    RemoveEmbeddedFonts();
}

void EmbeddedFonts::RegisterEmbeddedFont(int resourceId, FontSlot slot) {
    std::optional<int>& handle = SlotHandle(slot);
    if (handle) {
        showMessage_(QString::fromLatin1(kFontSlotTakenMessage));
        // Dropping the handle alone would keep that font registered after RemoveEmbeddedFonts.
        QFontDatabase::removeApplicationFont(*handle);
        handle.reset();
    }
    QByteArray data;
    if (!ReadFontResource(ResourcePath(resourceId), data)) return;
    const int registered = RegisterFontData(data, ResourcePath(resourceId), retry_);
    if (registered != -1) handle = registered;
}

void EmbeddedFonts::RegisterProgramFonts() {
    RegisterEmbeddedFont(kHeroicCondensedMediumResource, FontSlot::First);
    RegisterEmbeddedFont(kHeroicCondensedBookResource, FontSlot::Second);
    RegisterEmbeddedFont(kNotoSansResource, FontSlot::Third);
}

void EmbeddedFonts::RemoveEmbeddedFonts() {
    for (std::optional<int>& handle : handles_) {
        if (!handle) continue;
        QFontDatabase::removeApplicationFont(*handle);
        handle.reset();
    }
}

std::optional<int> EmbeddedFonts::Handle(FontSlot slot) const {
    return handles_[static_cast<std::size_t>(slot)];
}

QString EmbeddedFonts::ResourcePath(int resourceId) {
    return QStringLiteral(":/embedded-fonts/%1").arg(resourceId);
}

std::optional<int>& EmbeddedFonts::SlotHandle(FontSlot slot) {
    return handles_[static_cast<std::size_t>(slot)];
}

}  // namespace fonts
