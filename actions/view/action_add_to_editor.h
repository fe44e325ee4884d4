// The editor of an "Add Path to" row: the list file.
#pragma once

#include "actions/action_add_to.h"
#include "rules/view/kind_editor.h"

namespace vandrel {

class ActionAddToEditor : public KindEditor {
    Q_OBJECT
  public:
    // model: the row's action; it must outlive the editor.
    explicit ActionAddToEditor(ActionAddTo& model, QWidget* parent = nullptr);

  private:
    ActionAddTo& model_;
};

}  // namespace vandrel
