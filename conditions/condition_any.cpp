#include "conditions/condition_any.h"

#include "rules/rule_text.h"

namespace vandrel {

QString ConditionAny::SaveToString() const {
    return QStringLiteral("anything") + QString::fromUtf16(kConditionFieldSep) +
           QStringLiteral("anything");
}

}  // namespace vandrel
