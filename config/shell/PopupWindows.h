// What the pop-up dialogs share: their internal name, the process-wide pop-up flag, and finding and
// closing a window by that name (the main window closes its warnings this way).
#pragma once

#include <QString>

class QWidget;

namespace config {

// The internal name (object name) of the warning, loading and progress pop-ups (and the firmware
// prompt), by which the program finds its own windows; the window title is for people.
inline const QString kWarnDlgTitle = QStringLiteral("Halcyra WARN_DLG");
// The title people see on the program's windows.
inline const QString kProgramTitle = QStringLiteral("Halcyra");

// Gives `window` the internal name kWarnDlgTitle and a title for people: "<title> – Halcyra", or
// kProgramTitle when `title` is empty.
void MarkAsWarnDlg(QWidget& window, const QString& title = {});

// The text of `section`'s STR_TITLE in the string document ("" when there is none).
QString StringTitle(const QString& section);

// Set while a warning or loading pop-up object exists; the LED page consults it.
extern bool g_popupOpen;

// Held by every pop-up object for its lifetime: sets g_popupOpen and, when the pop-up goes, gives the
// flag back the value it had, so that a pop-up closed over another (the update confirmation over the
// firmware prompt) leaves the flag set for the one still open.
class PopupOpenMark {
public:
    PopupOpenMark() : before_(g_popupOpen) { g_popupOpen = true; }
    ~PopupOpenMark() { g_popupOpen = before_; }
    PopupOpenMark(const PopupOpenMark&) = delete;
    PopupOpenMark& operator=(const PopupOpenMark&) = delete;

private:
    bool before_;
};

// The first visible top-level window of the application with the internal name `title`, or nullptr.
QWidget* FindWindowByTitle(const QString& title);

// Asks the first visible top-level window with the internal name `title` to close (queued, as a posted
// close); false when there is none.
bool CloseWindowByTitle(const QString& title);

// Centres `window` on its parent window, or on its screen when it has no parent.
void CentreOnParent(QWidget& window);

}  // namespace config
