#include "folders/auto_task_runner.h"

#include <gtest/gtest.h>

#include "app/app_var_mgr.h"
#include "folders/auto_task_timers.h"
#include "folders/watched_folder_list.h"
#include "platform/clock.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::TempDir;

QDateTime At(int h, int mi, int s = 0) { return QDateTime(QDate(2026, 3, 10), QTime(h, mi, s)); }

// A folder list with watched folders on disk, an application state and a runner whose
// item runner records what it was asked to do.
struct Fixture {
    TempDir tmp;
    FakeClock clock{At(9, 0, 30)};
    AppVarMgr vars{tmp.file("options.ini"), Autostart(tmp.file("autostart"))};
    WatchedFolderList list{clock};
    QStringList ran;  // "selection|path"
    AutoTaskRunner runner{vars, list, clock, [this](const QString& path, const QString& sel) {
                              ran << sel + QLatin1Char('|') + path;
                              return "no matched rule";
                          }};

    // Adds an enabled folder "every 1 hour" holding the given files; returns it.
    WatchedFolder& AddFolder(const char* name, std::initializer_list<const char*> files) {
        const QString dir = tmp.file(QString::fromLatin1(name));
        test::MakeDir(dir);
        for (const char* f : files) test::WriteFile(dir + QLatin1Char('/') + QLatin1String(f), "x");
        // Added at the top; callers add in reverse to get the list order they want.
        WatchedFolder& f = list.AddNewFolder();
        f.setFolderPath(dir);
        f.setEnabled(true);
        return f;
    }
    // Checks at t (the clock moves there).
    int CheckAt(const QDateTime& t) {
        clock.set(t);
        return runner.FolderTimerTick();
    }
    // Starts the schedules at 09:01:00 and checks when the folders are due; gives how many.
    int StartBatch() {
        CheckAt(At(9, 1, 0));
        return CheckAt(At(10, 1, 30));
    }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) runner.CountdownTick();
    }
};

TEST(AutoTaskRunner, TwoDueFoldersAnnouncedOneAfterTheOther) {
    Fixture fx;
    fx.AddFolder("second", {"b.txt"});
    WatchedFolder& first = fx.AddFolder("first", {"a1.txt", "a2.txt"});
    test::MakeDir(fx.tmp.file("first/sub"));
    first.selector().LoadFromString("<guid>G</guid>");

    QStringList announced;
    QObject::connect(
        &fx.runner, &AutoTaskRunner::taskAnnounced,
        [&](const QString& caption, int n) { announced << caption + QString::number(n); });
    int finished = 0;
    QObject::connect(&fx.runner, &AutoTaskRunner::batchFinished, [&] { ++finished; });

    EXPECT_EQ(fx.CheckAt(At(9, 1, 0)), 0);  // schedules start: next run 10:01:00
    EXPECT_EQ(fx.CheckAt(At(10, 2, 0)), 2);
    EXPECT_TRUE(fx.vars.autoTaskRunning());
    EXPECT_FALSE(fx.runner.folderTimerActive());
    EXPECT_EQ(announced, QStringList{"first10"});
    EXPECT_TRUE(fx.runner.buttonsVisible());
    EXPECT_EQ(fx.runner.pendingTasks(), 1);
    // A folder-timer tick during the batch does nothing.
    EXPECT_EQ(fx.runner.FolderTimerTick(), 0);

    fx.Ticks(9);
    EXPECT_TRUE(fx.ran.isEmpty());
    EXPECT_EQ(fx.runner.countdown(), 1);
    fx.Ticks(1);  // the tenth tick runs the first task: files, then the subfolder
    const QString d1 = fx.tmp.file("first/");
    EXPECT_EQ(fx.ran,
              (QStringList{"<guid>G</guid>|" + d1 + "a1.txt", "<guid>G</guid>|" + d1 + "a2.txt",
                           "<guid>G</guid>|" + d1 + "sub"}));
    EXPECT_EQ(announced, (QStringList{"first10", "second10"}));
    EXPECT_EQ(finished, 0);

    fx.Ticks(10);
    EXPECT_EQ(fx.ran.size(), 4);
    EXPECT_EQ(fx.ran.last(), "all|" + fx.tmp.file("second/b.txt"));
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(fx.vars.autoTaskRunning());
    EXPECT_TRUE(fx.runner.folderTimerActive());
}

TEST(AutoTaskRunner, CancelSkipsTheFirstAndAMissingFolderStillCountsDown) {
    Fixture fx;
    WatchedFolder& gone = fx.list.AddNewFolder();
    gone.setEnabled(true);
    gone.setFolderPath(fx.tmp.file("gone"));
    fx.AddFolder("two", {"b.txt"});
    fx.AddFolder("one", {"a.txt"});
    ASSERT_EQ(fx.StartBatch(), 3);
    fx.Ticks(4);
    fx.runner.Cancel();
    ASSERT_NE(fx.runner.currentTask(), nullptr);
    EXPECT_EQ(fx.runner.currentTask()->folderCaption, "two");
    EXPECT_EQ(fx.runner.countdown(), 10);  // the second task gets its own full countdown
    fx.Ticks(10);
    EXPECT_EQ(fx.ran, QStringList{"all|" + fx.tmp.file("two/b.txt")});
    // A missing folder gives an empty task that still counts down.
    ASSERT_NE(fx.runner.currentTask(), nullptr);
    EXPECT_EQ(fx.runner.currentTask()->folderCaption, "gone");
    EXPECT_TRUE(fx.runner.currentTask()->taskItems.isEmpty());
    fx.Ticks(10);
    EXPECT_EQ(fx.ran.size(), 1);
    EXPECT_FALSE(fx.runner.batchActive());
    // The cancelled folder was rescheduled by its due test; it is not due again now.
    EXPECT_EQ(fx.list.folder(0).nextRunTime(), At(11, 1, 30));
}

