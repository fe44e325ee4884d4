#include "conditions/condition_name.h"

#include "conditions/text_compare.h"
#include "rules/param_parts.h"
#include "rules/rule_text.h"

namespace vandrel {

bool ConditionName::DoCheck(const QString& paramList) {
    const ParamParts& item = PartsOf(paramList);
    QString name;
    if (item.isFile)
        name = fullNameMode ? item.upperFileName : item.upperBaseName;
    else if (item.isFolder)
        name = item.upperFileName;
    return CompareByOperator(op, name, upperText_.of(text));
}

QString ConditionName::SaveToString() const {
    return op + QString::fromUtf16(kConditionFieldSep) + text;
}

void ConditionName::LoadFromString(const QString& payload) {
    const QStringList f = SplitText(payload, kConditionFieldSep);
    op = FieldAt(f, 0);
    text = FieldAt(f, 1);
}

}  // namespace vandrel
