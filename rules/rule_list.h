// The ordered list of all rules and the one entry point for applying them to an item:
// the first selected rule whose conditions hold is the only one that acts. Results are
// the rule's title, "no matched rule" or "already in use". Each item is looked at once
// per evaluation (one stat and one in-use answer shared by every condition of every
// rule). Not thread-safe: a batch on another thread works on a copy (clone()).
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "attributes/item_look.h"
#include "rules/engine_context.h"
#include "rules/evaluation_scope.h"
#include "rules/rule.h"
#include "rules/rule_attr.h"

namespace vandrel {

inline constexpr char kNoMatchedRule[] = "no matched rule";
inline constexpr char kAlreadyInUse[] = "already in use";

class RuleList : public IStringStream {
  public:
    explicit RuleList(const EngineContext& ctx);

    std::vector<RuleAttr> GetRuleAttrs() const;
    QString SaveToString() const override;
    // Replaces the rules. Rules whose identities had to be derived from their texts
    // (Rule::LoadFromString) are kept apart from every other rule of the list.
    void LoadFromString(const QString& text) override;
    // What makes a stored rule list unusable ("rule 3: it has 2 of the five parts of a
    // rule"); empty when every rule can be loaded.
    static QString TextProblem(const QString& text);
    // The values the rules could not read, one line per rule and value, each naming the
    // rule by its title.
    QStringList loadProblems() const;
    // The title of the rule that would act on the item, without acting.
    QString DoRulesTest(const QString& path, const QString& selection = QStringLiteral("all"));
    // The same, and the rule's actions are run.
    QString DoRunRules(const QString& path, const QString& selection = QStringLiteral("all")) {
        return RunRules(path, selection).result;
    }
    // DoRunRules telling also whether the acting rule stopped early, and why.
    RunOutcome RunRules(const QString& path, const QString& selection = QStringLiteral("all"));
    // Adds a rule at the top; an empty text adds a new "untitled" rule. Returns it.
    Rule& AddNewRule(const QString& ruleText = QString());

    // Reordering and removal; out-of-range indexes and impossible moves change nothing.
    void OrderUp(int index);
    void OrderDown(int index);
    void RemoveRule(int index);
    // Which of a rule's up, down and close buttons are enabled.
    bool canMoveUp(int index) const;
    bool canMoveDown(int index) const;
    bool canClose(int index) const;

    int ruleCount() const { return static_cast<int>(rules_.size()); }
    Rule& rule(int index) { return *rules_.at(index); }
    const Rule& rule(int index) const { return *rules_.at(index); }
    // Index of the rule with this GUID, or -1.
    int indexOf(const QString& guid) const;

    // An independent copy with the same text and GUIDs (for a batch on another thread).
    std::unique_ptr<RuleList> clone(const EngineContext& ctx) const;
    const EngineContext& context() const { return ctx_; }

    // "file", "folder" or empty (missing, hidden, or neither a regular file nor a folder).
    static QString ItemKind(const QString& path);

  private:
    // Gives a rule with a derived GUID one that no other rule of the list has.
    void makeIdentityUnique(Rule& rule) const;
    // Returns the result text and, for a match, the matching rule and the item's
    // parameter list. look: the evaluation's look at the item.
    QString findRule(const ItemLook& look, const QString& selection, Rule** match,
                     QString* params = nullptr);

    std::unique_ptr<EvaluationScope> scope_;  // before ctx_, which points at it
    EngineContext ctx_;
    std::vector<std::unique_ptr<Rule>> rules_;
};

}  // namespace vandrel
