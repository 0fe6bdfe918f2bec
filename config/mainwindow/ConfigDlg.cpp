#include "ConfigDlg.h"

#include "AccessDeniedText.h"
#include "DebugLog.h"
#include "DlgLoading.h"
#include "LedSkin.h"
#include "LightingTransfer.h"
#include "LinkMessages.h"
#include "PopupWindows.h"
#include "SettingsFiles.h"
#include "SkinAttributes.h"
#include "SkinDocuments.h"
#include "SkinFactory.h"
#include "SkinKeys.h"
#include "SkinSet.h"
#include "WarnDlg.h"
#include "WindowMessage.h"
#include "XmlDocument.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QPainter>
#include <QThread>

#include <algorithm>
#include <cstring>
#include <limits>

namespace config {

namespace keys = skindocs::keys;

namespace {

// The buttons of section "MAIN", in the order they are created.
constexpr std::array<std::u16string_view, CConfigDlg::kTabCount> kTabKeys = {keys::kButtonMainControl,
                                                                           keys::kButtonMacro, keys::kButtonLibrary};
// Every button the window cuts from its background, in the order LoadSkin creates them: minimise,
// close, apply, the tabs, the profile button and the profile picture button.
constexpr std::array<std::u16string_view, 8> kButtonKeys = {
    keys::kButtonMin,    keys::kButtonClose,    keys::kButtonApply,        keys::kButtonMainControl,
    keys::kButtonMacro,  keys::kButtonLibrary,  keys::kButtonProfile1,     keys::kButtonProfilePic1};
static_assert(kButtonKeys[3] == kTabKeys[0] && kButtonKeys[4] == kTabKeys[1] && kButtonKeys[5] == kTabKeys[2]);
constexpr int kTabLedPage = 0;
constexpr int kTabWebPage = 1;
constexpr int kTabFirmware = 2;

// Attempts to close a warning window when the main window closes, and the pause between them.
constexpr int kWarningCloseTries = 3;
constexpr unsigned long kWarningClosePauseMs = 10;

QString StringText(std::u16string_view section, std::u16string_view key) {
    return skin::ToQString(xml::LookupValue(skindocs::StringDocument(), section, key));
}

// The part of a window `windowHeight` rows tall that a page of `page` size placed `top` rows down
// covers: the skin may name any top, so the page's last row is found in 64 bits and cut to the window.
QRect RowsCovered(int top, const QSize& page, int windowHeight) {
    const qint64 first = std::max<qint64>(top, 0);
    const qint64 end = std::min<qint64>(qint64{top} + page.height(), windowHeight);
    if (end <= first) return QRect();
    return QRect(0, static_cast<int>(first), page.width(), static_cast<int>(end - first));
}

// The rows of the window's background that a page of `page` size placed `top` rows down covers, across
// the window's width, when none of the window's buttons lies in them: those need not be decoded.
// Empty when the page is not known or some button's look would be cut from them.
QRect RowsToLeaveUndecoded(int top, const QSize& page) {
    if (!page.isValid()) return QRect();
    const QRect rows = RowsCovered(top, page, std::numeric_limits<int>::max());
    for (const std::u16string_view key : kButtonKeys) {
        const std::u16string record = xml::LookupValue(skindocs::ButtonDocument(), keys::kMain, key);
        const QRect button = skin::ToQRect(skin::ParseSkinRecord(record).rect);
        if (!button.isEmpty() && button.bottom() >= rows.top() && button.top() <= rows.bottom()) return QRect();
    }
    return rows;
}

void ShowMessageBox(QWidget* owner, const QString& text) {
    QMessageBox::warning(owner, QStringLiteral("Halcyra"), text);
}

}  // namespace

CConfigDlg::CConfigDlg(ConfigDlgSetup setup, QWidget* parent)
    : skin::CBaseDlg(parent),
      setup_(std::move(setup)),
      restartedAfterUpdate_(setup_.options.restartedAfterUpdate),
      languageCode_(setup_.options.languageCode),
      deviceRequired_(setup_.options.deviceRequired),
      fonts_([this](const QString& text) { setup_.showMessage(this, text); }),
      working_(std::make_unique<SettingsBlock>()),
      saved_(std::make_unique<SettingsBlock>()),
      controllerLink_(setup_.tarnlink),
      bootLoaderLink_(setup_.tarnlink),
      packageMessages_(this) {
    if (!setup_.showMessage) setup_.showMessage = ShowMessageBox;
    if (!setup_.openWebPage) {
        // The look-up of the browser may take seconds: the window does not wait for it.
        setup_.openWebPage = [](const QString& address) {
            OpenWebPageInBackground(address);
            return 0;
        };
    }
    if (!setup_.loadSkinSet) setup_.loadSkinSet = [](const std::string& folder) { LoadSkinSet(folder); };
    if (!setup_.promptSetup) setup_.promptSetup = fwstatus::DefaultPromptSetup;
    // The image folder is the resolution folder without its trailing '/'.
    QString folder = QString::fromStdString(setup_.resolutionFolder);
    while (folder.endsWith(QLatin1Char('/'))) folder.chop(1);
    SetImageFolderName(folder);
    SetSectionName(skin::ToQString(keys::kMain));
    for (skin::CBitmapBtn* button : {&minButton_, &closeButton_, &applyButton_, &tabButtons_[0], &tabButtons_[1],
                                     &tabButtons_[2], static_cast<skin::CBitmapBtn*>(&profileButton_),
                                     static_cast<skin::CBitmapBtn*>(&profilePictureButton_)}) {
        connect(button, &skin::CBitmapBtn::command, this, &CConfigDlg::OnButton);
    }
}

CConfigDlg::~CConfigDlg() {
    // Hand the controller back to its own operation, unless the updater has taken it over or the
    // program ends on the updater's behalf.
    if (!updaterStarted_ && !restartedAfterUpdate_) {
        if (confirmedProfile_ >= 0 && static_cast<std::size_t>(confirmedProfile_) < SettingsBlock::kProfileCount) {
            controllerLink_.SelectProfile(static_cast<std::uint8_t>(confirmedProfile_));
            QThread::msleep(100);
        }
        // A profile the settings have no record for (the controller's second profile) stays selected:
        // the person chose it on the controller. The controller still gets its own operation back.
        controllerLink_.SetMode(0);
    }
    fonts_.RemoveEmbeddedFonts();
    if (g_debugLog) WriteDebugLog(u"Destroy App");
}

void CConfigDlg::InitDialog() {
    setWindowTitle(QStringLiteral("Halcyra"));
    if (g_debugLog) WriteDebugLog(u"Ready Init");
    setup_.loadSkinSet(setup_.resolutionFolder);
    // The LED page's background is decoded beside the window's own outline, background and buttons.
    ledPage_.SetImageFolderName(ImageFolderName());
    ledPage_.DecodeBackgroundAhead(skin::PictureRatio(this));
    subPageTop_ = skin::SkinInteger(xml::LookupValue(skindocs::ButtonDocument(), keys::kMain, keys::kSubDlg));
    // The rows the page will cover, as far as its picture's header tells, are not decoded at all.
    HideBackgroundRows(RowsToLeaveUndecoded(subPageTop_, ledPage_.DeclaredBackgroundSize()));
    skin::CBaseDlg::InitDialog();
    if (g_debugLog) WriteDebugLog(u"Ready Sub Dlg Init");
    // A minimise box and no system menu: the window has its own buttons. The window is not shown yet,
    // so changing its flags does not hide it. Its icon is the program's (set once it has painted).
    setWindowFlag(Qt::WindowSystemMenuHint, false);

    InitSettingsBlock(*working_, *saved_);
    // The settings hold the record of profile 0 only. A file that names the controller's second
    // profile (the program never writes one) is read as profile 0: the page shows that record, apply
    // writes it into profile 0 and switches the controller to it, and so does the hand-back on exit.
    if (working_->ProfileIndex() >= SettingsBlock::kProfileCount) {
        working_->SetProfileIndex(0);
        saved_->SetProfileIndex(0);
    }

    progressPane_.SetImageFolderName(ImageFolderName());
    progressPane_.CreateSkinPage(this, kChildTemplate);
    progressPane_.move(0, height() - progressPane_.height());

    ledPage_.SetSettings(&controllerLink_, working_.get(), saved_.get());
    ledPage_.CreateSkinPage(this, kChildTemplate);
    ledPage_.move(0, subPageTop_);
    // Under the page the window draws the page's background (DrawSkinContent) wherever the page does
    // not paint it itself: its own background is never seen there, and an opaque page picture lets it go.
    // What the page's decode says wins over its header: rows left undecoded that the page does not
    // cover after all are decoded now (DropBackgroundUnder does so for a cover that misses some).
    const QImage& pageBackground = ledPage_.BackgroundPicture();
    if (!pageBackground.isNull() && !pageBackground.hasAlphaChannel()) {
        const int windowHeight = skin::LogicalSize(BackgroundPicture()).height();
        DropBackgroundUnder(RowsCovered(subPageTop_, skin::LogicalSize(pageBackground), windowHeight));
    } else {
        DecodeWholeBackground();
    }

    // The program's fonts are registered once the pages exist: nothing above draws or measures text,
    // and a registration waits for the system's font list, which a worker reads meanwhile
    // (FontDatabaseWarmUp), so the pages are made while it is read.
    fonts_.RegisterProgramFonts();
    SelectTab(selectedTab_);
    if (g_debugLog) WriteDebugLog(u"Init Sub Dlg Success");
}

void CConfigDlg::showEvent(QShowEvent* event) {
    skin::CBaseDlg::showEvent(event);
    // The links open once the window is on the screen, so that a warning about a missing controller
    // appears over it; their plug messages are handled after this initialisation has returned.
    if (!linksOpened_) {
        linksOpened_ = true;
        QMetaObject::invokeMethod(this, &CConfigDlg::OpenLinks, Qt::QueuedConnection);
    }
}

void CConfigDlg::OpenLinks() {
    controllerLink_.SetOwnerWindow(this);
    controllerLink_.OpenDevice();
    bootLoaderLink_.SetOwnerWindow(this);
    bootLoaderLink_.OpenDevice();
    if (!controllerLink_.IsOpen()) {
        if (!bootLoaderLink_.IsOpen() && deviceRequired_) ShowNoDeviceWarning();
        ActivateProfile(working_->ProfileIndex());
    }
}

void CConfigDlg::ShowNoDeviceWarning() {
    if (g_debugLog) {
        WriteDebugLog(u"Detect No Device");
        setup_.showMessage(this, QStringLiteral("Detect No Device"));
    }
    warningShown_ = true;
    if (const std::string denied = tarnlink::controllerAccessDeniedText(); !denied.empty()) {
        // A controller is plugged in but may not be opened: say so and how to get access, rather than
        // "no controller". The text is longer than the skinned page holds; the box carries the warning
        // title, so the controller's arrival closes it like the skinned warning.
        QMessageBox box(QMessageBox::Warning, kProgramTitle, QString::fromStdString(denied), QMessageBox::Ok, this);
        box.setObjectName(kWarnDlgTitle);
        box.exec();
    } else {
        CWarnDlg warning(this);
        const QString section = skin::ToQString(keys::kNoKeyboard);
        warning.SetSections(section, section);
        warning.SetMessage(section);
        warning.exec();
    }
    // The no-device warning is over (closed by the person or by the controller's arrival): later
    // warnings do not keep an unplug from ending the program.
    warningShown_ = false;
    if (!controllerLink_.IsOpen() && !bootLoaderLink_.IsOpen()) PostClose();
}

void CConfigDlg::LoadSkin() {
    skin::CBaseDlg::LoadSkin();
    // The window keeps only the part of its background that its page leaves uncovered (InitDialog):
    // its buttons copy their normal looks rather than share the whole picture.
    skin::SkinImageSet pictures = ImageSet();
    pictures.shareNormal = false;
    // The same list says which background rows the window must decode (RowsToLeaveUndecoded).
    const std::array<skin::CBitmapBtn*, kButtonKeys.size()> buttons = {
        &minButton_,     &closeButton_,   &applyButton_,   &tabButtons_[0],
        &tabButtons_[1], &tabButtons_[2], &profileButton_, &profilePictureButton_};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        skin::CreateSkinButton(*buttons[i], this, pictures, keys::kMain, kButtonKeys[i], true,
                               skin::CBitmapBtn::kFormatCentred, -1);
    }
    SetPrimaryCaptionColors(applyButton_);
    applyNotice_.Place();
    for (skin::CBitmapBtn& tab : tabButtons_) tab.SetCheckable(true);
    // The profile button and the profile picture button exist for the profile they stand for, but the
    // program never shows them.
    profileButton_.hide();
    profilePictureButton_.hide();
}

