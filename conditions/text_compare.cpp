#include "conditions/text_compare.h"

#include <algorithm>

#include "rules/rule_text.h"

namespace vandrel {

TextOperator TextOperatorOf(const QString& op) {
    if (EqualsUpper(op, QLatin1String("IS"))) return TextOperator::kIs;
    if (EqualsUpper(op, QLatin1String("CONTAINS"))) return TextOperator::kContains;
    if (EqualsUpper(op, QLatin1String("STARTS WITH"))) return TextOperator::kStartsWith;
    if (EqualsUpper(op, QLatin1String("ENDS WITH"))) return TextOperator::kEndsWith;
    return TextOperator::kNone;
}

bool CompareByOperator(const QString& op, const QString& upperValue, const QString& upperText) {
    return CompareByOperator(TextOperatorOf(op), upperValue, upperText);
}

bool CompareByOperator(TextOperator op, const QString& upperValue, const QString& upperText) {
    const QString& v = upperValue;
    const QString& t = upperText;
    switch (op) {
        case TextOperator::kIs:
            return v == t;
        case TextOperator::kContains:
            return ContainsText(v, t);
        case TextOperator::kStartsWith:
            return v.startsWith(t);
        case TextOperator::kEndsWith:
            return t.size() <= v.size() && v.endsWith(t);
        case TextOperator::kNone:
            break;
    }
    return false;
}

bool ContainsText(QStringView haystack, QStringView needle) {
    const qsizetype n = needle.size();
    if (n == 0) return true;
    if (n > haystack.size()) return false;
    const QChar* h = haystack.data();
    const QChar* s = needle.data();
    const QChar* last = h + (haystack.size() - n);
    for (const QChar* p = h; p <= last; ++p)
        if (*p == s[0] && std::equal(s + 1, s + n, p + 1)) return true;
    return false;
}

qint64 DivideRoundHalfEven(qint64 value, qint64 divisor) {
    // Sizes are never negative here; integer arithmetic keeps 64-bit sizes exact.
    const qint64 q = value / divisor;
    const qint64 twiceRest = (value % divisor) * 2;
    if (twiceRest > divisor) return q + 1;
    if (twiceRest == divisor) return q + (q & 1);
    return q;
}

}  // namespace vandrel
