// vandrel undo [--dry-run] TAKE-ID | --row ROW-ID | --run RUN-ID | --last
//
// Undoes one take (by its take identity, or by the id of one of its rows) or one run (by
// the run identity "vandrel log" shows, or the newest run), newest action first. One line
// per action, tab-separated: what happened ("undone", "would undo", "already back", "left
// alone", "cannot undo"), the row id, the action, the item's path, where undo puts it and
// why. Exits 1 when an item was left alone or the log could not record the undo.
#include "actions/undo_engine.h"
#include "app/cli/commands.h"
#include "log/log_manager.h"

namespace vandrel {

namespace {

const QString kUndoUsage = QStringLiteral(
    "usage: vandrel undo [--dry-run] TAKE-ID | --row ROW-ID | --run RUN-ID | --last");

struct UndoArgs {
    enum class By { kNone, kTake, kRow, kRun, kLast } by = By::kNone;
    QString value;
    bool dryRun = false;
    QString error;
};

UndoArgs ParseUndoArgs(const QStringList& args) {
    UndoArgs parsed;
    const auto choose = [&parsed](UndoArgs::By by, const QString& value) {
        if (parsed.by != UndoArgs::By::kNone) {
            parsed.error = QStringLiteral("give one take or run; ") + kUndoUsage;
            return;
        }
        parsed.by = by;
        parsed.value = value;
    };
    for (qsizetype i = 0; i < args.size() && parsed.error.isEmpty(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--dry-run")) {
            parsed.dryRun = true;
        } else if (a == QLatin1String("--last")) {
            choose(UndoArgs::By::kLast, QString());
        } else if (a == QLatin1String("--run") || a == QLatin1String("--row")) {
            if (i + 1 >= args.size()) {
                parsed.error = QStringLiteral("%1 needs an identity; ").arg(a) + kUndoUsage;
                break;
            }
            choose(a == QLatin1String("--run") ? UndoArgs::By::kRun : UndoArgs::By::kRow,
                   args.at(++i));
        } else if (a.startsWith(QLatin1Char('-'))) {
            parsed.error = QStringLiteral("unknown option '%1'; ").arg(a) + kUndoUsage;
        } else {
            choose(UndoArgs::By::kTake, a);
        }
    }
    if (parsed.error.isEmpty() && parsed.by == UndoArgs::By::kNone) parsed.error = kUndoUsage;
    return parsed;
}

const char* OutcomeText(UndoStep::Outcome outcome, bool dryRun) {
    switch (outcome) {
        case UndoStep::Outcome::kDone:
            return "undone";
        case UndoStep::Outcome::kWouldDo:
            return "would undo";
        case UndoStep::Outcome::kAlreadyBack:
            return "already back";
        case UndoStep::Outcome::kConflict:
            return dryRun ? "would leave alone" : "left alone";
        case UndoStep::Outcome::kCannotUndo:
            break;
    }
    return "cannot undo";
}

}  // namespace

int RunUndoCommand(CliContext& ctx, const QStringList& args) {
    const UndoArgs parsed = ParseUndoArgs(args);
    if (!parsed.error.isEmpty()) return ctx.fail(kExitUsage, parsed.error);
    LogManager& log = ctx.log();
    if (!log.isOpen()) return kExitFailure;  // ctx.log() has said why

    std::vector<LogRow> rows;
    switch (parsed.by) {
        case UndoArgs::By::kTake: {
            const std::vector<qint64> takes = log.TakesNamed(parsed.value);
            if (takes.size() > 1) {
                QStringList ids;
                for (const qint64 id : takes) ids << QString::number(id);
                return ctx.fail(kExitUsage,
                                QStringLiteral("%1 names %2 takes (starting at rows %3); undo one "
                                               "by a row: vandrel undo --row ROW-ID")
                                    .arg(parsed.value)
                                    .arg(takes.size())
                                    .arg(ids.join(QStringLiteral(", "))));
            }
            if (!takes.empty()) rows = log.RowsOfTake(takes.front());
            break;
        }
        case UndoArgs::By::kRow: {
            bool isNumber = false;
            const qint64 id = parsed.value.toLongLong(&isNumber);
            if (!isNumber)
                return ctx.fail(kExitUsage,
                                QStringLiteral("a row id is a number, not '%1'").arg(parsed.value));
            rows = log.RowsOfTake(id);
            break;
        }
        case UndoArgs::By::kRun:
            rows = log.RowsOfRun(parsed.value);
            break;
        case UndoArgs::By::kLast:
            rows = log.RowsOfRun(log.NewestRun());
            break;
        case UndoArgs::By::kNone:
            break;
    }
    if (!log.lastError().isEmpty())
        return ctx.fail(kExitFailure,
                        QStringLiteral("the action log cannot be read: ") + log.lastError());
    if (rows.empty())
        return ctx.fail(kExitUsage,
                        parsed.by == UndoArgs::By::kLast
                            ? QStringLiteral("the action log is empty")
                            : QStringLiteral("the action log holds no %1 %2")
                                  .arg(parsed.by == UndoArgs::By::kRun   ? QStringLiteral("run")
                                       : parsed.by == UndoArgs::By::kRow ? QStringLiteral("row")
                                                                         : QStringLiteral("take"),
                                       parsed.value));
    // Every action is in the log or not done.
    if (!parsed.dryRun && !ctx.logUsable()) return kExitFailure;

    UndoEngine engine(log);
    const UndoReport report = engine.Undo(rows, parsed.dryRun);
    for (const UndoStep& s : report.steps)
        ctx.out() << OutcomeText(s.outcome, parsed.dryRun) << '\t' << s.rowId << '\t'
                  << TsvField(s.actionName) << '\t' << TsvField(s.path) << '\t'
                  << TsvField(s.target) << '\t' << TsvField(s.reason) << '\n';
    ctx.out().flush();
    const int done = report.count(UndoStep::Outcome::kDone);
    const int conflicts = report.count(UndoStep::Outcome::kConflict);
    if (!report.runId.isEmpty())
        ctx.err() << "vandrel: " << done << " undone, logged as run " << report.runId
                  << " (vandrel undo --run " << report.runId << " redoes it)" << Qt::endl;
    if (!report.logError.isEmpty())
        return ctx.fail(kExitFailure,
                        QStringLiteral("the action log cannot record the undo, it stopped: ") +
                            report.logError);
    if (conflicts > 0)
        return ctx.fail(kExitFailure, QStringLiteral("%1 item(s) %2 alone; see above why")
                                          .arg(conflicts)
                                          .arg(parsed.dryRun ? QStringLiteral("would be left")
                                                             : QStringLiteral("left")));
    return kExitOk;
}

}  // namespace vandrel
