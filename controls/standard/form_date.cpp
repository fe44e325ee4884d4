#include "form_date.h"

namespace wexcontrols {

FormDate::FormDate(QWidget* parent) : QDialog(parent), oMonthView_(new QCalendarWidget(this)) {
    setObjectName(QStringLiteral("FormDate"));
    setWindowTitle(tr("Select a Date"));
    oMonthView_->setObjectName(QStringLiteral("oMonthView"));
    oMonthView_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    oMonthView_->setGridVisible(false);
    oMonthView_->move(1, 1);
    oMonthView_->resize(oMonthView_->sizeHint());
    setFixedSize(oMonthView_->width() + 2, oMonthView_->height() + 2);
    // Enter on a day counts as clicking it, so the window works from the keyboard alone.
    connect(oMonthView_, &QCalendarWidget::clicked, this, &FormDate::pick);
    connect(oMonthView_, &QCalendarWidget::activated, this, &FormDate::pick);
    oMonthView_->setFocus();
}

void FormDate::setShownDate(const QDate& date) {
    if (date.isValid()) oMonthView_->setSelectedDate(date);
}

void FormDate::pick(const QDate& date) {
    picked_ = date;
    accept();
}

}  // namespace wexcontrols
