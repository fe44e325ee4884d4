#include "conditions/condition_attr.h"

#include "attributes/attribute_helper.h"
#include "conditions/text_compare.h"
#include "platform/upper_text.h"
#include "rules/evaluation_scope.h"
#include "rules/param_parts.h"
#include "rules/rule_text.h"

namespace vandrel {

void ConditionAttr::setAttribute(const QString& name) { attr_ = StripSeparators(name); }
void ConditionAttr::setOperator(const QString& op) { op_ = StripSeparators(op); }
void ConditionAttr::setText(const QString& text) { text_ = StripSeparators(text); }

QString ConditionAttr::SaveToString() const {
    const QString sep = QString::fromUtf16(kConditionFieldSep);
    return attr_ + sep + op_ + sep + text_;
}

void ConditionAttr::LoadFromString(const QString& text) {
    const QStringList f = SplitText(text, kConditionFieldSep);
    attr_ = FieldAt(f, 0);
    op_ = FieldAt(f, 1);
    text_ = FieldAt(f, 2);
}

bool ConditionAttr::DoCheck(const QString& paramList) {
    if (!fields_.same(attr_, op_, text_)) {
        attrId_ = AttributeHelper::AttrId(attr_);
        textOp_ = TextOperatorOf(op_);
        upperText_ = text_.toUpper();
    }
    QString value;
    if (PartsOf(paramList).isFile && ctx_.attributes) {
        // A damaged file gives the placeholder or the empty text (the readers never
        // raise). The evaluation's look: the file is neither looked at nor parsed again.
        WithItemLook(ctx_, paramList, [this, &value](EvaluationScope&, const ItemLook& look) {
            value = ctx_.attributes->GetAttrValue(attrId_, look);
            return true;
        });
    }
    if (value.isEmpty()) return false;
    if (!value.isSharedWith(lastValue_)) {
        lastValue_ = value;
        lastUpperValue_ = UpperCased(value);
    }
    return CompareByOperator(textOp_, lastUpperValue_, upperText_);
}

}  // namespace vandrel
