// FormDate: the month-calendar window of WexDate. Clicking a day (or Enter on it) stores it as
// the picked date and closes the window; closing it any other way leaves no picked date.
#pragma once

#include <QCalendarWidget>
#include <QDate>
#include <QDialog>

namespace wexcontrols {

class FormDate : public QDialog {
    Q_OBJECT
  public:
    explicit FormDate(QWidget* parent = nullptr);

    // The day shown and selected when the window opens.
    void setShownDate(const QDate& date);
    // The clicked day, or an invalid date when none was clicked.
    QDate pickedDate() const { return picked_; }
    QCalendarWidget* monthView() const { return oMonthView_; }

  private:
    void pick(const QDate& date);
    void styleMonthView();

    QCalendarWidget* oMonthView_;
    QDate picked_;
};

}  // namespace wexcontrols
