// What the pop-up dialogs share: their window title, the process-wide pop-up flag, and finding and
// closing a window by its title (the main window closes its warnings this way).
#pragma once

#include <QString>

class QWidget;

namespace config {

// The title of the warning, loading and progress pop-ups (and the firmware prompt).
inline const QString kWarnDlgTitle = QStringLiteral("Halcyra WARN_DLG");

// Set while a warning or loading pop-up object exists (a plain flag, not a count); the LED page
// consults it.
extern bool g_popupOpen;

// The first visible top-level window of the application titled `title`, or nullptr.
QWidget* FindWindowByTitle(const QString& title);

// Asks the first visible top-level window titled `title` to close (queued, as a posted close); false when
// there is none.
bool CloseWindowByTitle(const QString& title);

// Centres `window` on its parent window, or on its screen when it has no parent.
void CentreOnParent(QWidget& window);

}  // namespace config
