// Creates the editor widget for a condition row's object, by the object's kind.
#pragma once

namespace vandrel {

class IConditionCheck;
class KindEditor;

// Null for a null condition (a row whose selector names no kind).
KindEditor* CreateConditionEditor(IConditionCheck* condition);

}  // namespace vandrel
