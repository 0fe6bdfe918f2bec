#include "Rename.h"

#include "SkinAttributes.h"
#include "SkinDocuments.h"
#include "SkinFont.h"
#include "WindowMessage.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace skin {

namespace {

// A pop-up, so it can sit over a button of its parent (also where the window system does not let
// programs place their windows) and takes the keyboard while it is open; without a frame or caption.
constexpr Qt::WindowFlags kEditorWindowFlags = Qt::Popup | Qt::FramelessWindowHint;

// Longest text a commit reads from the edit.
constexpr int kLongestText = 8191;

CRename* g_activeEditor = nullptr;

bool IsEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

}  // namespace

CRename::CRename()
    : QDialog(nullptr, kEditorWindowFlags),
      background_(QApplication::palette().color(QPalette::Button)),
      textColor_(Qt::black) {
    const std::u16string size = xml::LookupValue(skindocs::StringDocument(), u"GLOBAL", u"FONT_SIZE");
    if (!size.empty()) fontHeight_ = SkinInteger(size);
    faceName_ = ToQString(xml::LookupValue(skindocs::StringDocument(), u"GLOBAL", u"FONT"));
    setAutoFillBackground(true);
}

CRename::~CRename() {
    EndEdit();
    if (g_activeEditor == this) g_activeEditor = nullptr;
}

CRename* CRename::ActiveEditor() { return g_activeEditor; }

void CRename::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

void CRename::SetBackgroundColor(std::uint32_t colorRef) { background_ = ColorFromColorRef(colorRef); }

void CRename::SetTextColor(std::uint32_t colorRef) { textColor_ = ColorFromColorRef(colorRef); }

void CRename::Create(QWidget* parent) {
    setParent(parent, kEditorWindowFlags);
    if (!placement_.isEmpty()) {
        const QPoint topLeft = parent ? parent->mapToGlobal(placement_.topLeft()) : placement_.topLeft();
        setGeometry(QRect(topLeft, placement_.size()));
    }
    show();
}

void CRename::BeginEdit(int verticalInset, int horizontalInset) {
    g_activeEditor = this;
    EndEdit();
    textBeforeEdit_ = text_;

    QPalette colours = palette();
    colours.setColor(QPalette::Window, background_);
    colours.setColor(QPalette::Base, background_);
    colours.setColor(QPalette::Text, textColor_);
    setPalette(colours);

    edit_ = new QLineEdit(this);
    QRect area = rect().adjusted(horizontalInset, verticalInset, -horizontalInset, -verticalInset);
    if (area.width() < 0) area.setWidth(0);
    if (area.height() < 0) area.setHeight(0);
    edit_->setGeometry(area);
    edit_->setFrame(false);
    // The edit's own menu would take the focus and so commit the value under the user's hands.
    edit_->setContextMenuPolicy(Qt::NoContextMenu);
    edit_->setPalette(colours);
    edit_->setFont(SkinFont(faceName_, fontHeight_, fontWeight_));
    if (hiddenInput_) edit_->setEchoMode(QLineEdit::Password);
    if (numeric_) {
        edit_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit_));
    }
    edit_->setText(text_);
    if (lengthLimit_ > 0) edit_->setMaxLength(lengthLimit_);
    // Everything selected, the caret at the end: typing replaces the value, an arrow key keeps it.
    edit_->selectAll();
    edit_->installEventFilter(this);
    connect(edit_, &QLineEdit::textChanged, this, [this] { ForwardChange(); });
    edit_->show();
    edit_->setFocus(Qt::OtherFocusReason);
    editing_ = true;
}

void CRename::EndEdit() {
    editing_ = false;
    if (edit_) {
        edit_->removeEventFilter(this);
        QObject::disconnect(edit_, nullptr, this, nullptr);
        edit_->hide();
        // This may run inside the edit's own key or focus handling, so it is deleted once that is over.
        edit_->deleteLater();
        edit_ = nullptr;
    }
    update();
}

bool CRename::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_ || g_activeEditor != this || !editing_) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusOut) {
        Commit();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (IsEnter(key)) {
            Commit();
            return true;
        }
        if (key == Qt::Key_Escape) {
            Cancel();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CRename::keyPressEvent(QKeyEvent* event) {
    if (IsEnter(event->key()) || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CRename::hideEvent(QHideEvent* event) {
    // The window system need not move the focus out of a pop-up that closes, so the close itself
    // counts as the loss of focus.
    if (editing_ && g_activeEditor == this) Commit();
    QDialog::hideEvent(event);
}

void CRename::Commit() {
    QString text = edit_->text().left(kLongestText);
    EndEdit();
    if (numeric_) {
        // Digits only, so the value is the whole text; an empty text is 0, a huge one saturates.
        const int value = SkinInteger(ToU16(text));
        if (value > maximum_) {
            text = QString::number(maximum_);
        } else if (value < minimum_) {
            text = QString::number(minimum_);
        }
    }
    text_ = text;
    Notify(kRenameDoneMessage, reinterpret_cast<std::uintptr_t>(this), kRenameCommitted);
}

void CRename::Cancel() {
    EndEdit();
    text_ = textBeforeEdit_;
    Notify(kRenameDoneMessage, reinterpret_cast<std::uintptr_t>(this), kRenameCancelled);
}

void CRename::ForwardChange() {
    if (!edit_) return;
    text_ = edit_->text();
    Notify(kCommandMessage, kRenameChangedCode << 16 | kRenameEditId, reinterpret_cast<std::intptr_t>(this));
}

void CRename::Notify(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    QObject* receiver = target_ ? target_.data() : parent();
    platform::PostWindowMessage(receiver, message, wParam, lParam);
}

}  // namespace skin