void CConfigDlg::DrawSkinContent(QPainter& painter) {
    auto* page = qobject_cast<skin::CBaseDlg*>(currentPage_);
    if (page == nullptr) return;
    const QPoint at(0, subPageTop_);
    // A shown page that lies where its picture goes and paints all of its rectangle hides the picture
    // drawn under it: drawing it there too would double the largest copy of the paint. Only a page wholly
    // inside the window is asked: the skin may place it as far off as a number goes, where its rectangle's
    // size cannot even be computed.
    const qint64 pageEnd = qint64{subPageTop_} + skin::LogicalSize(page->BackgroundPicture()).height();
    const bool insideWindow = subPageTop_ >= 0 && pageEnd <= height();
    if (insideWindow && page->isVisible() && page->pos() == at && page->PaintsWholeRectOpaque()) return;
    painter.drawImage(at, page->BackgroundPicture());
}

void CConfigDlg::SelectTab(int index) {
    selectedTab_ = index;
    for (int i = 0; i < kTabCount; ++i) TabButton(i).SetChecked(i == index);
    if (index == kTabWebPage) {
        setup_.openWebPage(StringText(keys::kMain, keys::kLinkTest));
        SelectTab(kTabLedPage);
    } else if (index == kTabFirmware) {
        RunFirmwarePrompt(controllerLink_);
        SelectTab(kTabLedPage);
    }
    ledPage_.ShowFirstLedButton();
    ledPage_.show();
    ledPage_.repaint();
    currentPage_ = &ledPage_;
}

