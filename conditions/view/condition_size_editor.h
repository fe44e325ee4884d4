// The editor of a "Size" row: operator, number (1 to 1024) and unit.
#pragma once

#include "conditions/condition_size.h"
#include "rules/view/kind_editor.h"

namespace vandrel {

class ConditionSizeEditor : public KindEditor {
    Q_OBJECT
  public:
    // model: the row's condition; it must outlive the editor.
    explicit ConditionSizeEditor(ConditionSize& model, QWidget* parent = nullptr);

  private:
    ConditionSize& model_;
};

}  // namespace vandrel
