#include "ApplyNotice.h"

#include "SkinAttributes.h"
#include "SkinDocuments.h"
#include "SkinFactory.h"
#include "SkinKeys.h"
#include "SkinPictures.h"
#include "SkinRecord.h"
#include "SkinTextFormat.h"
#include "XmlDocument.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>

namespace config {

namespace keys = skindocs::keys;

namespace {

constexpr unsigned kNoticeFormat = skin::DT_RIGHT | skin::DT_VCENTER | skin::DT_SINGLELINE | skin::DT_END_ELLIPSIS;

// The notice as assistive technology sees it: a notification, which a screen reader says as it
// appears wherever the focus is (a plain label is only read when someone goes to it), named by its text.
class AccessibleNotice final : public QAccessibleWidget {
public:
    explicit AccessibleNotice(ApplyNotice* notice) : QAccessibleWidget(notice, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name || t == QAccessible::Description) return static_cast<const QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* NoticeAccessibleFactory(const QString& className, QObject* object) {
    if (className != QLatin1String(ApplyNotice::staticMetaObject.className())) return nullptr;
    return new AccessibleNotice(static_cast<ApplyNotice*>(object));
}

}  // namespace

ApplyNotice::ApplyNotice(QWidget* parent) : QLabel(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(&NoticeAccessibleFactory);
        return true;
    }();
    static_cast<void>(factoryInstalled);
    setObjectName(skin::ToQString(keys::kStrApplied));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    clearTimer_.setSingleShot(true);
    clearTimer_.setInterval(kShownMs);
    connect(&clearTimer_, &QTimer::timeout, this, &ApplyNotice::Clear);
    hide();
}

void ApplyNotice::Place() {
    const std::u16string record = xml::LookupValue(skindocs::ButtonDocument(), keys::kMain, keys::kStrApplied);
    setGeometry(skin::ToQRect(skin::ParseSkinRecord(record).rect));
    Clear();
}

void ApplyNotice::ShowOutcome(bool applied) {
    const std::u16string_view key = applied ? keys::kStrApplied : keys::kStrApplyFailed;
    // setText tells assistive technology that the label's text changed.
    setText(skin::ToQString(xml::LookupValue(skindocs::StringDocument(), keys::kMain, key)));
    show();
    raise();
    // Success is news and goes after a moment. A refusal is a state: the controller does not hold what the
    // page shows, and a person who looked away while the write ran must still find it, so it stays until
    // the next apply replaces it.
    if (applied)
        clearTimer_.start();
    else
        clearTimer_.stop();
}

void ApplyNotice::Clear() {
    clearTimer_.stop();
    clear();
    hide();
}

void ApplyNotice::paintEvent(QPaintEvent*) {
    // The skin's label is placed in the main window's coordinates: draw it there, shifted onto this widget.
    QPainter painter(this);
    painter.translate(-pos());
    skin::DrawSkinLabel(painter, keys::kMain, keys::kStrApplied, text(), kNoticeFormat);
}

}  // namespace config
