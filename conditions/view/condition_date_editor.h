// The editor of a date row: operator, then either the date or a number and a unit.
#pragma once

#include "conditions/condition_date.h"
#include "rules/view/kind_editor.h"

namespace vandrel {

class ConditionDateEditor : public KindEditor {
    Q_OBJECT
  public:
    // model: the row's condition; it must outlive the editor.
    explicit ConditionDateEditor(ConditionDate& model, QWidget* parent = nullptr);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    ConditionDate& model_;
};

}  // namespace vandrel
