#include "rules/rule.h"

#include "log/log_manager.h"

namespace vandrel {

Rule::Rule(const EngineContext& ctx)
    : ctx_(ctx),
      title_(QStringLiteral("untitled")),
      matchMode_(QStringLiteral("All")),
      conditions_(ctx),
      actions_(ctx),
      ruleGUID_(NewRuleGuid()) {}

void Rule::setTitle(const QString& title) { title_ = StripSeparators(title); }

bool Rule::JustDoCheck(const QString& paramList) {
    // Walks the rows in place: this runs for every rule and every item.
    const bool all = allMode_;
    bool any = false;
    for (const auto& row : conditions_.rows()) {
        if (!row.object) continue;
        any = true;
        const bool holds = row.object->DoCheck(paramList);
        if (all && !holds) return false;
        if (!all && holds) return true;
    }
    // No conditions never match; otherwise all mode got through, any mode found none.
    return any && all;
}

RunOutcome Rule::TakeActions(const QString& paramList) {
    RunOutcome out;
    if (!JustDoCheck(paramList)) return out;
    out.result = title_;
    out.paramList = paramList;
    for (const auto& row : actions_.rows()) {
        if (!row.object) continue;
        ActionStep step = row.object->Take(out.paramList);
        out.paramList = std::move(step.paramList);
        if (!step.notDone.isEmpty()) {
            out.action = row.selectorText;
            out.notDone = std::move(step.notDone);
            break;
        }
    }
    if (ctx_.log) ctx_.log->CommitToLogFile(title_);
    return out;
}

QString Rule::SaveToString() const {
    const QString sep = QString::fromUtf16(kRulePartSep);
    return title_ + sep + matchMode_ + sep + conditions_.SaveToString() + sep +
           actions_.SaveToString() + sep + ruleGUID_;
}

void Rule::LoadFromString(const QString& text) {
    const QStringList parts = SplitText(text, kRulePartSep);
    title_ = FieldAt(parts, 0);
    setMatchMode(FieldAt(parts, 1));
    conditions_.LoadFromString(FieldAt(parts, 2));
    actions_.LoadFromString(FieldAt(parts, 3));
    identityText_ = parts.mid(0, 4).join(QString::fromUtf16(kRulePartSep));
    guidDerived_ = !(parts.size() > 4 && IsGuidText(parts.at(4)));
    if (guidDerived_)
        deriveGuid(0);
    else
        ruleGUID_ = parts.at(4);
}

void Rule::deriveGuid(int salt) {
    const QString source =
        salt == 0 ? identityText_ : identityText_ + QLatin1Char('#') + QString::number(salt);
    ruleGUID_ = GuidFromText(source);
}

QString Rule::TextProblem(const QString& text) {
    const qsizetype parts = SplitText(text, kRulePartSep).size();
    if (parts >= 4) return QString();
    return QStringLiteral("it has %1 of the five parts of a rule").arg(parts);
}

QStringList Rule::loadProblems() const {
    QStringList out;
    for (const IConditionCheck* c : conditions_.getConditionCollection()) {
        const QString p = c->loadProblem();
        if (!p.isEmpty()) out << p;
    }
    return out;
}

}  // namespace vandrel
