// vandrel rules list
#include "app/cli/commands.h"
#include "rules/rule_list.h"

namespace vandrel {

int RunRulesCommand(CliContext& ctx, const QStringList& args) {
    if (args.size() == 1 && args.first() == QLatin1String("list")) {
        RuleList* rules = ctx.rules();
        if (!rules) return kExitFailure;
        for (const RuleAttr& a : rules->GetRuleAttrs())
            ctx.out() << a.ruleTitle << '\t' << a.ruleGUID << '\n';
        ctx.out().flush();
        return kExitOk;
    }
    return ctx.fail(kExitUsage, QStringLiteral("usage: vandrel rules list"));
}

}  // namespace vandrel
