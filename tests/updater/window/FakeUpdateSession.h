// A stand-in for the updater's update session with the same signals and methods the window uses:
// tests set its state, emit its signals and count what the window asked for.
#pragma once

#include <QObject>
#include <QString>

namespace updatertest {

struct FakeTexts {
    QString title;
    QString company;
    QString product;
    QString updateVersion;
    QString currentVersion;
    QString layoutName;
    QString duration;
    QString progressLine;
};

struct FakeButtons {
    bool ok = false;
    bool cancel = false;
    bool close = true;
    bool updating = false;
};

class FakeUpdateSession : public QObject {
    Q_OBJECT

public:
    const FakeTexts& texts() const { return texts_; }
    FakeButtons buttons() const { return buttons_; }
    int progress() const { return progress_; }

    void requestUpdate() { ++updateRequests; }
    // Like the session: a cancel outside an update ends the run with its exit code.
    void cancel() {
        ++cancels;
        if (!buttons_.updating) emit finished(exitCodeOnCancel);
    }

    void SetTexts(const FakeTexts& texts) {
        texts_ = texts;
        emit textsChanged();
    }
    void SetButtons(const FakeButtons& buttons) {
        buttons_ = buttons;
        emit buttonsChanged();
    }
    void SetProgress(int percent) {
        progress_ = percent;
        emit progressChanged(percent);
    }

    int updateRequests = 0;
    int cancels = 0;
    int exitCodeOnCancel = 0;

signals:
    void textsChanged();
    void buttonsChanged();
    void progressChanged(int percent);
    void messageBox(const QString& text, const QString& caption);
    void resultReady(int page, int exitCode);
    void finished(int exitCode);

private:
    FakeTexts texts_;
    FakeButtons buttons_;
    int progress_ = 0;
};

}  // namespace updatertest
