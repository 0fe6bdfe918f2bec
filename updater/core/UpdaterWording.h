// The updater's own texts that its pictures do not carry (the phase line while flashing, the duration
// line, the result windows' titles), in the desktop's language: German when the desktop asks for German
// before English, as the pictures are chosen, English otherwise. No Qt; the texts are UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace updater {

enum class Wording { English, German };

// From the desktop's languages, most wanted first (platform::PreferredLanguages): German when "de"
// comes before "en".
Wording WordingFor(const std::vector<std::string>& languages);

// The phase `percent` belongs to (updatePhase), as a line starts: "Writing the image".
std::string_view PhaseName(int percent, Wording wording);

// The line while the controller restarts into its boot loader, before the first write:
// "Restarting the controller for the update".
std::string_view RestartLine(Wording wording);

// "The update takes about 6 seconds."
std::string DurationSentence(int seconds, Wording wording);

// The title of result page `code` (1 success, 2 failed, otherwise firmware current).
std::string_view ResultPageTitle(int code, Wording wording);

}  // namespace updater
