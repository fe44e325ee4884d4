#include "conditions/condition_size.h"

#include <cmath>

#include "conditions/text_compare.h"
#include "rules/evaluation_scope.h"
#include "rules/param_parts.h"
#include "rules/rule_text.h"

namespace vandrel {

namespace {

// How often a size is divided by 1024 for a unit text (any case; anything unknown is GB).
int DivisionsFor(const QString& unitText) {
    const QString u = unitText.toUpper();
    if (u == QLatin1String("BYTE")) return 0;
    if (u == QLatin1String("KB")) return 1;
    if (u == QLatin1String("MB")) return 2;
    return 3;
}

}  // namespace

qint64 ConditionSize::Divided(qint64 bytes, int divisions) {
    // Unit by unit, each rounded: a size in MB is its size in KB divided, not its bytes.
    qint64 value = bytes;
    for (int i = 0; i < divisions; ++i) value = DivideRoundHalfEven(value, 1024);
    return value;
}

qint64 ConditionSize::SizeInUnit(qint64 bytes, const QString& unitText) {
    return Divided(bytes, DivisionsFor(unitText));
}

const ConditionSize::Prepared& ConditionSize::prepared() {
    if (fields_.same(op, unit, number)) return prepared_;
    const QString o = op.toUpper();
    prepared_.op = o == QLatin1String("IS")                ? Op::kIs
                   : o == QLatin1String("IS GREATER THAN") ? Op::kGreater
                   : o == QLatin1String("IS LESS THAN")    ? Op::kLess
                                                           : Op::kNone;
    prepared_.divisions = DivisionsFor(unit);
    // A hand-edited number that is no number makes the condition false.
    bool ok = false;
    const double n = number.trimmed().toDouble(&ok);
    prepared_.limit.reset();
    if (ok && std::isfinite(n) && std::fabs(n) <= 9.0e18)
        prepared_.limit = static_cast<qint64>(std::nearbyint(n));  // halves to even
    return prepared_;
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
    const Prepared& p = prepared();
    if (!p.limit) return false;
    const qint64 value = Divided(bytes, p.divisions);
    switch (p.op) {
        case Op::kIs:
            return value == *p.limit;
        case Op::kGreater:
            return value > *p.limit;
        case Op::kLess:
            return value < *p.limit;
        case Op::kNone:
            break;
    }
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
