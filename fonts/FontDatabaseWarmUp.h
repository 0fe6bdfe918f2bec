// Reading the system's font list beside the program's own start-up work.
//
// The first use of a font (or the first registration of a font of our own) makes Qt read the system's
// font configuration and list every installed font. That takes several milliseconds, and on the main
// thread it would hold up the first window. Started as soon as the application object exists, a
// FontDatabaseWarmUp has this reading done on a worker thread while the main thread reads the skin and
// decodes the window's pictures. Qt's font database is guarded by its own lock: a font use on the main
// thread that comes before the reading is done waits for it, and finds the same list it would have read
// itself.
#pragma once

#include <thread>

namespace fonts {

class FontDatabaseWarmUp {
public:
    // Starts the reading. Requires the application object.
    FontDatabaseWarmUp();
    // Waits for the reading to end.
    ~FontDatabaseWarmUp();
    FontDatabaseWarmUp(const FontDatabaseWarmUp&) = delete;
    FontDatabaseWarmUp& operator=(const FontDatabaseWarmUp&) = delete;

private:
    std::thread worker_;
};

}  // namespace fonts
