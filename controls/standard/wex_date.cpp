#include "wex_date.h"

#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

#include "form_date.h"
#include "wex_strip.h"

namespace wexcontrols {

WexDate::WexDate(QWidget* parent)
    : WexControl(Look::Field, parent), value_(QDateTime::currentDateTime()) {
    setDecoration(new WexStrip(1, 1, images::DecorationCell(images::Decoration::Calendar), this));
    setCaptionText(FormatDateString(value_));
}

QString WexDate::FormatDateString(const QDateTime& inDate) {
    return inDate.isValid() ? inDate.date().toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

void WexDate::setValue(const QDateTime& value) {
    if (!value.isValid() || value == value_) return;
    value_ = value;
    setCaptionText(FormatDateString(value_));
    markChanged();
}

void WexDate::ReadProperties(const QVariantMap& bag) {
    const QVariant stored = bag.value(QStringLiteral("Value"));
    QDateTime value = stored.typeId() == QMetaType::QDateTime
                          ? stored.toDateTime()
                          : QDateTime::fromString(stored.toString(), Qt::ISODate);
    setValue(value.isValid() ? value : QDateTime::currentDateTime());
    clearChanged();
}

QVariantMap WexDate::WriteProperties() const { return {{QStringLiteral("Value"), value_}}; }

void WexDate::takeDate(const QDateTime& value) {
    setValue(value);
    emit DateChanged();
}

void WexDate::activate() {
    // On the heap as our child: should a host delete this control while the window is open,
    // the window goes with it and the pointer below tells us so.
    QPointer<FormDate> window = new FormDate(this);
    window->setShownDate(value_.date());
    // Announced once the window runs its own event loop, so a listener can act on it.
    QTimer::singleShot(0, window, [this, window] { emit calendarShown(window); });
    window->exec();
    if (window.isNull()) return;
    const QDate picked = window->pickedDate();
    delete window;
    // Without a picked day the window holds no date: the old value stays.
    if (picked.isValid()) takeDate(QDateTime(picked, QTime(0, 0)));
}

void WexDate::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        event->accept();
        takeDate(value_.addDays(event->key() == Qt::Key_Up ? 1 : -1));
        return;
    }
    WexControl::keyPressEvent(event);
}

}  // namespace wexcontrols
