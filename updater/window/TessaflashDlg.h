// The updater's main window: one skinned page with the controller's current firmware version, the
// package's version and the OK / ABORT / close buttons; while an update runs, the progress bar over
// it; afterwards a result page (CWarning).
//
// The page shows what the update session tells it (SetTexts, SetControls, SetProgress,
// ShowResultPage, ShowMessage) and reports what the person asks for (updateRequested,
// cancelRequested); SessionBinding.h connects it to a session. Finish closes the window with the
// session's exit code, which exec() then returns.
#pragma once

#include "BaseDlg.h"
#include "BitmapBtn.h"
#include "ProgressBar.h"
#include "UpdaterLayout.h"
#include "UpdaterTitleFont.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <functional>

namespace updater {

struct PageTexts {
    QString title;           // the window caption and the title line
    QString company;
    QString product;
    QString updateVersion;
    QString currentVersion;
    QString layoutName;      // empty while no package entry is selected
    QString duration;        // replaces the picture's "about a minute" line when known
    QString progressLine;    // replaces the picture's instruction line while updating
};

struct PageControls {
    bool ok = false;         // BUTTON_OK (and Enter)
    bool cancel = false;     // BUTTON_CANCEL
    bool close = true;       // BUTTON_CLOSE, Escape and the window's own close
    bool updating = false;   // the progress bar replaces nothing but is drawn over the page
};

class CTessaflashDlg : public skin::CBaseDlg {
    Q_OBJECT

public:
    // Shows a result page modally; tests replace it to see which page would open.
    using ResultPageRunner = std::function<void(int code)>;
    // Shows an error message box; tests replace it.
    using MessageRunner = std::function<void(const QString& text, const QString& caption)>;

    explicit CTessaflashDlg(QWidget* parent = nullptr);
    ~CTessaflashDlg() override;

    void SetTexts(const PageTexts& texts);
    void SetControls(const PageControls& controls);
    void SetProgress(int percent);
    // Opens the result page for `code` (1 success, 2 failed, 3 firmware current) and returns when the
    // person has closed it.
    void ShowResultPage(int code);
    void ShowMessage(const QString& text, const QString& caption);
    // Ends the window's modal loop with `exitCode`.
    void Finish(int exitCode);

    void SetResultPageRunner(ResultPageRunner runner) { resultPageRunner_ = std::move(runner); }
    void SetMessageRunner(MessageRunner runner) { messageRunner_ = std::move(runner); }

    const UpdaterLayout& Layout() const { return layout_; }
    const PageTexts& Texts() const { return texts_; }
    const PageControls& Controls() const { return controls_; }
    int Progress() const { return progress_; }
    // Where the bar, its fill and its marker are drawn now (the bar is drawn only while updating).
    ProgressBarGeometry BarGeometry() const;
    const QFont& VersionFont() const { return versionFont_; }
    const QFont& StatusFont() const { return statusFont_; }

    // Where the version texts are drawn: the new version in the installed version's column, and the
    // layout name on the installed version's line (the records place them 12 and 3 px apart).
    struct VersionBoxes {
        QRect layoutName;   // from the layout record's corner, as wide as the name needs
        QRect updateVersion;
        QRect currentVersion;
    };
    VersionBoxes VersionTextBoxes() const;

    // The two lines under the versions as the page shows them now; empty where the picture's own text
    // stands (the instruction to press OK, the picture's duration).
    struct StatusLines {
        QString instruction;
        QString duration;
    };
    StatusLines ShownStatusLines() const;
    static QRect InstructionLineRect() { return {59, 164, 640, 24}; }
    static QRect DurationLineRect() { return {59, 190, 640, 24}; }

    skin::CBitmapBtn& OkButton() { return okButton_; }
    skin::CBitmapBtn& CancelButton() { return cancelButton_; }
    skin::CBitmapBtn& CloseButton() { return closeButton_; }

signals:
    void updateRequested();
    void cancelRequested();

protected:
    void LoadSkin() override;
    void DrawSkinContent(QPainter& painter) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void DrawTexts(QPainter& painter);
    void DrawStatusLines(QPainter& painter);
    void ApplyControls();

    UpdaterLayout layout_;
    QImage background_;
    ProgressBarPictures barPictures_;
    QFont versionFont_;
    QFont titleFont_;
    QFont statusFont_;
    fonts::UpdaterTitleFont titleFace_;

    skin::CBitmapBtn okButton_;
    skin::CBitmapBtn cancelButton_;
    skin::CBitmapBtn closeButton_;

    PageTexts texts_;
    PageControls controls_;
    int progress_ = 0;
    bool finished_ = false;

    ResultPageRunner resultPageRunner_;
    MessageRunner messageRunner_;
};

}  // namespace updater
