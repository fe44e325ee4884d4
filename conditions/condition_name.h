// "Name" / "Full Name": compares the item's name (without or with its extension; a
// folder's own name in both modes) with a text. Payload: operator<|CD|>text.
#pragma once

#include "conditions/text_compare.h"
#include "rules/field_snapshot.h"
#include "rules/i_condition_check.h"

namespace vandrel {

class ConditionName : public IConditionCheck {
  public:
    bool fullNameMode = false;  // set from the selector text, never stored

    bool DoCheck(const QString& paramList) override;
    QString SaveToString() const override;
    void LoadFromString(const QString& text) override;

    QString op = QStringLiteral("is");
    QString text;

  private:
    // op and text as read for comparing: prepared once, again only when they change.
    FieldSnapshot<2> fields_;
    TextOperator op_ = TextOperator::kNone;
    QString upperText_;
};

}  // namespace vandrel
