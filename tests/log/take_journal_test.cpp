// Committed takes wait in a side file and reach the database in batches: what a process
// that ends without storing them leaves behind must be stored exactly once by the next
// opener, and nothing damaged in a side file may harm the log.
#include "log/take_journal.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <functional>
#include <set>

#include "log/log_manager.h"
#include "log/log_test_util.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::RawLog;
using test::TempDir;

void Commit(LogManager& log, const QString& title, const QString& name) {
    ActionLog a;
    a.takeTime = QDateTime(QDate(2024, 3, 9), QTime(14, 5, 6));
    a.oriPath = QStringLiteral("/in/") + name;
    a.dstPath = QStringLiteral("/out/") + name;
    a.actionName = QStringLiteral("Move");
    a.searchWords = name;
    log.AppendActionLog(a);
    ASSERT_TRUE(log.CommitToLogFile(title));
}

QStringList SideFiles(const TempDir& dir) {
    return QDir(dir.path()).entryList({QStringLiteral("log.db-*takes-*")}, QDir::Files);
}

// Runs work in a child process that then ends at once, the way a killed process ends:
// nothing is closed or flushed (work must not destroy what it opened either). True when
// the child got to the end of work.
bool InChildThatDies(const std::function<void()>& work) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        work();
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// A manager for a child process that is never closed: the process just ends.
LogManager& OpenUntilTheEnd(const QString& path) {
    auto* log = new LogManager;
    EXPECT_TRUE(log->OpenLogFile(path));
    return *log;
}

void CommitTwo(LogManager& log) {
    Commit(log, QStringLiteral("r"), QStringLiteral("a"));
    Commit(log, QStringLiteral("r"), QStringLiteral("b"));
}

struct Stored {
    qint64 rows = 0;
    std::vector<LogRow> newestFirst;
};

Stored Read(const QString& path) {
    LogManager log;
    Stored s;
    if (!log.OpenLogFile(path)) return s;
    s.rows = log.GetActionCount(QString());
    s.newestFirst = log.SearchActionLog(QString(), 100, 1);
    return s;
}

TEST(TakeJournal, TakesOfAProcessThatEndedAreStoredOnceByTheNextOpener) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("log.db"));
    ASSERT_TRUE(InChildThatDies([&] {
        LogManager& log = OpenUntilTheEnd(path);
        Commit(log, QStringLiteral("first"), QStringLiteral("a"));
        Commit(log, QStringLiteral("second"), QStringLiteral("b"));
        Commit(log, QStringLiteral("third"), QStringLiteral("c"));
        // A take of two records, one without a time and with an empty destination.
        ActionLog bare;
        bare.oriPath = QStringLiteral("/in/\u00e9t\u00e9 \U0001F600");
        bare.dstPath = QStringLiteral("");
        bare.actionName = QStringLiteral("Run");
        log.AppendActionLog(bare);
        Commit(log, QStringLiteral("fourth"), QStringLiteral("d"));
    }));
    ASSERT_EQ(SideFiles(dir).size(), 1);
    {
        RawLog raw(path);
        EXPECT_TRUE(raw.allIds().empty());  // still waiting in the side file
    }
    const Stored s = Read(path);
    ASSERT_EQ(s.rows, 5);
    EXPECT_EQ(s.newestFirst[0].ruleTitle, QStringLiteral("fourth"));
    EXPECT_EQ(s.newestFirst[0].oriPath, QStringLiteral("/in/d"));
    EXPECT_EQ(s.newestFirst[1].oriPath, QStringLiteral("/in/\u00e9t\u00e9 \U0001F600"));
    EXPECT_FALSE(s.newestFirst[1].takeTime.isValid());
    EXPECT_TRUE(s.newestFirst[1].dstPath.isEmpty());
    EXPECT_EQ(s.newestFirst[1].searchWords, QStringLiteral("d,,"));
    EXPECT_EQ(s.newestFirst[1].takeUid, s.newestFirst[0].takeUid);
    EXPECT_EQ(s.newestFirst[2].ruleTitle, QStringLiteral("third"));
    EXPECT_EQ(s.newestFirst[4].ruleTitle, QStringLiteral("first"));
    EXPECT_EQ(s.newestFirst[3].oriPath, QStringLiteral("/in/b"));
    EXPECT_EQ(s.newestFirst[3].searchWords, QStringLiteral("b,"));
    EXPECT_EQ(s.newestFirst[3].takeTime, QDateTime(QDate(2024, 3, 9), QTime(14, 5, 6)));
    std::set<QString> uids;
    for (const LogRow& r : s.newestFirst) uids.insert(r.takeUid);
    EXPECT_EQ(uids.size(), 4u);
    EXPECT_TRUE(SideFiles(dir).isEmpty());
    EXPECT_EQ(Read(path).rows, 5);
}

