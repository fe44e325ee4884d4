#include "form_date.h"

#include <QTextCharFormat>
#include <QToolButton>

#include "wex_images.h"

namespace wexcontrols {

FormDate::FormDate(QWidget* parent) : QDialog(parent), oMonthView_(new QCalendarWidget(this)) {
    setObjectName(QStringLiteral("FormDate"));
    setWindowTitle(tr("Select a Date"));
    oMonthView_->setObjectName(QStringLiteral("oMonthView"));
    oMonthView_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    oMonthView_->setGridVisible(false);
    styleMonthView();
    oMonthView_->move(1, 1);
    oMonthView_->resize(oMonthView_->sizeHint());
    setFixedSize(oMonthView_->width() + 2, oMonthView_->height() + 2);
    // Enter on a day counts as clicking it, so the window works from the keyboard alone.
    connect(oMonthView_, &QCalendarWidget::clicked, this, &FormDate::pick);
    connect(oMonthView_, &QCalendarWidget::activated, this, &FormDate::pick);
    oMonthView_->setFocus();
}

void FormDate::styleMonthView() {
    // The calendar in the flat look of the other controls: a light title bar with our own
    // chevrons, the accent colour for the chosen day, weekends like the other days.
    const QPalette pal = oMonthView_->palette();
    oMonthView_->setStyleSheet(QStringLiteral(
        "#qt_calendar_navigationbar { background: #ffffff; border-bottom: 1px solid #dfe3e8; }"
        "#qt_calendar_navigationbar QToolButton { color: #3c4654; font-weight: bold; }"
        "QTableView { selection-background-color: #2f6fdb; selection-color: #ffffff; }"));
    QTextCharFormat weekend;
    weekend.setForeground(pal.color(QPalette::Text));
    oMonthView_->setWeekdayTextFormat(Qt::Saturday, weekend);
    oMonthView_->setWeekdayTextFormat(Qt::Sunday, weekend);
    const int side = fontMetrics().height();
    if (auto* prev =
            oMonthView_->findChild<QToolButton*>(QStringLiteral("qt_calendar_prevmonth"))) {
        prev->setIcon(images::ChevronIcon(Qt::LeftArrow, side));
        prev->setAccessibleName(tr("Previous month"));
    }
    if (auto* next =
            oMonthView_->findChild<QToolButton*>(QStringLiteral("qt_calendar_nextmonth"))) {
        next->setIcon(images::ChevronIcon(Qt::RightArrow, side));
        next->setAccessibleName(tr("Next month"));
    }
}

void FormDate::setShownDate(const QDate& date) {
    if (date.isValid()) oMonthView_->setSelectedDate(date);
}

void FormDate::pick(const QDate& date) {
    picked_ = date;
    accept();
}

}  // namespace wexcontrols
