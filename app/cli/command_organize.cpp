// vandrel organize [--selection TEXT] [--yes] FOLDER
#include <QFileInfo>

#include "actions/action_prompt.h"
#include "app/cli/commands.h"
#include "app/cli/folder_cli_util.h"
#include "folders/watched_folder_list.h"
#include "log/log_run.h"
#include "platform/clock.h"
#include "platform/module_check_file.h"
#include "rules/rule_list.h"

namespace vandrel {

int RunOrganizeCommand(CliContext& ctx, const QStringList& args) {
    static const char kUsage[] = "usage: vandrel organize [--selection TEXT] [--yes] FOLDER";
    QString folder;
    QString selection;
    bool haveSelection = false;
    bool yes = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--selection")) {
            if (i + 1 >= args.size())
                return ctx.fail(kExitUsage, QStringLiteral("--selection needs a text"));
            selection = args.at(++i);
            haveSelection = true;
        } else if (a == QLatin1String("--yes")) {
            yes = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            return ctx.fail(kExitUsage, QStringLiteral("unknown option %1").arg(a));
        } else if (folder.isEmpty()) {
            folder = a;
        } else {
            return ctx.fail(kExitUsage, QString::fromLatin1(kUsage));
        }
    }
    if (folder.isEmpty()) return ctx.fail(kExitUsage, QString::fromLatin1(kUsage));
    const QString abs = AbsoluteFolderPath(folder);
    if (!QFileInfo(abs).isDir())
        return ctx.fail(kExitUsage, QStringLiteral("%1 is not a folder").arg(abs));

    WatchedFolderList list(SystemClock::instance());
    if (!LoadFolderList(ctx, list)) return kExitFailure;
    QStringList items;
    QStringList unnamable;
    QString runSelection = QStringLiteral("all");
    const WatchedFolder* watched = nullptr;
    for (const WatchedFolder* f : list.GetFolderCollection())
        if (!f->folderPath().isEmpty() && AbsoluteFolderPath(f->folderPath()) == abs) {
            watched = f;
            break;
        }
    if (watched) {
        // A watched folder runs its own task, as "Organize Now" does: its rule selection,
        // and its run times stay as they are. The command line itself is the user's
        // go-ahead, so a folder that asks for confirmation is run as well.
        const AutoFolderTask task = watched->GetAutoFolderTask();
        items = task.taskItems;
        unnamable = task.unnamableItems;
        runSelection = task.ruleSelection;
    } else {
        QStringList files, folders;
        ListFolderItems(abs, files, folders, &unnamable);
        items = files + folders;
    }
    if (haveSelection) runSelection = selection;

    // Open and print actions that ask first are answered from --yes, as apply does, and
    // actions that fail say so; set before the rules are loaded, which take the prompt.
    FixedAnswerPrompt prompt(yes, ctx.err());
    ctx.setPrompt(&prompt);
    RuleList* rules = ctx.rules();
    if (!rules) return kExitFailure;
    // Their text would name another item, or none: they are left where they are.
    for (const QString& item : unnamable)
        ctx.fail(kExitFailure,
                 QStringLiteral("%1: the name is not valid UTF-8; left as it is").arg(item));
    int stopped = 0;
    // Every action is in the log or not done: no item is acted on while the log cannot
    // record it.
    if (!ctx.logUsable()) return kExitFailure;
    // The whole command is one run: undo takes it back whole.
    const LogRun run(&ctx.log());
    for (const QString& item : items) {
        const RunOutcome outcome = rules->RunRules(item, runSelection);
        ctx.out() << TsvField(outcome.result) << '\t' << TsvField(item) << '\n';
        ctx.out().flush();
        if (outcome.stopped()) {
            ++stopped;
            ctx.fail(kExitFailure, outcome.describe(item));
        }
        if (!ctx.logUsable()) return kExitFailure;
    }
    const bool allDone = prompt.failureCount() == 0 && stopped == 0 && unnamable.isEmpty();
    return allDone ? kExitOk : kExitFailure;
}

}  // namespace vandrel
