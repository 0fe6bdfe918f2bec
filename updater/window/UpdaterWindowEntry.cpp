// tessaflash's window: the main page on the update session, run modally until the session ends.
#include "AccessibleFactory.h"
#include "SessionBinding.h"
#include "SkinPalette.h"
#include "TessaflashDlg.h"
#include "UpdateSession.h"
#include "WindowEntry.h"

#include <QApplication>

namespace updater {

int runUpdaterWindow(UpdateSession& session, const char* programFile) {
    // Message boxes follow the page's dark scheme.
    QApplication::setPalette(skin::SkinPalette());
    // Screen readers see the skinned buttons with names, roles and a press action.
    accessibility::InstallAccessibleFactory();
    CTessaflashDlg window;
    BindSessionToWindow(session, window);
    // An unreadable package ends the run before anything is shown (the reason went to messageBox).
    if (!session.start(programFile)) return session.exitCode();
    window.exec();
    return session.exitCode();
}

}  // namespace updater
