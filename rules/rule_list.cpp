#include "rules/rule_list.h"

#include "attributes/item_stat.h"
#include "platform/file_in_use.h"
#include "platform/module_check_file.h"

namespace vandrel {

namespace {

// Hidden entries, FIFOs, sockets and devices are never organised.
QString KindOf(const EntryInfo& item) {
    if (item.isFile()) return QStringLiteral("file");
    if (item.isFolder()) return QStringLiteral("folder");
    return QString();
}

}  // namespace

namespace {

EngineContext WithScope(EngineContext ctx, EvaluationScope* scope) {
    ctx.evaluation = scope;
    return ctx;
}

}  // namespace

RuleList::RuleList(const EngineContext& ctx)
    : scope_(std::make_unique<EvaluationScope>(ctx.clockOrSystem())),
      ctx_(WithScope(ctx, scope_.get())) {}

std::vector<RuleAttr> RuleList::GetRuleAttrs() const {
    std::vector<RuleAttr> out;
    out.reserve(rules_.size());
    for (const auto& r : rules_) out.push_back({r->ruleTitle(), r->ruleGUID()});
    return out;
}

QString RuleList::SaveToString() const {
    QStringList texts;
    for (const auto& r : rules_) texts << r->SaveToString();
    return texts.join(QString::fromUtf16(kRuleListSep));
}

void RuleList::LoadFromString(const QString& text) {
    rules_.clear();
    if (text.isEmpty()) return;
    const QStringList pieces = SplitText(text, kRuleListSep);
    rules_.reserve(pieces.size());
    for (const QString& piece : pieces) {
        auto rule = std::make_unique<Rule>(ctx_);
        rule->LoadFromString(piece);
        makeIdentityUnique(*rule);
        rules_.push_back(std::move(rule));
    }
}

void RuleList::makeIdentityUnique(Rule& rule) const {
    if (!rule.guidDerived()) return;
    // Salted in turn, so that the same list text gives the same identities every time.
    for (int salt = 1; indexOf(rule.ruleGUID()) >= 0; ++salt) rule.deriveGuid(salt);
}

QString RuleList::TextProblem(const QString& text) {
    if (text.isEmpty()) return QString();
    const QStringList pieces = SplitText(text, kRuleListSep);
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const QString problem = Rule::TextProblem(pieces.at(i));
        if (!problem.isEmpty()) return QStringLiteral("rule %1: %2").arg(i + 1).arg(problem);
    }
    return QString();
}

QStringList RuleList::loadProblems() const {
    QStringList out;
    for (const auto& r : rules_)
        for (const QString& p : r->loadProblems())
            out << QStringLiteral("rule \"%1\": %2").arg(r->ruleTitle(), p);
    return out;
}

QString RuleList::ItemKind(const QString& path) { return KindOf(StatItem(path)); }

QString RuleList::findRule(const ItemLook& look, const QString& selection, Rule** match,
                           QString* matchParams) {
    *match = nullptr;
    const QString& path = look.path();
    const EntryInfo& item = look.stat();
    const QString kind = KindOf(item);
    if (kind.isEmpty()) return QString::fromLatin1(kNoMatchedRule);
    if (ctx_.inUse) {
        // A file is asked about by the identity its stat just gave.
        const bool free = item.isFile() ? !ctx_.inUse->isInUse(item.dev, item.ino)
                                        : IsFolderFree(path, ctx_.inUse, ctx_.fs);
        if (!free) return QString::fromLatin1(kAlreadyInUse);
    }
    const QString params = MakeParamList(kind, path);
    const EvaluationScope::Active evaluation(*scope_, params, look);
    const bool everyRule = selection == QLatin1String("all");
    for (const auto& r : rules_) {
        if (!everyRule && !IsRuleSelected(r->ruleGUID(), selection)) continue;
        if (r->JustDoCheck(params)) {
            *match = r.get();
            if (matchParams) *matchParams = params;
            return r->GetRuleTitle();
        }
    }
    return QString::fromLatin1(kNoMatchedRule);
}

QString RuleList::DoRulesTest(const QString& path, const QString& selection) {
    Rule* match = nullptr;
    const ItemLook look = ItemLook::Take(path, ctx_.fileSystem());
    return findRule(look, selection, &match);
}

RunOutcome RuleList::RunRules(const QString& path, const QString& selection) {
    Rule* match = nullptr;
    QString params;
    const ItemLook look = ItemLook::Take(path, ctx_.fileSystem());
    const QString result = findRule(look, selection, &match, &params);
    RunOutcome out;
    if (match) {
        // The second check sees the same look, and reads the clock afresh: a time limit
        // crossed in between still stops the actions. The actions themselves look again.
        const EvaluationScope::Active recheck(*scope_, params, look);
        out = match->TakeActions(params);
    }
    // The answer is the title found by the test, also when the second check no longer
    // holds (nothing then ran).
    out.result = result;
    return out;
}

Rule& RuleList::AddNewRule(const QString& ruleText) {
    auto rule = std::make_unique<Rule>(ctx_);
    if (!ruleText.isEmpty()) {
        rule->LoadFromString(ruleText);
        makeIdentityUnique(*rule);
    }
    rules_.insert(rules_.begin(), std::move(rule));
    return *rules_.front();
}

void RuleList::OrderUp(int index) {
    if (index <= 0 || index >= ruleCount()) return;
    std::swap(rules_[index], rules_[index - 1]);
}

void RuleList::OrderDown(int index) {
    if (index < 0 || index + 1 >= ruleCount()) return;
    std::swap(rules_[index], rules_[index + 1]);
}

void RuleList::RemoveRule(int index) {
    if (index < 0 || index >= ruleCount()) return;
    rules_.erase(rules_.begin() + index);
}

bool RuleList::canMoveUp(int index) const { return ruleCount() > 1 && index > 0; }
bool RuleList::canMoveDown(int index) const {
    // The first rule of the list keeps "down" enabled even when it is also the last
    // (that case is the single rule, where everything is off).
    return ruleCount() > 1 && (index == 0 || index + 1 < ruleCount());
}
bool RuleList::canClose(int) const { return ruleCount() > 1; }

int RuleList::indexOf(const QString& guid) const {
    for (int i = 0; i < ruleCount(); ++i)
        if (rules_[i]->ruleGUID() == guid) return i;
    return -1;
}

std::unique_ptr<RuleList> RuleList::clone(const EngineContext& ctx) const {
    auto copy = std::make_unique<RuleList>(ctx);
    copy->LoadFromString(SaveToString());
    return copy;
}

}  // namespace vandrel
