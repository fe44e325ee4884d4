// The editor of a "Kind" row: the kind box.
#pragma once

#include "conditions/condition_kind.h"
#include "rules/view/kind_editor.h"

namespace vandrel {

class ConditionKindEditor : public KindEditor {
    Q_OBJECT
  public:
    // model: the row's condition; it must outlive the editor.
    explicit ConditionKindEditor(ConditionKind& model, QWidget* parent = nullptr);

  private:
    ConditionKind& model_;
};

}  // namespace vandrel
