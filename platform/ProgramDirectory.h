// The program folder: the directory that holds the running executable. Skin files, strings and the
// updater are found relative to it, so the programs run the same from the build tree and installed.
#pragma once

#include <string>

namespace platform {

// The directory of the running executable (from /proc/self/exe, symbolic links resolved), ending
// with '/', for example "/opt/halcyra/". Empty when the executable's path cannot be read; paths built
// on it are then relative to the working directory.
std::string ProgramDirectory();

}  // namespace platform