TEST(AutoTaskRunner, ConfirmationSheet) {
    Fixture fx;
    WatchedFolder& asks = fx.AddFolder("asks", {"a.txt"});
    asks.setConfirm(true);
    fx.AddFolder("silent", {"s.txt"});
    QStringList sheets;
    fx.runner.setConfirmHandler([&](const AutoFolderTask& t) { sheets << t.folderCaption; });
    ASSERT_EQ(fx.StartBatch(), 2);
    // "Confirmation Sheet" on a silent task: the sheet gets it, nothing runs silently.
    fx.runner.ConfirmationSheet();
    EXPECT_EQ(sheets, QStringList{"silent"});
    EXPECT_TRUE(fx.ran.isEmpty());
    // A task that asks for confirmation goes to the sheet at the end of its countdown.
    fx.Ticks(10);
    EXPECT_EQ(sheets, (QStringList{"silent", "asks"}));
    EXPECT_TRUE(fx.ran.isEmpty());
    EXPECT_FALSE(fx.runner.batchActive());
}

TEST(AutoTaskRunner, ChecksSuspendedByTheRunFlags) {
    using Setter = void (AppVarMgr::*)(bool);
    const Setter flags[] = {&AppVarMgr::setSettingWinShow, &AppVarMgr::setDropTaskRunning,
                            &AppVarMgr::setHandTaskRunning, &AppVarMgr::setCreatingNewRule};
    for (Setter set : flags) {
        Fixture fx;
        fx.AddFolder("f", {"a.txt"});
        fx.CheckAt(At(9, 1, 0));  // next run 10:01:00
        QList<bool> images;
        QObject::connect(&fx.runner, &AutoTaskRunner::trayImageChanged,
                         [&](bool automatic) { images << automatic; });
        (fx.vars.*set)(true);
        EXPECT_TRUE(fx.runner.checksSuspended());
        // An hour of suspended checks across the window: nothing runs, nothing changes.
        for (int m = 0; m <= 60; ++m) EXPECT_EQ(fx.CheckAt(At(9, 30).addSecs(m * 60)), 0);
        EXPECT_EQ(fx.list.folder(0).nextRunTime(), At(10, 1, 0));
        EXPECT_EQ(images.count(false), 61);
        (fx.vars.*set)(false);
        // The first check afterwards reschedules the missed run instead of making it up.
        EXPECT_EQ(fx.CheckAt(At(10, 31)), 0);
        EXPECT_EQ(fx.list.folder(0).nextRunTime(), At(11, 31));
        EXPECT_TRUE(images.last());
        EXPECT_TRUE(fx.ran.isEmpty());
    }
}

TEST(AutoTaskRunner, ManualRunOnDisabledFolderKeepsItsTimes) {
    Fixture fx;
    WatchedFolder& f = fx.AddFolder("off", {"a.txt", "b.txt"});
    f.setEnabled(false);
    const QDateTime last = f.lastRunTime();
    const QDateTime next = f.nextRunTime();
    QStringList notes;
    QObject::connect(&fx.runner, &AutoTaskRunner::manualRunNotify,
                     [&](WatchedFolder*, const QString& t) { notes << t; });
    QString done;
    QObject::connect(&fx.runner, &AutoTaskRunner::manualRunFinished,
                     [&](WatchedFolder* w, const QString& t) {
                         EXPECT_EQ(w, &f);
                         EXPECT_TRUE(fx.vars.handTaskRunning());
                         done = t;
                     });
    EXPECT_TRUE(fx.runner.ManualRun(f));
    EXPECT_EQ(fx.ran.size(), 2);
    EXPECT_EQ(notes, (QStringList{"no matched rule", "no matched rule"}));
    EXPECT_EQ(done, "Done!");
    EXPECT_FALSE(fx.vars.handTaskRunning());
    EXPECT_EQ(f.lastRunTime(), last);
    EXPECT_EQ(f.nextRunTime(), next);
    EXPECT_TRUE(f.recalcPending());

    // Refused while an automatic batch runs.
    fx.vars.setAutoTaskRunning(true);
    EXPECT_FALSE(fx.runner.ManualRun(f));
    EXPECT_EQ(fx.ran.size(), 2);
}

