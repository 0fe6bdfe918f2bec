// The updater's title face "Xolonium", carried inside the updater's executable and registered for
// its process from the main window's initialisation until the window is destroyed. The page title is
// drawn in it (38 pixels, weight 400).
#pragma once

#include "FontRegistration.h"

#include <QString>

#include <optional>

namespace fonts {

inline constexpr const char* kUpdaterTitleFamily = "Xolonium";

class UpdaterTitleFont {
public:
    explicit UpdaterTitleFont(FontRetryPolicy retry = {});
    ~UpdaterTitleFont();
    UpdaterTitleFont(const UpdaterTitleFont&) = delete;
    UpdaterTitleFont& operator=(const UpdaterTitleFont&) = delete;

    // Registers the face (a registration still held is kept). False when it could not be registered;
    // the title is then drawn in a substitute face.
    bool Register();

    // Removes the face if it is registered.
    void Remove();

    std::optional<int> Handle() const { return handle_; }

    static QString ResourcePath();

private:
    FontRetryPolicy retry_;
    std::optional<int> handle_;
};

}  // namespace fonts
