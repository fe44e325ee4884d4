// Keeps a text field free of the rule text's separator tokens and of line breaks, as the
// user types or pastes, so a saved rule always splits back into the same parts.
#pragma once

class QLineEdit;

namespace vandrel {

// Cleans the field on every edit by the user, keeping the caret where the text was. Models
// strip the same characters from what they store.
void GuardTypedText(QLineEdit* field);

}  // namespace vandrel
