#include "PackageMessageBox.h"

#include <QMessageBox>

namespace fwstatus {

void PackageMessageBox::show(firmware::PackageMessage message) {
    const firmware::PackageMessageText text = firmware::packageMessageText(message);
    const QString caption = text.caption.empty() ? QStringLiteral("Halcyra")
                                                 : QString::fromUtf8(text.caption.data(), text.caption.size());
    QMessageBox box(text.errorIcon ? QMessageBox::Critical : QMessageBox::NoIcon, caption,
                    QString::fromUtf8(text.text.data(), text.text.size()).trimmed(), QMessageBox::Ok, owner_);
    box.exec();
}

}  // namespace fwstatus
