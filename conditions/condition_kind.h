// "Kind": sorts items into named kinds by built-in extension lists ("Office Document",
// "Plain Text", "Music", "Video", "Image", "Shortcut") or "Folder".
// Payload: kind<|CD|>forkind.
#pragma once

#include "rules/field_snapshot.h"
#include "rules/i_condition_check.h"

namespace vandrel {

class ConditionKind : public IConditionCheck {
  public:
    bool DoCheck(const QString& paramList) override;
    QString SaveToString() const override;
    void LoadFromString(const QString& text) override;

    // The kind entries in display order.
    static QStringList kindEntries();

    QString kind = QStringLiteral("Office Document");

  private:
    // kind as read for testing: a position in the built-in lists, kFolder or kUnknown;
    // prepared once, again only when kind changes.
    static constexpr int kFolder = -1;
    static constexpr int kUnknown = -2;
    FieldSnapshot<1> fields_;
    int kindIndex_ = kUnknown;
};

}  // namespace vandrel
