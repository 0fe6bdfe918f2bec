#include "UpdaterHelp.h"

namespace updater {

bool writeHelp(std::FILE* out) {
    bool written = true;
    for (std::string_view line : kHelpLines)
        written = std::fwrite(line.data(), 1, line.size(), out) == line.size() && written;
    return std::fflush(out) == 0 && written;
}

}  // namespace updater
