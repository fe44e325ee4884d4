// The scheduler and "vandrel folders add/remove" change folders.txt while a task runs:
// neither undoes the other, and a folder removed meanwhile is never run.
#include "folders/watched_folder_sync.h"

#include <gtest/gtest.h>

#include "app/app_var_mgr.h"
#include "folders/auto_task_runner.h"
#include "folders/watched_folder_list.h"
#include "platform/clock.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

TEST(WatchedFolderSync, CommandsDuringATaskAreKept) {
    struct Case {
        const char* name;
        const char* command;  // run while the first task's item is handled
        const char* folder;   // its folder
        QStringList ran, fileAfter;
    } cases[] = {
        {"remove the next folder", "remove", "a", {"b"}, {"b"}},
        {"remove the running one", "remove", "b", {"b", "a"}, {"a"}},
        {"add another", "add", "c", {"b", "a"}, {"c", "b", "a"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir tmp;
        const QString data = tmp.file(QStringLiteral("data"));
        const auto vandrel = [&](const QStringList& args) {
            return test::RunVandrel(QStringList{"--data-dir", data} + args, tmp.file("home"));
        };
        for (const char* f : {"a", "b", "c"})
            ASSERT_TRUE(test::WriteFile(tmp.file(f) + QStringLiteral("/x.txt"), "x"));
        for (const char* f : {"a", "b"})
            ASSERT_EQ(vandrel({"folders", "add", tmp.file(f)}).exitCode, 0);

        const QDateTime start(QDate(2026, 3, 10), QTime(9, 0));
        FakeClock clock(start);
        AppVarMgr vars{QString()};
        WatchedFolderList schedule(clock);
        StateStore store;
        WatchedFolderSync sync(data + QStringLiteral("/folders.txt"), schedule, store);
        int otherGotLock = 0;  // a second writer while the scheduler holds the lock
        store.setLockedHookForTest([&] { otherGotLock += StateLock(data).lock(0); });
        QStringList ran;
        AutoTaskRunner runner(vars, schedule, clock, [&](const QString& item, const QString&) {
            ran << QFileInfo(item).dir().dirName();
            if (ran.size() == 1) {
                EXPECT_EQ(vandrel({"folders", c.command, tmp.file(c.folder)}).exitCode, 0);
            }
            return QString();
        });
        runner.setCountdownStart(0);
        runner.setTaskGate(
            [&](AutoFolderTask& t) { return sync.PrepareTask(t) == FolderTaskCheck::Run; });
        ASSERT_TRUE(sync.Sync().update.ok());
        EXPECT_EQ(runner.FolderTimerTick(), 0);  // schedules both an hour from now
        clock.set(start.addSecs(3630));
        EXPECT_EQ(runner.FolderTimerTick(), 2);
        ASSERT_TRUE(sync.Sync().update.ok());
        EXPECT_EQ(otherGotLock, 0);

        EXPECT_EQ(ran, c.ran);
        WatchedFolderList after(clock);
        ASSERT_EQ(after.LoadFromFile(data + QStringLiteral("/folders.txt")).status,
                  StateReadStatus::Ok);
        QStringList names;
        for (const WatchedFolder* f : after.GetFolderCollection()) {
            names << QFileInfo(f->folderPath()).fileName();
            // The scheduler's own change, its run times, reached the rows it ran.
            EXPECT_EQ(f->lastRunTime() == clock.now(), c.ran.contains(names.last()));
        }
        EXPECT_EQ(names, c.fileAfter);
    }
}

}  // namespace
}  // namespace vandrel
