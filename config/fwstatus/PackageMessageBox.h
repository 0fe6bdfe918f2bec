// The configuration program's way of showing the firmware package's read messages: a message box over
// the owner window, with the application's caption where the message names none.
#pragma once

#include "firmware/PackageReader.h"

class QWidget;

namespace fwstatus {

class PackageMessageBox final : public firmware::PackageMessageSink {
public:
    explicit PackageMessageBox(QWidget* owner) : owner_(owner) {}
    void show(firmware::PackageMessage message) override;

private:
    QWidget* owner_;
};

}  // namespace fwstatus
