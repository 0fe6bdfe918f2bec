// The three fonts the configuration program carries inside its executable, registered for this
// process only while the main window exists, so that the skin can name faces the system does not
// have installed.
//
//   resource 149  "Heroic Condensed" Medium  (Windows-platform family "Heroic Condensed Medium")
//   resource 150  "Heroic Condensed" Book    (Windows-platform family "Heroic Condensed Book")
//   resource 148  "Noto Sans" Regular
//
// The main window owns one EmbeddedFonts: it registers the fonts during its initialisation
// (RegisterProgramFonts, or RegisterEmbeddedFont per font) and removes them when it is destroyed
// (RemoveEmbeddedFonts; the destructor does the same for fonts still registered).
#pragma once

#include "FontRegistration.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace fonts {

inline constexpr int kHeroicCondensedMediumResource = 149;
inline constexpr int kHeroicCondensedBookResource = 150;
inline constexpr int kNotoSansResource = 148;

// The text shown when a font is registered into a slot that still holds a handle (the spelling is
// the one the program has always shown).
inline constexpr const char* kFontSlotTakenMessage = "Font hande is not null!!";

// The main window's three handle slots.
enum class FontSlot { First, Second, Third };

// Shows a message to the user; the main window shows it in a message box.
using FontMessageHook = std::function<void(const QString& text)>;

class EmbeddedFonts {
public:
    // Without a hook, messages go to the debugger output.
    explicit EmbeddedFonts(FontMessageHook showMessage = {}, FontRetryPolicy retry = {});
    ~EmbeddedFonts();
    EmbeddedFonts(const EmbeddedFonts&) = delete;
    EmbeddedFonts& operator=(const EmbeddedFonts&) = delete;

    // Registers the font of `resourceId` and keeps its handle in `slot`. When the slot already holds
    // a handle, the message hook gets kFontSlotTakenMessage and that earlier font is removed first.
    // An id with no embedded font, or a registration that fails every try, leaves the slot empty.
    void RegisterEmbeddedFont(int resourceId, FontSlot slot);

    // Registers 149, 150 and 148 into the first, second and third slot, in this order.
    void RegisterProgramFonts();

    // Removes the font of every slot that holds a handle (first, second, third) and empties them.
    void RemoveEmbeddedFonts();

    // The registration handle in `slot` (a Qt application font id), if any.
    std::optional<int> Handle(FontSlot slot) const;

    // The resource path of an embedded font: ":/embedded-fonts/<resource id>".
    static QString ResourcePath(int resourceId);

private:
    std::optional<int>& SlotHandle(FontSlot slot);

    FontMessageHook showMessage_;
    FontRetryPolicy retry_;
    std::array<std::optional<int>, 3> handles_;
};

}  // namespace fonts
