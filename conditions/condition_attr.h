// "Other Attribute": compares one attribute of a file's contents (an MP3 tag, an office
// document property, a photo's camera data) with a text, without regard to case. A file
// without the value, a folder, or a failed read never matches. Not thread-safe.
#pragma once

#include <QString>

#include "conditions/text_compare.h"
#include "rules/engine_context.h"
#include "rules/field_snapshot.h"
#include "rules/i_condition_check.h"

namespace vandrel {

class ConditionAttr final : public IConditionCheck {
  public:
    explicit ConditionAttr(const EngineContext& ctx) : ctx_(ctx) {}

    // Payload: attribute name <|CD|> operator <|CD|> text.
    QString SaveToString() const override;
    void LoadFromString(const QString& text) override;
    // "is", "contains", "starts with", "ends with" (any case); false for anything else.
    // No attribute reader given: every value is empty, so nothing matches.
    bool DoCheck(const QString& paramList) override;

    // Editor and command-line input (separator tokens and line breaks removed).
    void setAttribute(const QString& name);
    void setOperator(const QString& op);
    void setText(const QString& text);
    const QString& attribute() const { return attr_; }
    const QString& op() const { return op_; }
    const QString& text() const { return text_; }

  private:
    EngineContext ctx_;
    QString attr_ = QStringLiteral("mp3.title");
    QString op_ = QStringLiteral("is");
    QString text_;
    // The attribute, operator and text as read for comparing: prepared once, again only
    // when one of them changes.
    FieldSnapshot<3> fields_;
    int attrId_ = -1;
    TextOperator textOp_ = TextOperator::kNone;
    QString upperText_;
    // The last value compared and its upper-cased form: most items give the same
    // placeholder text ("noartist"), upper-cased once.
    QString lastValue_;
    QString lastUpperValue_;
};

}  // namespace vandrel
