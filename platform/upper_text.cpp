#include "platform/upper_text.h"

namespace vandrel {

QString UpperCased(const QString& text) {
    // The upper case of an ASCII letter is its ASCII capital and no other ASCII character
    // changes, whatever the locale; anything beyond ASCII goes to Qt's full rules. One pass
    // writes the capitals while it checks that the text is ASCII.
    const char16_t* s = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype n = text.size();
    QString upper(n, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(upper.data());
    bool changed = false;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (c >= 0x80) return text.toUpper();
        const bool lower = static_cast<unsigned>(c - u'a') < 26u;
        changed |= lower;
        out[i] = static_cast<char16_t>(c - (lower ? 0x20 : 0));
    }
    // Unchanged text is handed back shared, as Qt's own upper-casing does.
    return changed ? upper : text;
}

}  // namespace vandrel
