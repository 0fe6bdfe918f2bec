// One run of the updater: reads the package out of the updater's own file, watches the controller on
// the application link (slot 0) and the boot-loader link (slot 1), fetches its records and picks the
// image, sends it into its boot loader on request and flashes it on a worker thread, waits for it to
// come back on the new version, then reports the result and, after a successful update, starts the configuration program again.
//
// The session lives on the user-interface thread; every signal is emitted there. A window (or the
// program without one) drives it like this:
//
//   UpdateSession session(options);
//   connect(&session, &UpdateSession::finished, ..., close the window / quit the event loop);
//   if (!session.start(programFile)) -> the package is unreadable; finished() has been emitted
//   ... show texts(), buttons(), progress() whenever the signals say they changed;
//   BUTTON_OK / plain OK            -> requestUpdate()
//   BUTTON_CLOSE / BUTTON_CANCEL    -> cancel()
//   resultReady(page, code)         -> show result page `page` (1 success, 2 failed, 3 firmware current).
//                                      A slot may run it modally (QDialog::exec): the session goes on
//                                      (restart, finished) only when the slot returns.
//   messageBox(text, caption)       -> show an error message box (the request's refusals, and at the
//                                      start a controller that is present but to which access was denied).
//
// Without a window (silent(), i.e. "-silent" or no window available) nothing waits for a person: the
// refusals go to standard error and the session finishes with the codes of ExitCodes.h.
#pragma once

#include "UpdaterOptions.h"

#include <QObject>
#include <QString>

#include <filesystem>
#include <memory>

namespace updater {

enum class ResultPage : int { Success = 1, Failed = 2, FirmwareCurrent = 3 };

// The texts the main page shows; empty until known.
struct SessionTexts {
    QString title;            // window caption and title line (the package's title)
    QString company;
    QString product;
    QString updateVersion;    // the package's version text
    QString currentVersion;   // the controller's VerInfo text; cleared when no controller is attached
    QString layoutName;       // name of the selected entry; empty when none is selected
    // How long the update takes ("The update takes about 6 seconds."), from the selected image's writes
    // and the measured pace of the controller link; empty until an entry is selected.
    QString duration;
    // While flashing: the phase and the percentage ("Writing the image: 45 %").
    QString progressLine;
};

// Which of the main page's controls are usable now.
struct SessionButtons {
    bool ok = false;       // BUTTON_OK and the plain OK button
    bool cancel = false;   // BUTTON_CANCEL
    bool close = true;     // BUTTON_CLOSE and the window's Close command
    // An update is running: the progress bar is shown and Enter/Escape do nothing.
    bool updating = false;

    bool operator==(const SessionButtons&) const = default;
};

class UpdateSession : public QObject {
    Q_OBJECT

public:
    // `windowless`: no window will show anything, so the session acts as in silent mode even without
    // "-silent" (auto-start stays as the options say).
    explicit UpdateSession(UpdaterOptions options, bool windowless = false, QObject* parent = nullptr);
    // Waits for a running worker, then closes the application link and the boot-loader link.
    ~UpdateSession() override;

    // Reads the package from `programFile` (the updater's own executable) and opens both links. False
    // when the package cannot be read: the reason went to messageBox() or standard error, and
    // finished(kExitPackageUnreadable) has been emitted.
    bool start(const std::filesystem::path& programFile);

    // The OK button, the plain OK command, or auto-start: checks the selected image and the versions,
    // then sends the controller into its boot loader (or starts flashing at once).
    void requestUpdate();
    // BUTTON_CLOSE, BUTTON_CANCEL: ends the session with its exit code unless an update is running.
    void cancel();

    bool silent() const;
    const UpdaterOptions& options() const;
    const SessionTexts& texts() const;
    SessionButtons buttons() const;
    int progress() const;            // 0-100
    int exitCode() const;
    // What failed in the last update ("Fail to Erase Flash!", ...); empty after success.
    QString failureText() const;

signals:
    void textsChanged();
    void buttonsChanged();
    void progressChanged(int percent);
    void messageBox(const QString& text, const QString& caption);
    void resultReady(int page, int exitCode);
    // The session is over: close the window and end the process with `exitCode`.
    void finished(int exitCode);

protected:
    bool event(QEvent* event) override;

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace updater
