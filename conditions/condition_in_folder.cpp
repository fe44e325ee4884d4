#include "conditions/condition_in_folder.h"

#include "rules/param_parts.h"
#include "rules/rule_text.h"

namespace vandrel {

bool ConditionInFolder::DoCheck(const QString& paramList) {
    return PartsOf(paramList).upperPath().startsWith(upperFolder_.of(folder));
}

QString ConditionInFolder::SaveToString() const {
    return folder + QString::fromUtf16(kConditionFieldSep) + QStringLiteral("forinfolder");
}

void ConditionInFolder::LoadFromString(const QString& payload) {
    folder = FieldAt(SplitText(payload, kConditionFieldSep), 0);
}

}  // namespace vandrel
