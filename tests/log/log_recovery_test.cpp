// Every action is in the log or not done: takes of a killed run are stored once each, even
// when alike; a log that cannot take writes says so and keeps its takes; a fresh log opened
// by many processes at once works for all of them.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "log/log_manager.h"
#include "log/log_test_util.h"
#include "log/take_journal.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

// The same record every time, as every "Add Path to" row of one item is.
bool CommitSame(LogManager& log) {
    log.AppendActionLog({QDateTime(QDate(2024, 3, 9), QTime(14, 5, 6)), QStringLiteral("/in/a"),
                         QStringLiteral("/l.txt"), QStringLiteral("AddTo"), QStringLiteral("a")});
    return log.CommitToLogFile(QStringLiteral("r"));
}

qint64 Rows(const QString& path) {
    LogManager log;
    return log.OpenLogFile(path) ? log.GetActionCount(QString()) : -1;
}

// A child process that ends as a killed one does (nothing closed or flushed); true when
// work succeeded.
pid_t Child(const std::function<bool()>& work) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(work() ? 0 : 1);
    return pid;
}
bool Succeeded(pid_t pid) {
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
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
        LogManager earlier;  // an earlier run left one row just like them
        ASSERT_TRUE(earlier.OpenLogFile(path) && CommitSame(earlier) && earlier.Flush());
        earlier.CloseLogFile();
        ASSERT_TRUE(Succeeded(Child([&] {
            auto* log = new LogManager;  // never closed: the process just ends
            bool ok = log->OpenLogFile(path);
            for (int i = 0; ok && i < c.takes; ++i) ok = CommitSame(*log);
            if (!c.storedButNotEmptied) return ok;
            QFile f(dir.file(QDir(dir.path()).entryList({"log.db-takes-*"}).value(0)));
            const QByteArray bytes = f.open(QIODevice::ReadWrite) ? f.readAll() : "";
            return ok && log->Flush() && f.size() == 0 && f.write(bytes) == bytes.size();
        }))) << c.name;
        EXPECT_EQ(Rows(path), 1 + c.takes) << c.name;
        EXPECT_EQ(Rows(path), 1 + c.takes) << c.name;
    }
    // Side files of older programs carry no identity (magic VTK1): three alike takes are
    // stored beside an alike row; the second time the same file is found stored as one run
    // of rows, and left out.
    test::TempDir dir;
    const QString path = dir.file(QStringLiteral("log.db"));
    LogManager earlier;
    ASSERT_TRUE(earlier.OpenLogFile(path) && CommitSame(earlier));
    earlier.CloseLogFile();
    // The VTK1 payload: stem, title, search text, row count, each row's four texts.
    QByteArray payload;
    const auto put32 = [&payload](quint32 v) {
        for (int i = 0; i < 4; ++i) payload += char((v >> (8 * i)) & 0xFF);
    };
    for (const QString s :
         {"2024394", "r", "a,", "", "2024-03-09 14:05:06", "AddTo", "/l.txt", "/in/a"}) {
        if (s.isEmpty()) {
            put32(1);  // the row count, between the take's texts and the row's
            continue;
        }
        put32(quint32(s.size()));
        for (const QChar c : s)
            payload.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    }
    quint32 h = 2166136261u;
    for (const char b : payload) h = (h ^ quint8(b)) * 16777619u;
    QByteArray record("VTK1");
    for (const quint32 v : {quint32(payload.size()), h})
        for (int i = 0; i < 4; ++i) record += char((v >> (8 * i)) & 0xFF);
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(test::WriteFile(dir.file("log.db-takes-1-0"), (record + payload).repeated(3)));
        EXPECT_EQ(Rows(path), 4) << round;
    }
}

TEST(LogUsable, ALogThatCannotBeWrittenStopsWorkAndKeepsItsTakes) {
    test::TempDir dir;
    const QString path = dir.file(QStringLiteral("log.db"));
    int committed = 0;
    {
        LogManager log;
        ASSERT_TRUE(log.OpenLogFile(path) && log.isUsable());
        log.freezeDatabaseSizeForTest();
        for (; committed < 500 && log.isUsable(); ++committed) {
            ASSERT_TRUE(CommitSame(log));  // safe in the side file
            (void)log.Flush();
        }
        EXPECT_FALSE(log.isUsable());
        EXPECT_FALSE(log.lastError().isEmpty());
    }
    EXPECT_EQ(Rows(path), committed);  // the next opener stored what was waiting
}

