#include "conditions/view/condition_editor_factory.h"

#include "conditions/view/condition_any_editor.h"
#include "conditions/view/condition_attr_editor.h"
#include "conditions/view/condition_date_editor.h"
#include "conditions/view/condition_extension_editor.h"
#include "conditions/view/condition_in_folder_editor.h"
#include "conditions/view/condition_kind_editor.h"
#include "conditions/view/condition_name_editor.h"
#include "conditions/view/condition_size_editor.h"

namespace vandrel {

namespace {
template <typename Model, typename Editor>
KindEditor* editorIf(IConditionCheck* c) {
    auto* m = dynamic_cast<Model*>(c);
    return m ? new Editor(*m) : nullptr;
}
}  // namespace

KindEditor* CreateConditionEditor(IConditionCheck* c) {
    if (!c) return nullptr;
    using Make = KindEditor* (*)(IConditionCheck*);
    static const Make kMakers[] = {
        editorIf<ConditionName, ConditionNameEditor>,
        editorIf<ConditionExtension, ConditionExtensionEditor>,
        editorIf<ConditionDate, ConditionDateEditor>,
        editorIf<ConditionSize, ConditionSizeEditor>,
        editorIf<ConditionKind, ConditionKindEditor>,
        editorIf<ConditionInFolder, ConditionInFolderEditor>,
        editorIf<ConditionAny, ConditionAnyEditor>,
        editorIf<ConditionAttr, ConditionAttrEditor>,
    };
    for (Make make : kMakers)
        if (KindEditor* e = make(c)) return e;
    return nullptr;
}

}  // namespace vandrel