void CConfigDlg::OnButton(int /*code*/, skin::CBitmapBtn* sender) {
    // Every notification acts: a left click, or a right or middle press.
    if (sender == &minButton_) {
        showMinimized();
    } else if (sender == &closeButton_) {
        AskToClose();
    } else if (sender == &applyButton_) {
        Apply();
    } else if (sender == &profileButton_) {
        ActivateProfile(0);
    } else {
        for (int i = 0; i < kTabCount; ++i) {
            if (sender != &TabButton(i)) continue;
            for (int j = 0; j < kTabCount; ++j) TabButton(j).SetChecked(j == i);
            SelectTab(i);
            return;
        }
    }
}

bool CConfigDlg::HasUnsavedChanges() const {
    return std::memcmp(working_.get(), saved_.get(), sizeof(SettingsBlock)) != 0;
}

void CConfigDlg::AskToClose() {
    if (!HasUnsavedChanges()) {
        PostClose();
        return;
    }
    CWarnDlg question(this);
    const QString section = skin::ToQString(keys::kWarnDlg);
    question.SetSections(section, section);
    question.SetMessage(skin::ToQString(keys::kNoSave));
    if (ShowOverDimmedWindow(question) != CWarnDlg::kOkResult) return;
    GiveBackAppliedLighting();
    PostClose();
}

