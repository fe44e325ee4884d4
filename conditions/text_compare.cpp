#include "conditions/text_compare.h"

#include "rules/rule_text.h"

namespace vandrel {

bool CompareByOperator(const QString& op, const QString& upperValue, const QString& upperText) {
    const QString& v = upperValue;
    const QString& t = upperText;
    if (EqualsUpper(op, QLatin1String("IS"))) return v == t;
    if (EqualsUpper(op, QLatin1String("CONTAINS"))) return v.contains(t);
    if (EqualsUpper(op, QLatin1String("STARTS WITH"))) return v.startsWith(t);
    if (EqualsUpper(op, QLatin1String("ENDS WITH"))) return t.size() <= v.size() && v.endsWith(t);
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
