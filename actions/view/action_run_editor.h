// The editor of a "Run" row: the application and, under "Adv.", the parameters pattern.
#pragma once

#include "actions/action_run.h"
#include "rules/view/kind_editor.h"

namespace vandrel {

class ActionRunEditor : public KindEditor {
    Q_OBJECT
  public:
    // model: the row's action; it must outlive the editor.
    explicit ActionRunEditor(ActionRun& model, QWidget* parent = nullptr);
    int raisedHeight() const override { return 1500; }

  private:
    ActionRun& model_;
};

}  // namespace vandrel
