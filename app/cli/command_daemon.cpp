// vandrel daemon [--interval-seconds N]: the headless scheduler. Checks the watched
// folders as the desktop program does (once a minute), but runs a due task at once
// instead of counting down, and skips folders that ask for confirmation. Stops cleanly
// on SIGINT or SIGTERM after the item in hand.
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>
#include <atomic>
#include <csignal>

#include "app/app_var_mgr.h"
#include "app/cli/commands.h"
#include "app/cli/folder_cli_util.h"
#include "folders/auto_task_runner.h"
#include "folders/watched_folder_list.h"
#include "log/log_manager.h"
#include "platform/clock.h"
#include "platform/single_instance.h"
#include "platform/state_file.h"
#include "rules/rule_list.h"

namespace vandrel {

namespace {

// Signal handling: the handler may only touch lock-free atomics and write(2).
int g_signalPipe[2] = {-1, -1};
std::atomic<AutoTaskRunner*> g_runner{nullptr};

void OnStopSignal(int) {
    if (AutoTaskRunner* r = g_runner.load()) r->requestStop();
    const char byte = 1;
    const int saved = errno;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
    errno = saved;
}

class SignalGuard {
  public:
    bool install() {
        if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
        struct sigaction sa {};
        sa.sa_handler = OnStopSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        ::sigaction(SIGINT, &sa, &oldInt_);
        ::sigaction(SIGTERM, &sa, &oldTerm_);
        installed_ = true;
        return true;
    }
    ~SignalGuard() {
        if (!installed_) return;
        ::sigaction(SIGINT, &oldInt_, nullptr);
        ::sigaction(SIGTERM, &oldTerm_, nullptr);
        g_runner.store(nullptr);
        ::close(g_signalPipe[0]);
        ::close(g_signalPipe[1]);
        g_signalPipe[0] = g_signalPipe[1] = -1;
    }

  private:
    bool installed_ = false;
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};

QString Stamp() {
    return QDateTime::currentDateTime().toString(QString::fromLatin1(kFolderDateFormat));
}

// Keeps the in-memory schedule and the files in step: re-reads rules.txt and folders.txt
// when another command changed them, and writes folders.txt when run times moved.
class DaemonState {
  public:
    DaemonState(CliContext& ctx, RuleList& rules, WatchedFolderList& folders)
        : ctx_(ctx), rules_(rules), folders_(folders) {}

    void init(const QString& rulesText, const QString& foldersText) {
        rulesText_ = rulesText;
        foldersText_ = foldersText;
    }

    void reloadIfChanged() {
        const StateReadResult r = ReadStateLine(ctx_.paths().rulesFile());
        if (r.status == StateReadStatus::Unreadable) {
            // Write the rules in hand back only when the damaged file is safely aside.
            if (r.keptAsidePath.isEmpty()) {
                log(QStringLiteral("%1 cannot be read; going on with the rules already loaded")
                        .arg(ctx_.paths().rulesFile()));
            } else {
                log(QStringLiteral("%1 cannot be read; kept aside as %2; going on with the "
                                   "rules already loaded")
                        .arg(ctx_.paths().rulesFile(), r.keptAsidePath));
                (void)WriteStateLine(ctx_.paths().rulesFile(), rules_.SaveToString());
            }
            rulesText_ = rules_.SaveToString();
        } else if (r.text != rulesText_) {
            rules_.LoadFromString(r.text);
            rulesText_ = r.text;
            log(QStringLiteral("rules reloaded (%1 rules)").arg(rules_.ruleCount()));
        }

        const StateReadResult f = ReadStateLine(ctx_.paths().foldersFile());
        foldersBlocked_ = f.status == StateReadStatus::Unreadable && f.keptAsidePath.isEmpty();
        if (foldersBlocked_ && reportedBlocked_) return;
        reportedBlocked_ = foldersBlocked_;
        if (f.status == StateReadStatus::Unreadable) {
            log(QStringLiteral("%1 cannot be read%2; going on with the folders already loaded")
                    .arg(ctx_.paths().foldersFile(),
                         f.keptAsidePath.isEmpty()
                             ? QString()
                             : QStringLiteral("; kept aside as ") + f.keptAsidePath));
            // The list in hand replaces the file only when the damaged one is safely aside.
            if (!f.keptAsidePath.isEmpty()) {
                foldersText_.clear();  // forces the write
                saveIfChanged();
            }
        } else if (f.text != foldersText_) {
            WatchedFolderList fresh(SystemClock::instance());
            fresh.LoadFromString(f.text);
            fresh.AdoptScheduleFrom(folders_);
            folders_ = std::move(fresh);
            foldersText_ = f.text;
            log(QStringLiteral("watched folders reloaded (%1 folders)")
                    .arg(folders_.folderCount()));
        }
    }

    void saveIfChanged() {
        // A damaged file that could not be moved aside is never written over.
        if (foldersBlocked_) return;
        const QString text = folders_.SaveToString();
        if (text == foldersText_) return;
        if (folders_.SaveToFile(ctx_.paths().foldersFile()))
            foldersText_ = text;
        else
            log(QStringLiteral("%1 cannot be written").arg(ctx_.paths().foldersFile()));
    }

    void log(const QString& message) {
        ctx_.err() << "vandrel: " << Stamp() << ' ' << message << Qt::endl;
    }

  private:
    CliContext& ctx_;
    RuleList& rules_;
    WatchedFolderList& folders_;
    QString rulesText_;
    QString foldersText_;
    bool foldersBlocked_ = false;
    bool reportedBlocked_ = false;
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

    SingleInstance lock(ctx.paths().dir());
    if (!lock.tryAcquire()) {
        if (!lock.error().isEmpty()) return ctx.fail(kExitFailure, lock.error());
        const qint64 pid = lock.holderPid();
        return ctx.fail(kExitFailure,
                        QStringLiteral("another Vandrel scheduler is already running for %1%2")
                            .arg(ctx.paths().dir(),
                                 pid > 0 ? QStringLiteral(" (process %1)").arg(pid) : QString()));
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
    state.init(ReadStateLine(ctx.paths().rulesFile()).text,
               ReadStateLine(ctx.paths().foldersFile()).text);

    // The scheduler has no windows: its state lives in memory and never touches the
    // desktop program's options.
    AppVarMgr vars{QString()};
    AutoTaskRunner runner(vars, folders, SystemClock::instance(),
                          [&](const QString& path, const QString& selection) {
                              const QString result = rules->DoRunRules(path, selection);
                              if (!logFailed && !ctx.log().isUsable()) {
                                  logFailed = true;
                                  runner.requestStop();
                              }
                              return result;
                          });
    runner.setCountdownStart(0);
    QObject::connect(&runner, &AutoTaskRunner::taskStarted, [&](const AutoFolderTask& t) {
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

    SignalGuard stopSignals;
    if (!stopSignals.install())
        return ctx.fail(kExitFailure, QStringLiteral("cannot watch for stop signals"));
    g_runner.store(&runner);
    QEventLoop loop;
    QSocketNotifier notifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &loop, [&] {
        char buf[16];
        while (::read(g_signalPipe[0], buf, sizeof buf) > 0) {
        }
        loop.quit();
    });

    const auto check = [&] {
        if (runner.stopRequested()) return;
        state.reloadIfChanged();
        runner.FolderTimerTick();
        state.saveIfChanged();
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
    state.saveIfChanged();
    state.log(QStringLiteral("scheduler stopped"));
    if (logFailed && !ctx.logUsable()) return kExitFailure;
    return kExitOk;
}

}  // namespace vandrel
