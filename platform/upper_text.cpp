#include "platform/upper_text.h"

namespace vandrel {

QString UpperCased(const QString& text) {
    // The upper case of an ASCII letter is its ASCII capital and no other ASCII character
    // changes, whatever the locale; anything beyond ASCII goes to Qt's full rules.
    const QChar* s = text.constData();
    const qsizetype n = text.size();
    qsizetype firstLower = -1;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i].unicode();
        if (c >= 0x80) return text.toUpper();
        if (firstLower < 0 && c >= u'a' && c <= u'z') firstLower = i;
    }
    if (firstLower < 0) return text;
    QString upper(n, Qt::Uninitialized);
    QChar* out = upper.data();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i].unicode();
        out[i] = QChar(c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - (u'a' - u'A')) : c);
    }
    return upper;
}

}  // namespace vandrel
