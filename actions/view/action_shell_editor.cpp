#include "actions/view/action_shell_editor.h"

#include "controls/standard/wex_check.h"
#include "rules/view/editor_fields.h"

namespace vandrel {

ActionShellEditor::ActionShellEditor(ActionShell& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* confirm = MakeCheck(this, QStringLiteral("chkConfirm"),
                              QStringLiteral("Ask for confirmation"), model.confirm());
    PlaceField(confirm, 60, 0, 3800);
    connect(confirm, &wexcontrols::WexCheck::Click, this,
            [this, confirm] { model_.setConfirm(confirm->Value() == 1); });
}

}  // namespace vandrel
