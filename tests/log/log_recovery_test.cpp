// Every action is in the log or not done: takes of a killed run are stored once each, even
// when they are alike; a log that cannot take writes says so; a fresh log opened by many
// processes at once is made once and works for all of them.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "log/log_manager.h"
#include "log/take_journal.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

// The same record every time, as every "Add Path to" row of one item is.
bool CommitSame(LogManager& log) {
    log.AppendActionLog({QDateTime(QDate(2024, 3, 9), QTime(14, 5, 6)), QStringLiteral("/in/a"),
                         QStringLiteral("/lists/l.txt"), QStringLiteral("AddTo"),
                         QStringLiteral("a")});
    return log.CommitToLogFile(QStringLiteral("r"));
}

qint64 Rows(const QString& path) {
    LogManager log;
    return log.OpenLogFile(path) ? log.GetActionCount(QString()) : -1;
}

// Runs work in a child that ends the way a killed process does: nothing closed or flushed.
int InChildThatDies(const std::function<bool()>& work) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(work() ? 0 : 1);
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(LogRecovery, AlikeTakesOfAKilledRunAreEachStoredOnce) {
    const struct {
        const char* name;
        int takes;
        bool storedButNotEmptied;  // stored, then killed before the side file was emptied
    } cases[] = {{"all waiting", 62, false},
                 {"some stored in between", 300, false},
                 {"stored, side file still full", 40, true}};
    for (const auto& c : cases) {
        test::TempDir dir;
        const QString path = dir.file(QStringLiteral("log.db"));
        {
            LogManager earlier;  // an earlier run left one row just like them
            ASSERT_TRUE(earlier.OpenLogFile(path) && CommitSame(earlier));
        }
        ASSERT_EQ(InChildThatDies([&] {
                      auto* log = new LogManager;  // never closed: the process just ends
                      bool ok = log->OpenLogFile(path);
                      for (int i = 0; ok && i < c.takes; ++i) ok = CommitSame(*log);
                      if (!c.storedButNotEmptied) return ok;
                      const QStringList side = QDir(dir.path()).entryList({"log.db-takes-*"});
                      QFile f(dir.file(side.value(0)));
                      const QByteArray bytes = f.open(QIODevice::ReadWrite) ? f.readAll() : "";
                      return ok && log->Flush() && f.size() == 0 && f.write(bytes) == bytes.size();
                  }),
                  0)
            << c.name;
        EXPECT_EQ(Rows(path), 1 + c.takes) << c.name;
        EXPECT_EQ(Rows(path), 1 + c.takes) << c.name;
    }
}

TEST(LogRecovery, SideFilesOfOlderProgramsAreStoredOnce) {
    test::TempDir dir;
    const QString path = dir.file(QStringLiteral("log.db"));
    {
        LogManager earlier;
        ASSERT_TRUE(earlier.OpenLogFile(path) && CommitSame(earlier) && earlier.Flush());
    }
    // Three alike takes as an older program wrote them: no identity, magic VTK1.
    JournalTake take{{},
                     0,
                     QStringLiteral("2024394"),
                     QStringLiteral("r"),
                     QStringLiteral("a,"),
                     {{QStringLiteral("2024-03-09 14:05:06"), QStringLiteral("AddTo"),
                       QStringLiteral("/lists/l.txt"), QStringLiteral("/in/a")}}};
    QByteArray payload = TakeJournal::Encode(take).mid(12 + 4 + 8);
    quint32 h = 2166136261u;
    for (const char b : payload) h = (h ^ quint8(b)) * 16777619u;
    QByteArray record("VTK1");
    for (const quint32 v : {quint32(payload.size()), h})
        for (int i = 0; i < 4; ++i) record += char((v >> (8 * i)) & 0xFF);
    record += payload;
    for (int round = 0; round < 2; ++round) {
        // The second time the same file is found stored as one run, and left out.
        ASSERT_TRUE(test::WriteFile(dir.file(QStringLiteral("log.db-takes-1-0")),
                                    record + record + record));
        EXPECT_EQ(Rows(path), 4) << round;
    }
}

TEST(LogUsable, ALogThatCannotBeWrittenStopsWorkAndKeepsItsTakes) {
    test::TempDir dir;
    const QString path = dir.file(QStringLiteral("log.db"));
    int committed = 0;
    {
        LogManager log;
        ASSERT_TRUE(log.OpenLogFile(path));
        EXPECT_TRUE(log.isUsable());
        log.freezeDatabaseSizeForTest();
        for (; committed < 500 && log.isUsable(); ++committed) {
            ASSERT_TRUE(CommitSame(log));  // safe in the side file
            (void)log.Flush();
        }
        EXPECT_FALSE(log.isUsable());
        EXPECT_FALSE(log.lastError().isEmpty());
    }
    EXPECT_EQ(Rows(path), committed);  // the next opener stored what was waiting

    const QString folder = dir.file(QStringLiteral("folder.db"));
    ASSERT_TRUE(QDir().mkpath(folder));
    LogManager log;
    EXPECT_FALSE(log.OpenLogFile(folder));
    EXPECT_FALSE(log.isUsable());
    EXPECT_FALSE(CommitSame(log));
}

TEST(LogUsable, AFreshLogOpenedByManyProcessesAtOnceWorksForAll) {
    for (int round = 0; round < 10; ++round) {
        test::TempDir dir;
        const QString path = dir.file(QStringLiteral("log.db"));
        int gate[2];
        ASSERT_EQ(::pipe(gate), 0);
        std::vector<pid_t> children;
        for (int i = 0; i < 6; ++i) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                char c;
                ::close(gate[1]);
                (void)::read(gate[0], &c, 1);  // all start when the gate closes
                LogManager log;
                ::_exit(log.OpenLogFile(path) && CommitSame(log) && log.Flush() ? 0 : 1);
            }
            children.push_back(pid);
        }
        ::close(gate[0]);
        ::close(gate[1]);
        for (const pid_t pid : children) {
            int status = 0;
            ASSERT_EQ(::waitpid(pid, &status, 0), pid);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
        }
        EXPECT_EQ(Rows(path), 6) << "round " << round;
    }
}

}  // namespace
}  // namespace vandrel
