#include "UpdaterTitleFont.h"

#include <QFontDatabase>

// The only reference to the title face's resource object (see EmbeddedFonts.cpp for why it sits
// outside the namespace).
static void InitUpdaterTitleFontResource() {
    Q_INIT_RESOURCE(updater_title_font);
}

namespace fonts {

UpdaterTitleFont::UpdaterTitleFont(FontRetryPolicy retry) : retry_(retry) {
    InitUpdaterTitleFontResource();
}

UpdaterTitleFont::~UpdaterTitleFont() {
    Remove();
}

bool UpdaterTitleFont::Register() {
    if (handle_) return true;
    QByteArray data;
    if (!ReadFontResource(ResourcePath(), data)) return false;
    const int registered = RegisterFontData(data, ResourcePath(), retry_);
    if (registered == -1) return false;
    handle_ = registered;
    return true;
}

void UpdaterTitleFont::Remove() {
    if (!handle_) return;
    QFontDatabase::removeApplicationFont(*handle_);
    handle_.reset();
}

QString UpdaterTitleFont::ResourcePath() {
    return QStringLiteral(":/updater-fonts/%1").arg(QLatin1String(kUpdaterTitleFamily));
}

}  // namespace fonts
