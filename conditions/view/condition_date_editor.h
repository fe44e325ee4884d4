// The editor of a date row: operator, then either the date or a number and a unit.
#pragma once

#include "conditions/condition_date.h"
#include "rules/view/kind_editor.h"

namespace wexcontrols {
class WexCombo;
class WexDate;
class WexNumText;
}  // namespace wexcontrols

namespace vandrel {

class ConditionDateEditor : public KindEditor {
    Q_OBJECT
  public:
    // model: the row's condition; it must outlive the editor.
    explicit ConditionDateEditor(ConditionDate& model, QWidget* parent = nullptr);

  private:
    void applyVisibility();

    ConditionDate& model_;
    wexcontrols::WexDate* date_;
    wexcontrols::WexNumText* number_;
    wexcontrols::WexCombo* unit_;
};

}  // namespace vandrel
