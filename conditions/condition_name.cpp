#include "conditions/condition_name.h"

#include "conditions/text_compare.h"
#include "rules/rule_text.h"

namespace vandrel {

bool ConditionName::DoCheck(const QString& paramList) {
    const QString kind = ParamKind(paramList).toUpper();
    const QString path = ParamPath(paramList);
    QString name;
    if (kind == QLatin1String("FILE"))
        name = fullNameMode ? FileNamePart(path) : BaseNamePart(path);
    else if (kind == QLatin1String("FOLDER"))
        name = FileNamePart(path);
    return CompareByOperator(op, name, text);
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
