#include "conditions/condition_name.h"

#include "conditions/text_compare.h"
#include "rules/param_parts.h"
#include "rules/rule_text.h"

namespace vandrel {

bool ConditionName::DoCheck(const QString& paramList) {
    const ParamParts& item = PartsOf(paramList);
    if (!fields_.same(op, text)) {
        op_ = TextOperatorOf(op);
        upperText_ = text.toUpper();
    }
    static const QString kNoName;
    const QString& name = item.isFile     ? (fullNameMode ? item.upperFileName : item.upperBaseName)
                          : item.isFolder ? item.upperFileName
                                          : kNoName;
    return CompareByOperator(op_, name, upperText_);
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
