#include "app/cli/cli.h"

#include <QFile>
#include <QTextStream>
#include <cstdio>
#include <iterator>

#include "app/cli/commands.h"

namespace vandrel {

namespace {

const CliCommand kCommands[] = {
    {"test", RunTestCommand, "test [--selection TEXT] PATH...    name the rule that would act"},
    {"log", RunLogCommand, "log [--page N] [--count] [WORD]     show a page of the action log"},
    {"attr", RunAttrCommand, "attr [NAME] PATH                    show the attributes of an item"},
    {"tags", RunTagsCommand, "tags PATH                           show the MP3 tag reader's texts"},
    {"apply", RunApplyCommand,
     "apply [--selection TEXT] [--yes] PATH...  run the rules on the items"},
    {"rules", RunRulesCommand, "rules list | export [--yes] FILE | import [--yes] FILE"},
    {"folders", RunFoldersCommand,
     "folders list|add PATH [--every 1|2|4|8] [--at HH:MM] [--rules GUID,...] [--confirm] "
     "[--disabled]|remove PATH"},
    {"organize", RunOrganizeCommand,
     "organize [--selection TEXT] [--yes] FOLDER  run the rules on a folder's items"},
    {"daemon", RunDaemonCommand,
     "daemon [--interval-seconds N]       run the watched-folder schedule headless"},
    {"undo", RunUndoCommand,
     "undo [--dry-run] TAKE-ID | --row ROW-ID | --run RUN-ID | --last  put back a take or run"},
};

const CliCommand* FindCommand(const QString& name) {
    for (const CliCommand& c : kCommands)
        if (name == QLatin1String(c.name)) return &c;
    return nullptr;
}

void PrintUsage(QTextStream& s) {
    s << "usage: vandrel [--data-dir DIR] COMMAND [ARGS...]" << Qt::endl;
    for (const CliCommand& c : kCommands) s << "  vandrel " << c.usage << Qt::endl;
}

// --help: what the program is, both ways to run it, the data folder and the exit statuses.
void PrintHelp(QTextStream& s) {
    s << "Vandrel " << VANDREL_VERSION << ": organizes files by your rules." << Qt::endl
      << Qt::endl
      << "usage: vandrel [--data-dir DIR]                    start the desktop program" << Qt::endl
      << "       vandrel [--data-dir DIR] COMMAND [ARGS...]  run one command headless" << Qt::endl
      << "       vandrel --help | --version" << Qt::endl
      << Qt::endl
      << "commands:" << Qt::endl;
    for (const CliCommand& c : kCommands) s << "  vandrel " << c.usage << Qt::endl;
    s << Qt::endl
      << "The data folder (default " << DataPaths::defaultDir() << ") holds rules.txt," << Qt::endl
      << "folders.txt, qfolders.txt, options.ini and the action log log.db. While the desktop"
      << Qt::endl
      << "program runs on it, \"rules import\" and \"folders add/remove\" are handed to it."
      << Qt::endl
      << Qt::endl
      << "exit status: 0 done, 1 failed (or an action was not done), 2 bad arguments," << Qt::endl
      << "3 the scheduler was not started: another Vandrel program holds the data folder."
      << Qt::endl;
}

struct GlobalOptions {
    QString dataDir;
    QStringList rest;  // subcommand name and its arguments
    QString error;
};

// --data-dir DIR (or --data-dir=DIR) may stand before the subcommand.
GlobalOptions ParseGlobal(const QStringList& args) {
    GlobalOptions g;
    int i = 0;
    for (; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--data-dir")) {
            if (i + 1 >= args.size()) {
                g.error = QStringLiteral("--data-dir needs a folder");
                return g;
            }
            g.dataDir = args.at(++i);
        } else if (a.startsWith(QLatin1String("--data-dir="))) {
            g.dataDir = a.mid(11);
        } else {
            break;
        }
        // An empty folder name (an unset variable in a script, say) must not quietly
        // fall back to the default data folder and change the user's real state.
        if (g.dataDir.isEmpty()) {
            g.error = QStringLiteral("--data-dir needs a folder, not an empty name");
            return g;
        }
    }
    g.rest = args.mid(i);
    return g;
}

}  // namespace

int RefuseUndecodableArguments(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView raw(argv[i]);
        if (QFile::encodeName(QFile::decodeName(argv[i])) == raw) continue;
        QTextStream err(stderr);
        err << "vandrel: argument " << i << " (" << QFile::decodeName(argv[i])
            << ") is not valid UTF-8; such names are refused, nothing was done" << Qt::endl;
        return kExitUsage;
    }
    return 0;
}

bool IsCliInvocation(const QStringList& args) {
    const GlobalOptions g = ParseGlobal(args);
    return !g.error.isEmpty() || !g.rest.isEmpty();
}

std::optional<QString> DesktopDataDir(const QStringList& args) {
    const GlobalOptions g = ParseGlobal(args);
    if (!g.error.isEmpty() || !g.rest.isEmpty()) return std::nullopt;
    return g.dataDir;
}

int RunCli(const QStringList& args) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    const GlobalOptions g = ParseGlobal(args);
    if (!g.error.isEmpty()) {
        err << "vandrel: " << g.error << Qt::endl;
        return kExitUsage;
    }
    if (g.rest.isEmpty() || g.rest.first() == QLatin1String("help")) {
        PrintUsage(g.rest.isEmpty() ? err : out);
        return g.rest.isEmpty() ? kExitUsage : kExitOk;
    }
    if (g.rest.first() == QLatin1String("--help") || g.rest.first() == QLatin1String("-h")) {
        PrintHelp(out);
        return kExitOk;
    }
    if (g.rest.first() == QLatin1String("--version")) {
        out << "vandrel " << VANDREL_VERSION << Qt::endl;
        return kExitOk;
    }
    const CliCommand* command = FindCommand(g.rest.first());
    if (!command) {
        err << "vandrel: unknown command '" << g.rest.first() << "' (try vandrel help)" << Qt::endl;
        return kExitUsage;
    }
    DataPaths paths(g.dataDir);
    CliContext ctx(paths, out, err);
    if (!paths.ensureExists())
        return ctx.fail(
            kExitFailure,
            QStringLiteral("the data folder %1 cannot be created or used").arg(paths.dir()));
    return command->run(ctx, g.rest.mid(1));
}

}  // namespace vandrel
