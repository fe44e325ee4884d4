// Creates the editor widget for an action row's object, by the object's kind.
#pragma once

namespace vandrel {

class IActionTake;
class KindEditor;

// Null for a null action (a row whose selector names no kind).
KindEditor* CreateActionEditor(IActionTake* action);

}  // namespace vandrel