void CConfigDlg::GiveBackAppliedLighting() {
    // The page previewed the discarded edits on the controller; the controller gets the lighting it
    // was last read with or written, so that it runs, and the next start shows, what was applied.
    const int profile = confirmedProfile_;
    if (!controllerLink_.IsOpen() || profile < 0 || static_cast<std::size_t>(profile) >= SettingsBlock::kProfileCount) {
        return;
    }
    auto applied = std::make_unique<SettingsBlock>(*saved_);
    CLightingTransfer transfer(controllerLink_, *applied);
    controllerLink_.SelectProfile(static_cast<std::uint8_t>(profile));
    transfer.WriteProfileLighting(profile, 0, 0);
}

void CConfigDlg::Apply() {
    const SaveOutcome saved = SaveSettingsFiles(*working_);
    filesSaved_ = saved.Saved();
    if (!saved.Saved()) {
        // The controller is still written: the person keeps what they see. The files are written value
        // by value, so those before the failing one may already hold the new settings.
        setup_.showMessage(this, tr("The settings could not be saved to %1: %2.\nThe controller is written all the "
                                    "same; the settings files may hold part of the new settings.")
                                     .arg(QString::fromStdString(saved.failedPath),
                                          QString::fromLocal8Bit(std::strerror(saved.error))));
    }
    platform::PostWindowMessage(this, WM_APPLY_SETTINGS, 0, 0);
}

