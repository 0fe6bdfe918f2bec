// What the updater's pages say in their pictures, as text for assistive technology: the pictures
// carry the page's message and the buttons' labels, which a screen reader cannot read from pixels.
#pragma once

#include <QString>

namespace updater {

struct PageTexts;

// The confirm page: its title, the installed and the new version, and what OK does.
QString ConfirmPageText(const PageTexts& texts);

// A result page (CWarning's codes: 1 success, 2 failed, 3 firmware current).
QString ResultPageText(int code);

// The labels on the buttons' pictures.
QString OkButtonName();
QString AbortButtonName();
QString CloseButtonName();

}  // namespace updater
