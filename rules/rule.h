// One rule: title, match mode ("All"/"Any"), condition rows, action rows and GUID. It
// judges an item (JustDoCheck) and acts on it (CheckAndTake), committing the action
// records to the log under its title. Not thread-safe; a batch works on its own copy.
#pragma once

#include <QString>

#include "rules/action_list.h"
#include "rules/condition_list.h"
#include "rules/engine_context.h"
#include "rules/rule_text.h"
#include "rules/run_outcome.h"

namespace vandrel {

class Rule : public IStringStream {
  public:
    explicit Rule(const EngineContext& ctx);

    const QString& ruleGUID() const { return ruleGUID_; }
    const QString& ruleTitle() const { return title_; }
    QString GetRuleTitle() const { return title_; }

    const QString& matchMode() const { return matchMode_; }
    // Editor input: separator tokens and line breaks are removed.
    void setTitle(const QString& title);
    void setMatchMode(const QString& mode) {
        matchMode_ = mode;
        allMode_ = EqualsUpper(matchMode_, QLatin1String("ALL"));
    }

    ConditionList& conditions() { return conditions_; }
    const ConditionList& conditions() const { return conditions_; }
    ActionList& actions() { return actions_; }
    const ActionList& actions() const { return actions_; }

    // True when the conditions hold: all of them ("All", any case) or any one of them
    // (any other text), short-circuiting in row order. No conditions: false.
    bool JustDoCheck(const QString& paramList);
    // When the conditions hold, runs the actions in row order, each receiving the list
    // returned by the previous one, commits the log records under the title and returns
    // the last list. Otherwise returns the empty text.
    QString CheckAndTake(const QString& paramList) { return TakeActions(paramList).paramList; }
    // CheckAndTake telling how it went: when a move, copy or rename did not take place the
    // rule's remaining actions are not run on the item (a later step must never act on
    // the original instead of the copy, say); the earlier steps stay done and logged.
    // result is the title when the conditions held, else empty.
    RunOutcome TakeActions(const QString& paramList);
    void SetActionObserver(void* observer) { (void)observer; }

    QString SaveToString() const override;
    // Loads a rule text. A GUID part that is missing or not a GUID gives an identity
    // derived from the rule's other parts, so that the same text always gets the same
    // identity and folder selections keep naming it across runs.
    void LoadFromString(const QString& text) override;
    // True when the last load derived the GUID from the text.
    bool guidDerived() const { return guidDerived_; }
    // Derives the GUID again with a salt (the list's way of parting two rules whose
    // derived identities meet); the same text and salt always give the same GUID.
    void deriveGuid(int salt);
    // What a stored rule text lacks to be loaded as a rule ("it has 2 of the five
    // parts"); empty when it can be loaded.
    static QString TextProblem(const QString& text);
    // Stored values the rule's conditions could not read (kept as they are, the
    // condition false meanwhile), for the user; empty when all were read.
    QStringList loadProblems() const;

  private:
    EngineContext ctx_;
    QString title_;
    QString matchMode_;
    bool allMode_ = true;  // matchMode_ reads "All": worked out when it is set
    ConditionList conditions_;
    ActionList actions_;
    QString ruleGUID_;
    QString identityText_;  // the parts a derived GUID comes from
    bool guidDerived_ = false;
};

}  // namespace vandrel
