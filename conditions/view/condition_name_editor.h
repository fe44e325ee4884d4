// The editor of a "Name" or "Full Name" row: operator box and text.
#pragma once

#include "conditions/condition_name.h"
#include "rules/view/kind_editor.h"

namespace vandrel {

class ConditionNameEditor : public KindEditor {
    Q_OBJECT
  public:
    // model: the row's condition; it must outlive the editor.
    explicit ConditionNameEditor(ConditionName& model, QWidget* parent = nullptr);

  private:
    ConditionName& model_;
};

}  // namespace vandrel
