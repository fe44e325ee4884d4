#include "platform/file_in_use.h"

#include <gtest/gtest.h>
#include <sys/file.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include "support/test_util.h"

namespace vandrel {
namespace {

using test::Holder;

using test::TempDir;
using test::WriteFile;

TEST(FileInUseProbeTest, SeesOtherProcessesButNotOurOwn) {
    TempDir t;
    WriteFile(t.file("held.txt"), "h");
    WriteFile(t.file("ours.txt"), "o");
    WriteFile(t.file("idle.txt"), "i");
    QFile ours(t.file("ours.txt"));
    ASSERT_TRUE(ours.open(QIODevice::ReadWrite));  // the engine itself may hold files open
    Holder holder(t.file("held.txt"));
    ASSERT_TRUE(holder.started());

    FileInUseProbe probe;
    EXPECT_TRUE(probe.isInUse(t.file("held.txt")));
    EXPECT_FALSE(probe.isInUse(t.file("ours.txt")));
    EXPECT_FALSE(probe.isInUse(t.file("idle.txt")));
    // Unexaminable counts as in use: nobody should act on it.
    EXPECT_TRUE(probe.isInUse(t.file("missing.txt")));
}

TEST(FileInUseProbeTest, OneSnapshotServesABatchUntilRefreshed) {
    TempDir t;
    WriteFile(t.file("later.txt"), "l");
    FileInUseProbe probe(60000);
    EXPECT_FALSE(probe.isInUse(t.file("later.txt")));
    Holder holder(t.file("later.txt"));
    ASSERT_TRUE(holder.started());
    // Still the old snapshot: questions do not rescan /proc.
    EXPECT_FALSE(probe.isInUse(t.file("later.txt")));
    probe.invalidate();
    EXPECT_TRUE(probe.isInUse(t.file("later.txt")));

    FileInUseProbe quick(0);  // a snapshot that is always too old
    EXPECT_TRUE(quick.isInUse(t.file("later.txt")));
}

TEST(FileInUseProbeTest, LockHeldByAnotherProcessCounts) {
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty()) GTEST_SKIP() << "python3 not installed";
    TempDir t;
    WriteFile(t.file("locked.txt"), "l");
    QProcess proc;
    proc.start(python, {QStringLiteral("-c"),
                        QStringLiteral("import fcntl, sys, time\n"
                                       "f = open(sys.argv[1])\n"
                                       "fcntl.flock(f, fcntl.LOCK_EX)\n"
                                       "print('locked', flush=True)\n"
                                       "time.sleep(60)\n"),
                        t.file("locked.txt")});
    ASSERT_TRUE(proc.waitForStarted(10000));
    ASSERT_TRUE(proc.waitForReadyRead(10000));
    ASSERT_EQ(proc.readAll().trimmed(), "locked");
    FileInUseProbe probe;
    EXPECT_TRUE(probe.isInUse(t.file("locked.txt")));
    proc.kill();
    proc.waitForFinished(10000);
    probe.invalidate();
    EXPECT_FALSE(probe.isInUse(t.file("locked.txt")));
}

}  // namespace
}  // namespace vandrel
