#include "actions/view/action_editor_factory.h"

#include "actions/view/action_add_to_editor.h"
#include "actions/view/action_relocate_editor.h"
#include "actions/view/action_rename_editor.h"
#include "actions/view/action_run_editor.h"
#include "actions/view/action_shell_editor.h"

namespace vandrel {

namespace {
template <typename Model, typename Editor>
KindEditor* editorIf(IActionTake* a) {
    auto* m = dynamic_cast<Model*>(a);
    return m ? new Editor(*m) : nullptr;
}
}  // namespace

KindEditor* CreateActionEditor(IActionTake* a) {
    if (!a) return nullptr;
    using Make = KindEditor* (*)(IActionTake*);
    static const Make kMakers[] = {
        editorIf<ActionRelocate, ActionRelocateEditor>, editorIf<ActionRename, ActionRenameEditor>,
        editorIf<ActionShell, ActionShellEditor>,       editorIf<ActionRun, ActionRunEditor>,
        editorIf<ActionAddTo, ActionAddToEditor>,
    };
    for (Make make : kMakers)
        if (KindEditor* e = make(a)) return e;
    return nullptr;
}

}  // namespace vandrel
