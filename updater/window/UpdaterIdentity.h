// How the desktop knows the updater's windows: the window class on X11 (WM_CLASS "tessaflash",
// "Tessaflash", as the desktop entry's StartupWMClass names it) and the app id on Wayland (the desktop
// entry com.marovell.Tessaflash, which the desktop shows its icon and name from).
#pragma once

namespace updater {

// Call once the application object exists and before any window is made.
void SetUpdaterIdentity();

}  // namespace updater