TEST(AutoTaskRunner, ImmediateModeRunsAtOnceSkipsConfirmationAndStopsAfterTheItemInHand) {
    Fixture fx;
    fx.runner.setCountdownStart(0);
    fx.AddFolder("asks", {"a.txt"}).setConfirm(true);
    fx.AddFolder("silent", {"s1.txt", "s2.txt"});
    QStringList skipped;
    QObject::connect(&fx.runner, &AutoTaskRunner::taskSkipped,
                     [&](const AutoFolderTask& t) { skipped << t.folderCaption; });
    EXPECT_EQ(fx.StartBatch(), 2);
    EXPECT_EQ(fx.ran.size(), 2);
    EXPECT_EQ(skipped, QStringList{"asks"});
    EXPECT_FALSE(fx.runner.batchActive());
    EXPECT_FALSE(fx.vars.autoTaskRunning());
    EXPECT_TRUE(fx.runner.folderTimerActive());

    // A stop asked for during an item ends the batch after it; nothing resumes it later.
    QObject::connect(&fx.runner, &AutoTaskRunner::itemDone,
                     [&](const QString&, const QString&) { fx.runner.requestStop(); });
    EXPECT_EQ(fx.CheckAt(At(11, 2, 0)), 2);
    EXPECT_EQ(fx.ran.size(), 3);
    EXPECT_FALSE(fx.runner.batchActive());
    EXPECT_EQ(fx.CheckAt(At(11, 3, 0)), 0);
    EXPECT_EQ(fx.ran.size(), 3);
}

TEST(AutoTaskRunner, StartedRunsWaitForTheirEnd) {
    Fixture fx;
    fx.AddFolder("two", {"b.txt"});
    WatchedFolder& one = fx.AddFolder("one", {"a.txt"});
    std::vector<std::pair<QString, WatchedFolder*>> started;
    fx.runner.setTaskStarter([&](const AutoFolderTask& t, WatchedFolder* manual) {
        started.emplace_back(t.folderCaption, manual);
    });
    ASSERT_EQ(fx.StartBatch(), 2);
    fx.Ticks(10);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].first, "one");
    EXPECT_EQ(started[0].second, nullptr);
    EXPECT_TRUE(fx.runner.runInProgress());
    // While the run is under way the next task is not announced and buttons do nothing.
    fx.Ticks(20);
    fx.runner.Cancel();
    EXPECT_EQ(fx.runner.currentTask()->folderCaption, "one");
    EXPECT_FALSE(fx.runner.ManualRun(one));
    fx.runner.SilentRunFinished();
    EXPECT_EQ(fx.runner.currentTask()->folderCaption, "two");
    fx.Ticks(10);
    fx.runner.SilentRunFinished();
    EXPECT_FALSE(fx.runner.batchActive());
    EXPECT_FALSE(fx.vars.autoTaskRunning());
    EXPECT_TRUE(fx.ran.isEmpty());  // nothing ran through the synchronous runner

    // A starter that finishes before returning (an empty task, say) also works.
    fx.runner.setTaskStarter([&](const AutoFolderTask&, WatchedFolder* manual) {
        if (manual)
            fx.runner.ManualRunFinished(*manual);
        else
            fx.runner.SilentRunFinished();
    });
    ASSERT_EQ(fx.CheckAt(At(11, 1, 40)), 2);
    fx.Ticks(10);
    EXPECT_EQ(fx.runner.currentTask()->folderCaption, "two");
    fx.Ticks(10);
    EXPECT_FALSE(fx.runner.batchActive());

    // A manual run keeps its flag until its end is reported.
    fx.runner.setTaskStarter([&](const AutoFolderTask&, WatchedFolder*) {});
    QString done;
    QObject::connect(&fx.runner, &AutoTaskRunner::manualRunFinished,
                     [&](WatchedFolder*, const QString& t) { done = t; });
    EXPECT_TRUE(fx.runner.ManualRun(one));
    EXPECT_TRUE(fx.vars.handTaskRunning());
    EXPECT_EQ(fx.CheckAt(At(12, 1, 50)), 0);  // checks are suspended meanwhile
    fx.runner.ManualRunFinished(one);
    EXPECT_FALSE(fx.vars.handTaskRunning());
    EXPECT_EQ(done, "Done!");
}

TEST(AutoTaskTimers, TimersFollowTheRunner) {
    Fixture fx;
    fx.AddFolder("f", {"a.txt"});
    AutoTaskTimers timers(fx.runner);
    EXPECT_FALSE(timers.folderTimer().isActive());  // nothing before start()
    timers.start();
    EXPECT_TRUE(timers.folderTimer().isActive());
    EXPECT_EQ(timers.folderTimer().interval(), 60000);
    EXPECT_EQ(timers.countdownTimer().interval(), 1000);
    EXPECT_FALSE(timers.countdownTimer().isActive());
    ASSERT_EQ(fx.StartBatch(), 1);
    // During the announcement the folder timer is stopped and the countdown runs.
    EXPECT_FALSE(timers.folderTimer().isActive());
    EXPECT_TRUE(timers.countdownTimer().isActive());
    fx.Ticks(10);
    EXPECT_TRUE(timers.folderTimer().isActive());
    EXPECT_FALSE(timers.countdownTimer().isActive());
}

}  // namespace
}  // namespace vandrel
