// The program's window icon, set when it is first needed rather than at start-up.
//
// Decoding the icon's pictures takes a few milliseconds that the main window's first picture does not
// need: the icon becomes the application's window icon (which every window without an icon of its own
// shows) once the main window has painted for the first time. A window that is shown before then (a
// message box while the main window loads its skin, or instead of it) has the icon set as it is shown,
// before the desktop first reads it.
#pragma once

#include <QIcon>
#include <QObject>

#include <functional>

namespace skin {

class CBaseDlg;

class DeferredWindowIcon : public QObject {
public:
    // `make` gives the icon; it is called once, when the icon is set. Requires the application object.
    explicit DeferredWindowIcon(std::function<QIcon()> make);
    ~DeferredWindowIcon() override;
    DeferredWindowIcon(const DeferredWindowIcon&) = delete;
    DeferredWindowIcon& operator=(const DeferredWindowIcon&) = delete;

    // Sets the icon once `mainWindow` has painted for the first time.
    void SetAfterFirstPaintOf(CBaseDlg& mainWindow);
    // Whether the icon has been set.
    bool IsSet() const { return set_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Set();

    std::function<QIcon()> make_;
    const QObject* mainWindow_ = nullptr;
    bool set_ = false;
};

}  // namespace skin
