#include "TableMessageDialog.h"

#include <QApplication>
#include <QMessageBox>

namespace config {

void TableMessageDialog::ShowMessage(std::string_view text) {
    QWidget* owner = &dialog_;
    if (!dialog_.isVisible()) owner = dialog_.parentWidget() ? dialog_.parentWidget()->window() : nullptr;
    QMessageBox box(QMessageBox::Warning, QApplication::applicationDisplayName(),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok, owner);
    box.exec();
}

}  // namespace config
