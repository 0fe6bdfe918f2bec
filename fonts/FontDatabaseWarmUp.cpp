#include "FontDatabaseWarmUp.h"

#include <QFontDatabase>
#include <QStringList>

#include <system_error>

namespace fonts {

// Asking for the families makes Qt read the font list once; the answer itself is not needed. Where no
// thread can be started, the list is read at the first font use, as without the warm-up.
FontDatabaseWarmUp::FontDatabaseWarmUp() {
    try {
        worker_ = std::thread([] { (void)QFontDatabase::families(); });
    } catch (const std::system_error&) {
    }
}

FontDatabaseWarmUp::~FontDatabaseWarmUp() {
    if (worker_.joinable()) worker_.join();
}

}  // namespace fonts
