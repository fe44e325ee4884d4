// The rule selection of one watched folder: the "Apply all rules" box and one box per
// rule, and the selection text they produce ("all" or a run of <guid>GUID</guid>).
// The selector view draws these boxes and forwards clicks here. Not thread-safe; owned
// by its folder.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "rules/rule_attr.h"

namespace vandrel {

// The selection text that selects every rule.
inline constexpr char kAllRules[] = "all";

// Builds a selection text from rule GUIDs, in the given order.
QString MakeRuleSelection(const QStringList& guids);
// The GUIDs named by a selection text, in text order; empty for "all" and for "".
QStringList SelectionGuids(const QString& selection);

class RulesSelectorModel {
  public:
    struct RuleBox {
        QString title;  // the box's caption
        QString guid;   // the box's tag
        bool checked = false;
    };

    // Sets the selection text; the boxes are not touched.
    void LoadFromString(const QString& text) { ruleSelection_ = text; }
    QString SaveToString() const { return ruleSelection_; }

    // Rebuilds the boxes for the given rules, ticks them from the selection and collects
    // the selection again, so GUIDs of rules that no longer exist are forgotten.
    void SetCurRuleAttrs(const std::vector<RuleAttr>& rules);

    // A click on "Apply all rules" that leaves it in state checked: every rule box
    // follows it.
    void ClickAllRules(bool checked);
    // A click on the box of rule index (0-based) that leaves it in state checked;
    // unticking it unticks "Apply all rules". Out-of-range indexes change nothing.
    void ClickRule(int index, bool checked);

    // True once SetCurRuleAttrs has built the boxes.
    bool hasBoxes() const { return hasBoxes_; }
    bool allRulesChecked() const { return allRules_; }
    const std::vector<RuleBox>& ruleBoxes() const { return boxes_; }

  private:
    void CollectSelection();

    QString ruleSelection_ = QString::fromLatin1(kAllRules);
    bool hasBoxes_ = false;
    bool allRules_ = true;
    std::vector<RuleBox> boxes_;
};

}  // namespace vandrel
