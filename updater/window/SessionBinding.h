// Connects the main window to an update session: the page shows what the session reports, and the
// session hears what the person asks for. `Session` is the updater's UpdateSession, or any object with
// the same signals and methods (the window tests use a small stand-in).
#pragma once

#include "TessaflashDlg.h"

#include <QObject>

namespace updater {

template <class Session>
void BindSessionToWindow(Session& session, CTessaflashDlg& window) {
    auto showTexts = [&session, &window] {
        const auto& texts = session.texts();
        window.SetTexts({texts.title, texts.company, texts.product, texts.updateVersion, texts.currentVersion,
                         texts.layoutName, texts.duration, texts.progressLine});
    };
    auto showControls = [&session, &window] {
        const auto buttons = session.buttons();
        window.SetControls({buttons.ok, buttons.cancel, buttons.close, buttons.updating});
    };
    QObject::connect(&session, &Session::textsChanged, &window, showTexts);
    QObject::connect(&session, &Session::buttonsChanged, &window, showControls);
    QObject::connect(&session, &Session::progressChanged, &window, &CTessaflashDlg::SetProgress);
    QObject::connect(&session, &Session::messageBox, &window, &CTessaflashDlg::ShowMessage);
    QObject::connect(&session, &Session::resultReady, &window,
                     [&window](int page, int) { window.ShowResultPage(page); });
    // Queued: a session that ends before the window's modal loop runs still ends that loop.
    QObject::connect(&session, &Session::finished, &window, &CTessaflashDlg::Finish, Qt::QueuedConnection);

    QObject::connect(&window, &CTessaflashDlg::updateRequested, &session, [&session] { session.requestUpdate(); });
    QObject::connect(&window, &CTessaflashDlg::cancelRequested, &session, [&session] { session.cancel(); });

    showTexts();
    showControls();
    window.SetProgress(session.progress());
}

}  // namespace updater
