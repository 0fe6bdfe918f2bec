// Starting another program that lives on by itself: the updater from the configuration program,
// the configuration program again after an update, the web browser.
#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Starts `program` with `arguments` in `workingDirectory` (the current one when empty) as a process
// of its own that outlives the caller. Each argument reaches the program as one word, untouched by
// any shell. True when the process was started; false when it could not be (missing or
// non-executable program, unusable working directory).
bool StartDetached(const QString& program, const QStringList& arguments, const QString& workingDirectory = {});

}  // namespace platform
