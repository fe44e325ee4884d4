// vandrel log [--page N] [--count] [WORD]
//
// One page of the action log, newest first, one row per line: id, take time, rule title,
// action name, original path, destination path and run (what "vandrel undo --run" takes),
// tab-separated. --count prints the number
// of matching rows instead.
#include "app/cli/commands.h"
#include "log/log_manager.h"

namespace vandrel {

namespace {

// The page size of the log view, so that "page 3" means the same rows everywhere.
constexpr int kLogPageSize = 17;

const QString kLogUsage = QStringLiteral("usage: vandrel log [--page N] [--count] [WORD]");

struct LogArgs {
    qint64 page = 1;
    bool count = false;
    QString word;
    QString error;  // set when the arguments are bad
};

LogArgs ParseLogArgs(const QStringList& args) {
    LogArgs parsed;
    bool haveWord = false;
    bool optionsEnded = false;  // after "--" everything is the word
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const bool option = !optionsEnded && a.size() > 1 && a.startsWith(QLatin1Char('-'));
        if (option && a == QLatin1String("--")) {
            optionsEnded = true;
        } else if (option && a == QLatin1String("--count")) {
            parsed.count = true;
        } else if (option &&
                   (a == QLatin1String("--page") || a.startsWith(QLatin1String("--page=")))) {
            QString value;
            if (a == QLatin1String("--page")) {
                if (i + 1 >= args.size()) {
                    parsed.error = QStringLiteral("--page needs a page number; ") + kLogUsage;
                    return parsed;
                }
                value = args.at(++i);
            } else {
                value = a.mid(7);
            }
            bool isNumber = false;
            parsed.page = value.toLongLong(&isNumber);
            if (!isNumber || parsed.page < 1) {
                parsed.error =
                    QStringLiteral("the page must be a positive whole number, not '%1'").arg(value);
                return parsed;
            }
        } else if (option) {
            parsed.error = QStringLiteral("unknown option '%1'; ").arg(a) + kLogUsage;
            return parsed;
        } else if (haveWord) {
            parsed.error =
                QStringLiteral("give one search word (quote words with spaces); ") + kLogUsage;
            return parsed;
        } else {
            parsed.word = a;
            haveWord = true;
        }
    }
    return parsed;
}

}  // namespace

int RunLogCommand(CliContext& ctx, const QStringList& args) {
    const LogArgs parsed = ParseLogArgs(args);
    if (!parsed.error.isEmpty()) return ctx.fail(kExitUsage, parsed.error);

    LogManager& log = ctx.log();
    if (!log.isOpen()) return kExitFailure;  // ctx.log() has said why

    if (parsed.count) {
        const qint64 count = log.GetActionCount(parsed.word);
        if (!log.lastError().isEmpty())
            return ctx.fail(kExitFailure,
                            QStringLiteral("the action log cannot be read: ") + log.lastError());
        ctx.out() << count << '\n';
        ctx.out().flush();
        return kExitOk;
    }

    const std::vector<LogRow> rows = log.SearchActionLog(parsed.word, kLogPageSize, parsed.page);
    if (!log.lastError().isEmpty())
        return ctx.fail(kExitFailure,
                        QStringLiteral("the action log cannot be read: ") + log.lastError());
    for (const LogRow& row : rows) {
        const QString time = row.takeTime.isValid()
                                 ? row.takeTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                 : QString();
        ctx.out() << row.id << '\t' << time << '\t' << TsvField(row.ruleTitle) << '\t'
                  << TsvField(row.actionName) << '\t' << TsvField(row.oriPath) << '\t'
                  << TsvField(row.dstPath) << '\t' << TsvField(row.runId) << '\n';
    }
    ctx.out().flush();
    return kExitOk;
}

}  // namespace vandrel
