#include "conditions/condition_extension.h"

#include "rules/param_parts.h"
#include "rules/rule_text.h"

namespace vandrel {

bool ConditionExtension::DoCheck(const QString& paramList) {
    const ParamParts& item = PartsOf(paramList);
    if (!item.isFile) return false;
    const QString& ext = item.upperExtension;
    if (EqualsUpper(op, QLatin1String("IS"))) return ext == upperText_.of(text);
    if (EqualsUpper(op, QLatin1String("IS INCLUDED IN"))) return upperText_.of(text).contains(ext);
    return false;
}

QString ConditionExtension::SaveToString() const {
    return op + QString::fromUtf16(kConditionFieldSep) + text;
}

void ConditionExtension::LoadFromString(const QString& payload) {
    const QStringList f = SplitText(payload, kConditionFieldSep);
    op = FieldAt(f, 0);
    text = FieldAt(f, 1);
}

void ConditionExtension::setOperatorFromEditor(const QString& newOp) {
    op = newOp;
    text = newOp == QLatin1String("is included in") ? QStringLiteral("txt,pdf,doc")
                                                     : QStringLiteral("txt");
}

}  // namespace vandrel
