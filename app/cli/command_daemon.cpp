// vandrel daemon [--interval-seconds N]: the headless scheduler. Checks the watched
// folders as the desktop program does (once a minute), but runs a due task at once
// instead of counting down, and skips folders that ask for confirmation. Stops cleanly
// on SIGINT or SIGTERM after the item in hand.
#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include "app/app_var_mgr.h"
#include "app/cli/commands.h"
#include "app/cli/folder_cli_util.h"
#include "folders/auto_task_runner.h"
#include "folders/watched_folder_list.h"
#include "folders/watched_folder_sync.h"
#include "log/log_manager.h"
#include "platform/clock.h"
#include "platform/single_instance.h"
#include "platform/state_file.h"
#include "platform/state_store.h"
#include "platform/stop_signals.h"
#include "rules/rule_list.h"
#include "rules/run_outcome.h"

namespace vandrel {

namespace {

QString Stamp() {
    return QDateTime::currentDateTime().toString(QString::fromLatin1(kFolderDateFormat));
}

// Keeps the in-memory rules and schedule and the files in step: re-reads rules.txt when
// another command changed it, and syncs folders.txt (re-read under the state lock, only
// the scheduler's run times written back) before each check, before each due folder runs
// and after each check.
class DaemonState {
  public:
    DaemonState(CliContext& ctx, RuleList& rules, WatchedFolderList& folders)
        : ctx_(ctx),
          rules_(rules),
          folderSync_(ctx.paths().foldersFile(), folders, store_),
          folders_(folders) {}

    void init(const QString& rulesText) { rulesText_ = rulesText; }

    void reloadRules() {
        const StateReadResult r = ReadStateLine(ctx_.paths().rulesFile(), &RuleList::TextProblem);
        if (r.status == StateReadStatus::Unreadable) {
            log(QStringLiteral("%1 cannot be read (%2)%3; going on with the rules already loaded")
                    .arg(ctx_.paths().rulesFile(), r.problem,
                         r.keptAsidePath.isEmpty()
                             ? QString()
                             : QStringLiteral("; kept aside as ") + r.keptAsidePath));
            // The rules in hand take the damaged file's place once it is safely aside,
            // unless another writer has already put rules there.
            const QString inHand = rules_.SaveToString();
            if (!r.keptAsidePath.isEmpty())
                (void)store_.UpdateLine(ctx_.paths().rulesFile(), &RuleList::TextProblem,
                                        [&inHand](QString& text) {
                                            if (!text.isEmpty()) return false;
                                            text = inHand;
                                            return true;
                                        });
            rulesText_ = inHand;
        } else if (r.text != rulesText_) {
            rules_.LoadFromString(r.text);
            rulesText_ = r.text;
            log(QStringLiteral("rules reloaded (%1 rules)").arg(rules_.ruleCount()));
            for (const QString& problem : rules_.loadProblems()) log(problem);
        }
    }

    void syncFolders() { report(folderSync_.Sync()); }

    bool prepareTask(AutoFolderTask& task) {
        QString why;
        switch (folderSync_.PrepareTask(task)) {
            case FolderTaskCheck::Run:
                return true;
            case FolderTaskCheck::NotWatched:
                why = QStringLiteral("it is no longer a watched folder");
                break;
            case FolderTaskCheck::TurnedOff:
                why = QStringLiteral("organizing was turned off");
                break;
            case FolderTaskCheck::NotSynced:
                why = QStringLiteral("%1 could not be read or written")
                          .arg(ctx_.paths().foldersFile());
                break;
        }
        log(QStringLiteral("not organizing [%1]: %2").arg(task.folderCaption, why));
        return false;
    }

    void log(const QString& message) {
        ctx_.err() << "vandrel: " << Stamp() << ' ' << message << Qt::endl;
    }

  private:
    void report(const FolderSyncResult& r) {
        const StateUpdateResult& u = r.update;
        const QString file = ctx_.paths().foldersFile();
        QString problem;
        if (u.read.status == StateReadStatus::Unreadable) {
            problem =
                (QStringLiteral("%1 cannot be read (%2)%3")
                     .arg(file, u.read.problem,
                          u.read.keptAsidePath.isEmpty()
                              ? QStringLiteral("; going on with the folders already loaded")
                              : QStringLiteral("; kept aside as %1%2")
                                    .arg(u.read.keptAsidePath,
                                         r.restored ? QStringLiteral("; the folders already loaded "
                                                                     "were written in its place")
                                                    : QString())));
        } else if (u.status == StateUpdateStatus::LockFailed) {
            problem = u.error;
        } else if (u.status == StateUpdateStatus::WriteFailed) {
            problem = QStringLiteral("%1 cannot be written").arg(file);
        } else if (r.reloaded) {
            log(QStringLiteral("watched folders reloaded (%1 folders)")
                    .arg(folders_.folderCount()));
        }
        // A lasting problem is said once, not at every sync.
        if (!problem.isEmpty() && problem != lastProblem_) log(problem);
        lastProblem_ = problem;
    }

