#include "ProgressDlg.h"

#include "CommandLine.h"
#include "PopupWindows.h"
#include "SkinAttributes.h"
#include "SkinDocuments.h"
#include "SkinKeys.h"
#include "XmlDocument.h"

namespace config {

CProgressDlg::CProgressDlg(QWidget* parent) : CProgressPage(parent) {
    SetSectionName(skin::ToQString(skindocs::keys::kLoading));
}

void CProgressDlg::InitDialog() {
    CProgressPage::InitDialog();
    MarkAsWarnDlg(*this);
    LoadBarPicture();
    const std::u16string top =
        xml::LookupValue(skindocs::ButtonDocument(), skindocs::keys::kLoading, skindocs::keys::kProgress);
    SetBarTop(ReadLeadingInteger(skin::ToQString(top).toStdString()));
}

}  // namespace config
