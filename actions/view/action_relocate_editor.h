// The editor of a "Move to" or "Copy to" row: the destination folder and, under "Adv.", the
// subfolder pattern and the conflict rule.
#pragma once

#include "actions/action_relocate.h"
#include "rules/view/kind_editor.h"

namespace vandrel {

class ActionRelocateEditor : public KindEditor {
    Q_OBJECT
  public:
    // model: the row's action; it must outlive the editor.
    explicit ActionRelocateEditor(ActionRelocate& model, QWidget* parent = nullptr);
    int raisedHeight() const override { return 1800; }

  private:
    ActionRelocate& model_;
};

}  // namespace vandrel
