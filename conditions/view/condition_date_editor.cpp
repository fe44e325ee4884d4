#include "conditions/view/condition_date_editor.h"

#include "controls/standard/wex_combo.h"
#include "controls/standard/wex_date.h"
#include "controls/standard/wex_num_text.h"
#include "rules/view/editor_fields.h"

namespace vandrel {

using namespace wexcontrols;

ConditionDateEditor::ConditionDateEditor(ConditionDate& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* op =
        MakeCombo(this, QStringLiteral("cmbCompare"), QStringLiteral("Date comparison"),
                  {QStringLiteral("is"), QStringLiteral("is before"), QStringLiteral("is after"),
                   QStringLiteral("is in the last"), QStringLiteral("is not in the last")},
                  model.op());
    date_ = new WexDate(this);
    date_->setObjectName(QStringLiteral("oDTPicker"));
    if (model.date().isValid()) date_->setValue(model.date());
    number_ = MakeNumberField(this, QStringLiteral("cmbNumber"), QStringLiteral("Number"), 1, 60,
                              model.number());
    unit_ = MakeCombo(this, QStringLiteral("cmbStep"), QStringLiteral("Unit"),
                      {QStringLiteral("Minute"), QStringLiteral("Hour"), QStringLiteral("Day"),
                       QStringLiteral("Week")},
                      model.unit());
    PlaceField(op, 0, 0, 1750);
    PlaceField(date_, 1800, 0, 2100);
    PlaceField(number_, 1800, 0, 900);
    PlaceField(unit_, 2750, 0, 1150);
    connect(op, &WexCombo::Click, this, [this, op] {
        model_.setOperator(op->Text());
        applyVisibility();
    });
    connect(date_, &WexDate::DateChanged, this, [this] { model_.setDate(date_->Value()); });
    connect(number_, &WexNumText::ValueChange, this, [this] {
        // An empty field is the user still typing; leaving it empty gives the minimum.
        if (!number_->Text().isEmpty()) model_.setNumber(number_->Text());
    });
    connect(unit_, &WexCombo::Click, this, [this] { model_.setUnit(unit_->Text()); });
    applyVisibility();
}

void ConditionDateEditor::applyVisibility() {
    // Fixed dates show the date field; the sliding window shows number and unit.
    const bool showsDate = model_.showsDate();
    date_->setVisible(showsDate);
    number_->setVisible(!showsDate);
    unit_->setVisible(!showsDate);
}

}  // namespace vandrel
