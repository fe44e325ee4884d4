// vandrel test [--selection TEXT] PATH...
// vandrel apply [--selection TEXT] [--yes] PATH...
#include <QDir>
#include <QFileInfo>
#include <optional>

#include "actions/action_prompt.h"
#include "app/cli/commands.h"
#include "log/log_run.h"
#include "rules/rule_list.h"

namespace vandrel {

namespace {

struct ItemArgs {
    QString selection = QStringLiteral("all");
    bool yes = false;
    QStringList paths;
    QString error;
};

ItemArgs ParseItemArgs(const QStringList& args, bool acceptYes) {
    ItemArgs a;
    bool optionsDone = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& s = args.at(i);
        if (!optionsDone && s == QLatin1String("--")) {
            optionsDone = true;
        } else if (!optionsDone && s == QLatin1String("--selection")) {
            if (i + 1 >= args.size()) {
                a.error = QStringLiteral("--selection needs a text");
                return a;
            }
            a.selection = args.at(++i);
        } else if (!optionsDone && acceptYes && s == QLatin1String("--yes")) {
            a.yes = true;
        } else if (!optionsDone && s.startsWith(QLatin1String("--selection="))) {
            a.selection = s.mid(12);
        } else if (!optionsDone && s.startsWith(QLatin1String("-")) && s.size() > 1) {
            a.error = QStringLiteral("unknown option %1").arg(s);
            return a;
        } else {
            // Absolute, clean paths: rules compare and log full paths.
            a.paths << QDir::cleanPath(QFileInfo(s).absoluteFilePath());
        }
    }
    if (a.paths.isEmpty()) a.error = QStringLiteral("no PATH given");
    return a;
}

int RunItems(CliContext& ctx, const QStringList& args, bool act, const char* name) {
    const ItemArgs a = ParseItemArgs(args, act);
    if (!a.error.isEmpty())
        return ctx.fail(
            kExitUsage,
            QStringLiteral("%1 (usage: vandrel %2 [--selection TEXT]%3 PATH...)")
                .arg(a.error, QLatin1String(name), act ? QStringLiteral(" [--yes]") : QString()));
    // Open and print actions that ask first are answered from --yes; failures of actions
    // (a list file that cannot be written, a program that does not start) go to stderr.
    FixedAnswerPrompt prompt(a.yes, ctx.err());
    if (act) ctx.setPrompt(&prompt);
    RuleList* rules = ctx.rules();
    if (!rules) return kExitFailure;
    int stopped = 0;
    // Every action is in the log or not done: no item is acted on while the log cannot
    // record it.
    if (act && !ctx.logUsable()) return kExitFailure;
    // An apply command is one run: undo takes it back whole.
    std::optional<LogRun> run;
    if (act) run.emplace(&ctx.log());
    for (const QString& path : a.paths) {
        RunOutcome outcome;
        if (act)
            outcome = rules->RunRules(path, a.selection);
        else
            outcome.result = rules->DoRulesTest(path, a.selection);
        // Through the same field writer as organize and log: a name holding a tab or a
        // line break stays one record.
        ctx.out() << TsvField(outcome.result) << '\t' << TsvField(path) << '\n';
        ctx.out().flush();
        if (outcome.stopped()) {
            ++stopped;
            ctx.fail(kExitFailure, outcome.describe(path));
        }
        if (act && !ctx.logUsable()) return kExitFailure;
    }
    return prompt.failureCount() > 0 || stopped > 0 ? kExitFailure : kExitOk;
}

}  // namespace

int RunTestCommand(CliContext& ctx, const QStringList& args) {
    return RunItems(ctx, args, false, "test");
}

int RunApplyCommand(CliContext& ctx, const QStringList& args) {
    return RunItems(ctx, args, true, "apply");
}

}  // namespace vandrel
