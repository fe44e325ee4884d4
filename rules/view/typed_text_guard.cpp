#include "rules/view/typed_text_guard.h"

#include <QLineEdit>

#include "rules/rule_text.h"

namespace vandrel {

void GuardTypedText(QLineEdit* field) {
    QObject::connect(field, &QLineEdit::textEdited, field, [field](const QString& text) {
        const QString clean = StripSeparators(text);
        if (clean == text) return;
        // Keep the caret after what stays of the text before it.
        const int caret =
            static_cast<int>(StripSeparators(text.left(field->cursorPosition())).size());
        // setText raises no textEdited, so the editors' own handlers (which store the
        // cleaned text in their model) see only the user's edit.
        field->setText(clean);
        field->setCursorPosition(caret);
    });
}

}  // namespace vandrel
