// The editor of an "Any" row: nothing to set, a note says what it matches.
#pragma once

#include "conditions/condition_any.h"
#include "rules/view/kind_editor.h"

namespace vandrel {

class ConditionAnyEditor : public KindEditor {
    Q_OBJECT
  public:
    // model: the row's condition; it must outlive the editor.
    explicit ConditionAnyEditor(ConditionAny& model, QWidget* parent = nullptr);

  private:
    ConditionAny& model_;
};

}  // namespace vandrel
