// The editor of a "Rename" row: the new-name pattern and, under "Adv.", the conflict rule.
#pragma once

#include "actions/action_rename.h"
#include "rules/view/kind_editor.h"

namespace vandrel {

class ActionRenameEditor : public KindEditor {
    Q_OBJECT
  public:
    // model: the row's action; it must outlive the editor.
    explicit ActionRenameEditor(ActionRename& model, QWidget* parent = nullptr);
    int raisedHeight() const override { return 1500; }

  private:
    ActionRename& model_;
};

}  // namespace vandrel
