// "Extension": compares a file's extension with a text ("is") or searches it in a list
// text ("is included in", a plain substring search). Folders never match.
// Payload: operator<|CD|>text.
#pragma once

#include "rules/field_snapshot.h"
#include "rules/i_condition_check.h"

namespace vandrel {

class ConditionExtension : public IConditionCheck {
  public:
    bool DoCheck(const QString& paramList) override;
    QString SaveToString() const override;
    void LoadFromString(const QString& text) override;
    // The editor's operator box: changing it resets the text to "txt,pdf,doc" for
    // "is included in" and to "txt" otherwise.
    void setOperatorFromEditor(const QString& newOp);

    QString op = QStringLiteral("is");
    QString text = QStringLiteral("txt");

  private:
    // op and text as read for comparing: prepared once, again only when they change.
    enum class Op { kNone, kIs, kIncludedIn };
    FieldSnapshot<2> fields_;
    Op op_ = Op::kNone;
    QString upperText_;
};

}  // namespace vandrel
