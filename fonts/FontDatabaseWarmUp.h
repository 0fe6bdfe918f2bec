// Reading the system's fonts beside the program's own start-up work.
//
// The first use of a font (or the first registration of a font of our own) makes Qt read the system's
// font configuration and list every installed font. That takes several milliseconds, and on the main
// thread it would hold up the first window. A FontDatabaseWarmUp has it done on a worker thread in two
// steps:
// - the font configuration (fontconfig's own files) is read as soon as the warm-up is made, which needs
//   no application object, so it runs while the application object is being made;
// - Qt's font list is read once ReadFontList() says the application object exists, while the main thread
//   reads the skin and decodes the window's pictures.
// Qt's font database is guarded by its own lock: a font use on the main thread that comes before the
// reading is done waits for it, and finds the same list it would have read itself.
#pragma once

#include <future>
#include <thread>

namespace fonts {

class FontDatabaseWarmUp {
public:
    // While the list is read. Made after the application object and gone before it: it waits for the
    // reading to end.
    class ListReading {
    public:
        explicit ListReading(FontDatabaseWarmUp& warmUp) : warmUp_(warmUp) {}
        ~ListReading() { warmUp_.Join(); }
        ListReading(const ListReading&) = delete;
        ListReading& operator=(const ListReading&) = delete;

    private:
        FontDatabaseWarmUp& warmUp_;
    };

    // Starts reading the font configuration. Needs no application object; sets the C locale from the
    // environment, as the application object does.
    FontDatabaseWarmUp();
    // Tells the worker to stop after the configuration when the list was never asked for, and waits.
    ~FontDatabaseWarmUp();
    FontDatabaseWarmUp(const FontDatabaseWarmUp&) = delete;
    FontDatabaseWarmUp& operator=(const FontDatabaseWarmUp&) = delete;

    // Lets the worker go on to Qt's font list. Requires the application object; the returned reading must
    // go before it. Called once.
    [[nodiscard]] ListReading ReadFontList();

private:
    void Join();

    std::promise<bool> readList_;  // true: read Qt's font list; false: stop
    bool told_ = false;
    std::thread worker_;
};

}  // namespace fonts
