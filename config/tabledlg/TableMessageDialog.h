// The table generator's input errors shown as the application's message box, over the window that
// the person sees: the dialog when it is shown, otherwise its owner (the LED page keeps it hidden).
#pragma once

#include "TableLink.h"

class QWidget;

namespace config {

class TableMessageDialog final : public TableMessageBox {
public:
    // `dialog` must outlive this object.
    explicit TableMessageDialog(QWidget& dialog) : dialog_(dialog) {}
    void ShowMessage(std::string_view text) override;

private:
    QWidget& dialog_;
};

}  // namespace config
