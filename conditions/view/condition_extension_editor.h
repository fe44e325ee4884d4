// The editor of an "Extension" row: operator box and text (reset when the operator changes).
#pragma once

#include "conditions/condition_extension.h"
#include "rules/view/kind_editor.h"

namespace vandrel {

class ConditionExtensionEditor : public KindEditor {
    Q_OBJECT
  public:
    // model: the row's condition; it must outlive the editor.
    explicit ConditionExtensionEditor(ConditionExtension& model, QWidget* parent = nullptr);

  private:
    ConditionExtension& model_;
};

}  // namespace vandrel