void CConfigDlg::PostClose() { QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection); }

int CConfigDlg::ShowOverDimmedWindow(QDialog& popup) {
    CDlgLoading overlay(this);
    overlay.SetImageFolderName(ImageFolderName());
    overlay.SetPopup(&popup);
    return overlay.exec();
}

int CConfigDlg::RunFirmwarePrompt(CUSBDriver& link) {
    if (g_debugLog) WriteDebugLog(u"Ready Show Info");
    if (FindWindowByTitle(kWarnDlgTitle) != nullptr) {
        CloseWindowByTitle(kWarnDlgTitle);
        warningShown_ = false;
    }
    fwstatus::PromptSetup prompt = setup_.promptSetup(packageMessages_);
    prompt.prompt.retries = setup_.firmwareRetries;
    prompt.showModal = [this](fwstatus::CInfoDlg& dialog) { return ShowOverDimmedWindow(dialog); };
    prompt.prompt.confirmUpdate = [](QWidget* owner) {
        CWarnDlg confirmation(owner);
        const QString section = skin::ToQString(keys::kWarnDlg);
        confirmation.SetSections(section, section);
        confirmation.SetMessage(skin::ToQString(keys::kFwUpdates));
        return confirmation.exec();
    };
    prompt.onUpdaterStarted = [this] { updaterStarted_ = true; };
    const int result = fwstatus::RunFirmwarePrompt(this, link, prompt);
    if (g_debugLog) WriteDebugLog(u"Exit Show Info");
    return result;
}

void CConfigDlg::ActivateProfile(int index) {
    busy_ = true;
    working_->SetProfileIndex(static_cast<std::uint8_t>(index));
    controllerLink_.SelectProfile(static_cast<std::uint8_t>(index));
    UpdateProfileButton(index);
    SelectEffectOnPage();
    busy_ = false;
}

void CConfigDlg::UpdateProfileButton(int index) {
    profileButton_.SetChecked(index == 0);
    if (static_cast<std::size_t>(index) >= SettingsBlock::kProfileCount) return;
    QString name = QString::fromStdU16String(TextFieldValue(working_->profiles[static_cast<std::size_t>(index)].name));
    if (name.isEmpty()) name = StringText(keys::kMain, keys::kStrProfile) + QString::number(index + 1);
    profileButton_.SetCaption(name);
}

void CConfigDlg::SelectEffectOnPage() {
    const std::size_t profile = working_->ProfileIndex();
    if (!ledPage_.HasWorkingCopy() || profile >= SettingsBlock::kProfileCount) return;
    ledPage_.SelectEffect(working_->profiles[profile].lighting.SelectEffect());
}

bool CConfigDlg::event(QEvent* event) {
    if (auto* message = platform::AsWindowMessage(event)) {
        switch (message->Message()) {
        case WM_DEVICE_PLUG: OnDevicePlug(message->WParam(), message->LParam()); return true;
        case WM_DEVICE_EVENT: OnDeviceEvent(message->WParam()); return true;
        case WM_APPLY_SETTINGS: OnApplySettings(message->LParam()); return true;
        case WM_SELECT_PROFILE: ActivateProfile(static_cast<int>(message->LParam())); return true;
        case WM_RESET_PROFILE: OnResetProfile(static_cast<int>(message->LParam())); return true;
        default: break;
        }
    }
    return skin::CBaseDlg::event(event);
}

void CConfigDlg::closeEvent(QCloseEvent* event) {
    // A close from the window manager (Alt+F4, the task bar) is the person's: it asks as the close
    // button does, which then closes the window itself. While the window writes the controller there
    // is no close button, and the close waits for nothing: it is ignored. The program's own closes
    // (the close button's, an unplug, the updater start, a signal) are not spontaneous and go on.
    if (event->spontaneous()) {
        event->ignore();
        // Closes that come in a burst before the question is up ask once.
        if (busy_ || closeAskPending_) return;
        closeAskPending_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                AskToClose();
                closeAskPending_ = false;
            },
            Qt::QueuedConnection);
        return;
    }
    for (int i = 0; i < kWarningCloseTries && CloseWindowByTitle(kWarnDlgTitle); ++i) {
        QThread::msleep(kWarningClosePauseMs);
    }
    skin::CBaseDlg::closeEvent(event);
}

}  // namespace config