    CliContext& ctx_;
    RuleList& rules_;
    StateStore store_;
    WatchedFolderSync folderSync_;
    WatchedFolderList& folders_;
    QString rulesText_;
    QString lastProblem_;
};

}  // namespace

int RunDaemonCommand(CliContext& ctx, const QStringList& args) {
    int intervalSecs = 60;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--interval-seconds") && i + 1 < args.size()) {
            bool ok = false;
            intervalSecs = args.at(++i).toInt(&ok);
            if (!ok || intervalSecs < 1 || intervalSecs > 24 * 3600)
                return ctx.fail(kExitUsage, QStringLiteral("--interval-seconds takes a number of "
                                                           "seconds from 1 to 86400"));
        } else {
            return ctx.fail(kExitUsage,
                            QStringLiteral("usage: vandrel daemon [--interval-seconds N]"));
        }
    }
    if (!QCoreApplication::instance())
        return ctx.fail(kExitFailure, QStringLiteral("the scheduler needs an application object"));

    const auto process = [](qint64 pid) {
        return pid > 0 ? QStringLiteral(" (process %1)").arg(pid) : QString();
    };
    // The desktop program holds both locks; say which program is in the way.
    const SingleInstance desktop(ctx.paths().dir(),
                                 QString::fromLatin1(SingleInstance::kDesktopRole));
    if (desktop.isHeldElsewhere())
        return ctx.fail(kExitHeld,
                        QStringLiteral("the Vandrel desktop program is running for %1%2 and runs "
                                       "its watched folders itself; the scheduler is not started")
                            .arg(ctx.paths().dir(), process(desktop.holderPid())));
    SingleInstance lock(ctx.paths().dir());
    if (!lock.tryAcquire()) {
        if (!lock.error().isEmpty()) return ctx.fail(kExitFailure, lock.error());
        return ctx.fail(kExitHeld,
                        QStringLiteral("another Vandrel program is already running for %1%2")
                            .arg(ctx.paths().dir(), process(lock.holderPid())));
    }

    RuleList* rules = ctx.rules();
    if (!rules) return kExitFailure;
    // Every action is in the log or not done: the scheduler does not start without a log
    // that records, and stops after the item in hand when it no longer does.
    if (!ctx.logUsable()) return kExitFailure;
    bool logFailed = false;
    WatchedFolderList folders(SystemClock::instance());
    if (!LoadFolderList(ctx, folders)) return kExitFailure;
    DaemonState state(ctx, *rules, folders);
    state.init(ReadStateLine(ctx.paths().rulesFile()).text);

    // The scheduler has no windows: its state lives in memory and never touches the
    // desktop program's options.
    AppVarMgr vars{QString()};
    AutoTaskRunner runner(vars, folders, SystemClock::instance(),
                          [&](const QString& path, const QString& selection) {
                              const RunOutcome outcome = rules->RunRules(path, selection);
                              // A rule stopped by a step that did not happen says why.
                              if (outcome.stopped()) state.log(outcome.describe(path));
                              if (!logFailed && !ctx.log().isUsable()) {
                                  logFailed = true;
                                  runner.requestStop();
                              }
                              return outcome.result;
                          });
    runner.setCountdownStart(0);
    // A folder removed or turned off since the check is never run.
    runner.setTaskGate([&state](AutoFolderTask& task) { return state.prepareTask(task); });
    QObject::connect(&runner, &AutoTaskRunner::taskStarted, [&](const AutoFolderTask& t) {
        // Each folder task is one run: undo takes it back whole.
        ctx.log().BeginRun();
        state.log(QStringLiteral("organizing [%1]: %2 items")
                      .arg(t.folderCaption)
                      .arg(t.taskItems.size()));
    });
    QObject::connect(&runner, &AutoTaskRunner::itemDone,
                     [&](const QString& path, const QString& result) {
                         state.log(TsvField(result) + QLatin1Char('\t') + TsvField(path));
                     });
    QObject::connect(&runner, &AutoTaskRunner::taskFinished, [&](const AutoFolderTask& t) {
        // The folder's takes into the database now, not when the next folder is due: the
        // desktop program's log view and "vandrel log" read them from there.
        ctx.log().EndRun();
        if (!ctx.log().Flush())
            state.log(
                QStringLiteral("the log keeps some takes waiting: %1").arg(ctx.log().lastError()));
        state.log(QStringLiteral("done [%1]").arg(t.folderCaption));
    });
    QObject::connect(&runner, &AutoTaskRunner::taskSkipped, [&](const AutoFolderTask& t) {
        state.log(QStringLiteral("skipped [%1]: it asks for confirmation, which needs the desktop "
                                 "program")
                      .arg(t.folderCaption));
    });

    StopSignals stopSignals;
    if (!stopSignals.install())
        return ctx.fail(kExitFailure, QStringLiteral("cannot watch for stop signals"));
    // The item in hand is finished; the rest of the batch sees the stop at once.
    stopSignals.setHandlerHook([](void* r) { static_cast<AutoTaskRunner*>(r)->requestStop(); },
                               &runner);
    QEventLoop loop;
    QSocketNotifier notifier(stopSignals.readFd(), QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &loop, [&] {
        stopSignals.drain();
        loop.quit();
    });

    const auto check = [&] {
        if (runner.stopRequested()) return;
        state.reloadRules();
        state.syncFolders();
        runner.FolderTimerTick();
        state.syncFolders();
        if (logFailed) loop.quit();
    };
    QTimer timer;
    timer.setInterval(intervalSecs * 1000);
    QObject::connect(&timer, &QTimer::timeout, &loop, check);
    timer.start();
    QTimer::singleShot(0, &loop, check);

    state.log(QStringLiteral("scheduler started for %1 (%2 watched folders, checking every %3 "
                             "seconds)")
                  .arg(ctx.paths().dir())
                  .arg(folders.folderCount())
                  .arg(intervalSecs));
    loop.exec();
    timer.stop();
    state.syncFolders();
    state.log(QStringLiteral("scheduler stopped"));
    if (logFailed && !ctx.logUsable()) return kExitFailure;
    return kExitOk;
}

}  // namespace vandrel
