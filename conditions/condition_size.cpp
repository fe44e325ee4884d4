#include "conditions/condition_size.h"

#include <cmath>

#include "conditions/text_compare.h"
#include "rules/evaluation_scope.h"
#include "rules/param_parts.h"
#include "rules/rule_text.h"

namespace vandrel {

qint64 ConditionSize::SizeInUnit(qint64 bytes, const QString& unitText) {
    const QString u = unitText.toUpper();
    if (u == QLatin1String("BYTE")) return bytes;
    const qint64 kb = DivideRoundHalfEven(bytes, 1024);
    if (u == QLatin1String("KB")) return kb;
    const qint64 mb = DivideRoundHalfEven(kb, 1024);
    if (u == QLatin1String("MB")) return mb;
    return DivideRoundHalfEven(mb, 1024);
}

bool ConditionSize::DoCheck(const QString& paramList) {
    if (!PartsOf(paramList).isFile) return false;
    // Hidden files and anything that is not a regular file never match.
    qint64 bytes = 0;
    const bool isFile =
        WithItemLook(ctx_, paramList, [&bytes](EvaluationScope&, const ItemLook& look) {
            bytes = look.stat().size;
            return look.stat().isFile();
        });
    if (!isFile) return false;
    const qint64 value = SizeInUnit(bytes, unit);

    // A hand-edited number that is no number makes the condition false.
    bool ok = false;
    const double n = number.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(n) || std::fabs(n) > 9.0e18) return false;
    const qint64 limit = static_cast<qint64>(std::nearbyint(n));  // halves to even

    const QString o = op.toUpper();
    if (o == QLatin1String("IS")) return value == limit;
    if (o == QLatin1String("IS GREATER THAN")) return value > limit;
    if (o == QLatin1String("IS LESS THAN")) return value < limit;
    return false;
}

QString ConditionSize::SaveToString() const {
    const QString sep = QString::fromUtf16(kConditionFieldSep);
    return op + sep + unit + sep + number;
}

void ConditionSize::LoadFromString(const QString& payload) {
    const QStringList f = SplitText(payload, kConditionFieldSep);
    op = FieldAt(f, 0);
    unit = FieldAt(f, 1);
    number = FieldAt(f, 2);
}

}  // namespace vandrel