TEST(LogUsable, AFreshLogOpenedByManyProcessesAtOnceWorksForAll) {
    for (int round = 0; round < 10; ++round) {
        test::TempDir dir;
        const QString path = dir.file(QStringLiteral("log.db"));
        int gate[2];
        ASSERT_EQ(::pipe(gate), 0);
        std::vector<pid_t> children;
        for (int i = 0; i < 6; ++i)
            children.push_back(Child([&] {
                char c;
                ::close(gate[1]);
                (void)::read(gate[0], &c, 1);  // all start when the gate closes
                LogManager log;
                return log.OpenLogFile(path) && CommitSame(log) && log.Flush();
            }));
        ::close(gate[0]);
        ::close(gate[1]);
        for (const pid_t pid : children) EXPECT_TRUE(Succeeded(pid)) << "round " << round;
        EXPECT_EQ(Rows(path), 6) << "round " << round;
    }
}

// A log of an older program (no folded words, no index, no packs) made searchable at its
// first opening by a process killed part-way (folding, indexing, packing): what it did is
// kept, and the next opening and search do the rest; every count and page is the scan's.
TEST(LogRecovery, AKilledFirstOpeningOfAnOlderLogIsFinishedByTheNext) {
    constexpr int kRows = 45000;
    for (const int killedAtStep : {2, 4, 8}) {
        test::TempDir dir;
        const QString path = dir.file(QStringLiteral("log.db"));
        QFile(path).open(QIODevice::WriteOnly);  // an empty file: SQLite makes a database of it
        test::RawLog raw(path);
        ASSERT_TRUE(raw.exec(
            QStringLiteral(
                "CREATE TABLE actions (id INTEGER PRIMARY KEY, taketime, ruletitle, actionname, "
                "dstpath, oripath, searchwords, takeuid); WITH RECURSIVE n(i) AS (SELECT 1 UNION "
                "ALL SELECT i + 1 FROM n WHERE i < %1) INSERT INTO actions (searchwords) SELECT "
                "'Photo_' || i || (CASE WHEN i % 7 = 0 THEN '.JPG,' ELSE '.txt,' END) FROM n")
                .arg(kRows)));
        int steps = 0;
        ASSERT_FALSE(Succeeded(Child([&] {
            auto* log = new LogManager;
            return log->OpenLogFile(path, [&](qint64, qint64) {
                if (++steps == killedAtStep) ::_exit(1);
            });
        })));
        qint64 lastDone = 0, lastTotal = 0;
        LogManager log;
        ASSERT_TRUE(
            log.OpenLogFile(path, [&](qint64 d, qint64 t) { lastDone = d, lastTotal = t; }));
        EXPECT_EQ(lastDone, lastTotal) << killedAtStep;
        for (const char* word : {"photo_4", ".jpg", "_1_", "9%jpg"}) {
            const QString like = QStringLiteral("%%1%").arg(QLatin1String(word));
            const std::vector<qint64> all = raw.ids(
                QStringLiteral("SELECT id FROM actions WHERE searchwords LIKE ?1 ORDER BY id DESC"),
                {like}, {});
            EXPECT_EQ(log.GetActionCount(QLatin1String(word)), qint64(all.size())) << word;
            EXPECT_EQ(test::IdsOf(log.SearchActionLog(QLatin1String(word), 9, 30)),
                      std::vector<qint64>(all.begin() + std::min<size_t>(all.size(), 261),
                                          all.begin() + std::min<size_t>(all.size(), 270)))
                << word;
        }
        EXPECT_EQ(raw.ids(QStringLiteral("SELECT indexedthrough FROM logsearch"), {}, {}),
                  std::vector<qint64>{kRows});
        EXPECT_EQ(raw.ids(QStringLiteral("SELECT count(*) FROM searchpacks WHERE texts NOT NULL"),
                          {}, {}),
                  std::vector<qint64>{kRows / 1024});
    }
}

}  // namespace
}  // namespace vandrel