TEST(TakeJournal, TakesStoredJustBeforeTheProcessEndedAreNotStoredTwice) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("log.db"));
    // The process stores its takes and ends before it can empty its side file.
    ASSERT_TRUE(InChildThatDies([&] {
        LogManager& log = OpenUntilTheEnd(path);
        CommitTwo(log);
        ASSERT_EQ(SideFiles(dir).size(), 1);
        QFile side(dir.file(SideFiles(dir).front()));
        ASSERT_TRUE(side.open(QIODevice::ReadOnly));
        const QByteArray bytes = side.readAll();
        ASSERT_TRUE(log.Flush());
        ASSERT_EQ(side.size(), 0);
        QFile again(side.fileName());
        ASSERT_TRUE(again.open(QIODevice::Append));
        ASSERT_EQ(again.write(bytes), bytes.size());
    }));
    EXPECT_EQ(Read(path).rows, 2);
    EXPECT_TRUE(SideFiles(dir).isEmpty());
}

TEST(TakeJournal, DamagedSideFilesGiveWhatIsWholeAndNothingElse) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("log.db"));
    ASSERT_TRUE(InChildThatDies([&] {
        LogManager& log = OpenUntilTheEnd(path);
        CommitTwo(log);
        // The process ends in the middle of writing its third take.
        JournalTake cut;
        cut.ruleTitle = QStringLiteral("cut");
        cut.rows.push_back(
            {QString(), QStringLiteral("Move"), QStringLiteral("/x"), QString(), QString()});
        QFile side(dir.file(SideFiles(dir).front()));
        ASSERT_TRUE(side.open(QIODevice::Append));
        const QByteArray bytes = TakeJournal::Encode(cut);
        side.write(bytes.left(bytes.size() - 5));
    }));
    // A side file of nothing but noise, and one with a whole take whose bytes changed.
    ASSERT_TRUE(test::WriteFile(dir.file(QStringLiteral("log.db-takes-999999-0")),
                                QByteArray(300, '\x5a')));
    JournalTake flipped;
    flipped.ruleTitle = QStringLiteral("flipped");
    flipped.rows.push_back(
        {QString(), QStringLiteral("Move"), QStringLiteral("/y"), QString(), QString()});
    QByteArray bytes = TakeJournal::Encode(flipped);
    // A letter of the title (after the 12-byte header and the lengths of the empty
    // identity stem and of the title).
    bytes[25] = static_cast<char>(bytes[25] ^ 0x40);
    ASSERT_TRUE(test::WriteFile(dir.file(QStringLiteral("log.db-takes-999999-1")), bytes));

    const Stored s = Read(path);
    EXPECT_EQ(s.rows, 2);
    for (const LogRow& r : s.newestFirst) EXPECT_EQ(r.ruleTitle, QStringLiteral("r"));
    EXPECT_TRUE(SideFiles(dir).isEmpty());
}

TEST(TakeJournal, ALivingManagersTakesAreLeftToItAndStoredInBatches) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("log.db"));
    LogManager a;
    ASSERT_TRUE(a.OpenLogFile(path));
    Commit(a, QStringLiteral("a"), QStringLiteral("one"));
    {
        // Another manager opening the log leaves a's side file alone.
        LogManager b;
        ASSERT_TRUE(b.OpenLogFile(path));
        EXPECT_EQ(b.GetActionCount(QString()), 0);
        EXPECT_EQ(SideFiles(dir).size(), 2);
    }
    EXPECT_EQ(SideFiles(dir).size(), 1);  // b's own went with it
    // Enough takes make a batch on their own, without a read or a flush.
    for (int i = 0; i < 300; ++i) Commit(a, QStringLiteral("a"), QStringLiteral("f%1").arg(i));
    {
        RawLog raw(path);
        const size_t stored = raw.allIds().size();
        EXPECT_GE(stored, 256u);
        EXPECT_LT(stored, 301u);
    }
    a.CloseLogFile();
    EXPECT_TRUE(SideFiles(dir).isEmpty());
    EXPECT_EQ(Read(path).rows, 301);
}

TEST(TakeJournal, WithoutASideFileEachTakeGoesStraightIntoTheDatabase) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("log.db"));
    // Every name this process would give its side file is taken by a folder.
    for (int n = 0; n < 64; ++n)
        ASSERT_TRUE(test::MakeDir(
            dir.file(QStringLiteral("log.db-newtakes-%1-%2").arg(::getpid()).arg(n))));
    LogManager log;
    ASSERT_TRUE(log.OpenLogFile(path));
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("log.db-takes-*")}).isEmpty());
    Commit(log, QStringLiteral("direct"), QStringLiteral("a"));
    RawLog raw(path);
    EXPECT_EQ(raw.allIds().size(), 1u);
}

}  // namespace
}  // namespace vandrel
