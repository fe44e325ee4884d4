#include "conditions/condition_extension.h"

#include "conditions/text_compare.h"
#include "rules/param_parts.h"
#include "rules/rule_text.h"

namespace vandrel {

bool ConditionExtension::DoCheck(const QString& paramList) {
    const ParamParts& item = PartsOf(paramList);
    if (!item.isFile) return false;
    if (!fields_.same(op, text)) {
        op_ = EqualsUpper(op, QLatin1String("IS"))               ? Op::kIs
              : EqualsUpper(op, QLatin1String("IS INCLUDED IN")) ? Op::kIncludedIn
                                                                 : Op::kNone;
        upperText_ = text.toUpper();
    }
    const QString& ext = item.upperExtension;
    if (op_ == Op::kIs) return ext == upperText_;
    if (op_ == Op::kIncludedIn) return ContainsText(upperText_, ext);
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
