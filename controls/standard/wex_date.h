// WexDate: shows its Value as year-month-day; a click, Space or Enter opens FormDate modally,
// Up and Down move the date by one day. Closing the calendar without a pick keeps the value.
#pragma once

#include <QDateTime>
#include <functional>

#include "wex_control.h"

namespace wexcontrols {

class FormDate;

class WexDate : public WexControl {
    Q_OBJECT
    Q_PROPERTY(QDateTime Value READ Value WRITE setValue)
  public:
    explicit WexDate(QWidget* parent = nullptr);

    QDateTime Value() const { return value_; }
    // Redraws without raising DateChanged; an invalid date-time is ignored.
    void setValue(const QDateTime& value);

    // "2008-03-05" for 5 March 2008; the empty text for an invalid date.
    static QString FormatDateString(const QDateTime& inDate);

    void ReadProperties(const QVariantMap& bag) override;
    QVariantMap WriteProperties() const override;

  signals:
    void DateChanged();
    // The calendar window is open (modal); lets a test or host reach it.
    void calendarShown(FormDate* window);

  protected:
    void activate() override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void takeDate(const QDateTime& value);

    QDateTime value_;
};

}  // namespace wexcontrols
