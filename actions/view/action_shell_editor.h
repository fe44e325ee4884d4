// The editor of an "Open" or "Print" row: whether to ask first.
#pragma once

#include "actions/action_shell.h"
#include "rules/view/kind_editor.h"

namespace vandrel {

class ActionShellEditor : public KindEditor {
    Q_OBJECT
  public:
    // model: the row's action; it must outlive the editor.
    explicit ActionShellEditor(ActionShell& model, QWidget* parent = nullptr);

  private:
    ActionShell& model_;
};

}  // namespace vandrel
