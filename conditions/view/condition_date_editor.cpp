#include "conditions/view/condition_date_editor.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QSpinBox>

#include "rules/view/editor_fields.h"

namespace vandrel {

ConditionDateEditor::ConditionDateEditor(ConditionDate& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* op =
        MakeCombo(this, QStringLiteral("cmbCompare"), QStringLiteral("Date comparison"),
                  {QStringLiteral("is"), QStringLiteral("is before"), QStringLiteral("is after"),
                   QStringLiteral("is in the last"), QStringLiteral("is not in the last")},
                  model.op());
    auto* date = new QDateEdit(this);
    date->setObjectName(QStringLiteral("oDTPicker"));
    date->setAccessibleName(QStringLiteral("Date"));
    date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    date->setCalendarPopup(true);
    if (model.date().isValid())
        date->setDate(model.date().date());
    else
        date->setDate(QDate::currentDate());
    auto* number = MakeNumberField(this, QStringLiteral("cmbNumber"), QStringLiteral("Number"), 1,
                                   60, model.number());
    auto* unit = MakeCombo(this, QStringLiteral("cmbStep"), QStringLiteral("Unit"),
                           {QStringLiteral("Minute"), QStringLiteral("Hour"), QStringLiteral("Day"),
                            QStringLiteral("Week")},
                           model.unit());
    PlaceField(op, 0, 0, 1750);
    PlaceField(date, 1800, 0, 2100);
    PlaceField(number, 1800, 0, 900);
    PlaceField(unit, 2750, 0, 1150);
    connect(op, &QComboBox::currentTextChanged, this, [this](const QString& t) {
        model_.setOperator(t);
        resizeEvent(nullptr);
    });
    connect(date, &QDateEdit::dateChanged, this, [this](QDate d) {
        // The picker sets the day; the time of day the rule holds stays.
        const QTime time = model_.date().isValid() ? model_.date().time() : QTime(0, 0);
        model_.setDate(QDateTime(d, time));
    });
    connect(number, &QSpinBox::valueChanged, this,
            [this](int v) { model_.setNumber(QString::number(v)); });
    connect(unit, &QComboBox::currentTextChanged, this,
            [this](const QString& t) { model_.setUnit(t); });
    resizeEvent(nullptr);
}

void ConditionDateEditor::resizeEvent(QResizeEvent*) {
    // Fixed dates show the date field; the sliding window shows number and unit.
    const bool showsDate = model_.showsDate();
    findChild<QDateEdit*>(QStringLiteral("oDTPicker"))->setVisible(showsDate);
    findChild<QSpinBox*>(QStringLiteral("cmbNumber"))->setVisible(!showsDate);
    findChild<QComboBox*>(QStringLiteral("cmbStep"))->setVisible(!showsDate);
}

}  // namespace vandrel
