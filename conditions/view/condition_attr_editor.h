// The editor of an "Other Attribute" row: attribute, operator and text.
#pragma once

#include "conditions/condition_attr.h"
#include "rules/view/kind_editor.h"

namespace vandrel {

class ConditionAttrEditor : public KindEditor {
    Q_OBJECT
  public:
    // model: the row's condition; it must outlive the editor.
    explicit ConditionAttrEditor(ConditionAttr& model, QWidget* parent = nullptr);

  private:
    ConditionAttr& model_;
};

}  // namespace vandrel
