// "Kind": sorts items into named kinds by built-in extension lists ("Office Document",
// "Plain Text", "Music", "Video", "Image", "Shortcut") or "Folder".
// Payload: kind<|CD|>forkind.
#pragma once

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
};

}  // namespace vandrel
