#include "folders/rules_selector_model.h"

#include "rules/rule_text.h"

namespace vandrel {

namespace {
const QLatin1String kOpen("<guid>");
const QLatin1String kClose("</guid>");
}  // namespace

QString MakeRuleSelection(const QStringList& guids) {
    QString out;
    for (const QString& g : guids) out += kOpen + g + kClose;
    return out;
}

QStringList SelectionGuids(const QString& selection) {
    QStringList out;
    if (selection == QLatin1String(kAllRules)) return out;
    qsizetype pos = 0;
    while (true) {
        const qsizetype open = selection.indexOf(kOpen, pos);
        if (open < 0) break;
        const qsizetype start = open + kOpen.size();
        const qsizetype close = selection.indexOf(kClose, start);
        if (close < 0) break;
        out << selection.mid(start, close - start);
        pos = close + kClose.size();
    }
    return out;
}

void RulesSelectorModel::SetCurRuleAttrs(const std::vector<RuleAttr>& rules) {
    boxes_.clear();
    boxes_.reserve(rules.size());
    for (const RuleAttr& r : rules) boxes_.push_back({r.ruleTitle, r.ruleGUID, false});
    hasBoxes_ = true;
    allRules_ = ruleSelection_ == QLatin1String(kAllRules);
    for (RuleBox& b : boxes_) b.checked = IsRuleSelected(b.guid, ruleSelection_);
    CollectSelection();
}

void RulesSelectorModel::ClickAllRules(bool checked) {
    allRules_ = checked;
    for (RuleBox& b : boxes_) b.checked = checked;
    CollectSelection();
}

void RulesSelectorModel::ClickRule(int index, bool checked) {
    if (index < 0 || index >= static_cast<int>(boxes_.size())) return;
    boxes_[static_cast<size_t>(index)].checked = checked;
    // Ticking every rule by hand deliberately leaves "Apply all rules" unticked: the
    // folder then keeps to today's rules and does not pick up rules added later.
    if (!checked) allRules_ = false;
    CollectSelection();
}

void RulesSelectorModel::CollectSelection() {
    if (allRules_) {
        ruleSelection_ = QString::fromLatin1(kAllRules);
        return;
    }
    QString out;
    for (const RuleBox& b : boxes_)
        if (b.checked) out += kOpen + b.guid + kClose;
    ruleSelection_ = out;
}

}  // namespace vandrel
