#include "FontDatabaseWarmUp.h"

#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>

#include <clocale>
#include <system_error>

namespace fonts {

// fontconfig keeps the configuration it read for the process: Qt's own FcInit later finds it done.
// Asking for the families makes Qt read its font list once; the answer itself is not needed. Where no
// thread can be started, both are read at the first font use, as without the warm-up.
FontDatabaseWarmUp::FontDatabaseWarmUp() {
    // The application object sets the C locale from the environment as it starts, and the worker parses
    // the numbers of the font configuration by the locale's decimal point: set it first, to the same
    // value, so that it does not change under the worker.
    std::setlocale(LC_ALL, "");
    try {
        worker_ = std::thread([readList = readList_.get_future()]() mutable {
            FcInit();
            if (readList.get()) (void)QFontDatabase::families();
        });
    } catch (const std::system_error&) {
    }
}

FontDatabaseWarmUp::~FontDatabaseWarmUp() {
    if (!told_) readList_.set_value(false);
    Join();
}

FontDatabaseWarmUp::ListReading FontDatabaseWarmUp::ReadFontList() {
    if (!told_) {
        told_ = true;
        readList_.set_value(true);
    }
    return ListReading(*this);
}

void FontDatabaseWarmUp::Join() {
    if (worker_.joinable()) worker_.join();
}

}  // namespace fonts
