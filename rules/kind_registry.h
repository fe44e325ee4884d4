// The condition and action kinds, keyed by the upper-cased selector text, each with its
// class identifier and a factory that applies the settings implied by the selector
// (whole-name mode, date attribute, shell verb). Adding a kind is one class plus one line
// in the table. Immutable after start-up; safe from any thread.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "rules/engine_context.h"
#include "rules/i_action_take.h"
#include "rules/i_condition_check.h"

namespace vandrel {

template <typename Interface>
struct KindEntry {
    QString key;      // upper-case selector text
    QString classId;  // "Corvane.ConditionName"
    std::function<std::unique_ptr<Interface>(const EngineContext&)> create;
};

using ConditionKindEntry = KindEntry<IConditionCheck>;
using ActionKindEntry = KindEntry<IActionTake>;

class KindRegistry {
  public:
    static const KindRegistry& instance();

    // The entry whose key equals the upper-cased selector text; null when none does.
    const ConditionKindEntry* findCondition(const QString& selectorText) const;
    const ActionKindEntry* findAction(const QString& selectorText) const;
    // Overloads used by the row lists.
    const ConditionKindEntry* find(const QString& s, const IConditionCheck*) const {
        return findCondition(s);
    }
    const ActionKindEntry* find(const QString& s, const IActionTake*) const {
        return findAction(s);
    }

    // Selector entries offered to the user, in display order.
    static QStringList conditionSelectorEntries();
    static QStringList actionSelectorEntries();

  private:
    KindRegistry();
    std::vector<ConditionKindEntry> conditions_;
    std::vector<ActionKindEntry> actions_;
};

}  // namespace vandrel
