#include "FontDatabaseWarmUp.h"

#include <QFontDatabase>
#include <QStringList>

namespace fonts {

// Asking for the families makes Qt read the font list once; the answer itself is not needed.
FontDatabaseWarmUp::FontDatabaseWarmUp() : worker_([] { (void)QFontDatabase::families(); }) {}

FontDatabaseWarmUp::~FontDatabaseWarmUp() { worker_.join(); }

}  // namespace fonts
