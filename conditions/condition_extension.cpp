#include "conditions/condition_extension.h"

#include "rules/rule_text.h"

namespace vandrel {

bool ConditionExtension::DoCheck(const QString& paramList) {
    if (ParamKind(paramList).toUpper() != QLatin1String("FILE")) return false;
    const QString ext = ExtensionPart(ParamPath(paramList)).toUpper();
    const QString o = op.toUpper();
    if (o == QLatin1String("IS")) return ext == text.toUpper();
    if (o == QLatin1String("IS INCLUDED IN")) return text.toUpper().contains(ext);
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
