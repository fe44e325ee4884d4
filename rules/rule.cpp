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
    const std::vector<IConditionCheck*> conditions = conditions_.getConditionCollection();
    if (conditions.empty()) return false;
    if (matchMode_.toUpper() == QLatin1String("ALL")) {
        for (IConditionCheck* c : conditions)
            if (!c->DoCheck(paramList)) return false;
        return true;
    }
    for (IConditionCheck* c : conditions)
        if (c->DoCheck(paramList)) return true;
    return false;
}

QString Rule::CheckAndTake(const QString& paramList) {
    if (!JustDoCheck(paramList)) return QString();
    QString current = paramList;
    for (IActionTake* action : actions_.getActionCollection()) current = action->TakeAction(current);
    if (ctx_.log) ctx_.log->CommitToLogFile(title_);
    return current;
}

QString Rule::SaveToString() const {
    const QString sep = QString::fromUtf16(kRulePartSep);
    return title_ + sep + matchMode_ + sep + conditions_.SaveToString() + sep +
           actions_.SaveToString() + sep + ruleGUID_;
}

void Rule::LoadFromString(const QString& text) {
    const QStringList parts = SplitText(text, kRulePartSep);
    title_ = FieldAt(parts, 0);
    matchMode_ = FieldAt(parts, 1);
    conditions_.LoadFromString(FieldAt(parts, 2));
    actions_.LoadFromString(FieldAt(parts, 3));
    // A rule text without a GUID part keeps the fresh GUID made at creation.
    if (parts.size() > 4) ruleGUID_ = parts.at(4);
}

}  // namespace vandrel
