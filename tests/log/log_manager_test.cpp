// The log store: takes, search words, paging, counts, and logs that are missing,
// unreachable or damaged.
#include "log/log_manager.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

#include "log/log_test_util.h"
#include "platform/clock.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::CommitTake;
using test::IdsOf;
using test::RawLog;
using test::TakeRecord;
using test::TempDir;

TakeRecord Rec(const QString& name, const QString& action = "Move") {
    return {"/home/u/Downloads/" + name, "/home/u/Sorted/" + name, action, name};
}

class LogManagerTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(log.OpenLogFile(path)) << log.lastError().toStdString(); }
    TempDir dir;
    QString path = dir.file("log.db");
    FakeClock clock{QDateTime(QDate(2008, 1, 5), QTime(9, 7, 3))};
    LogManager log{&clock};
};

std::vector<qint64> Range(qint64 from, qint64 downTo) {
    std::vector<qint64> out;
    for (qint64 i = from; i >= downTo; --i) out.push_back(i);
    return out;
}

TEST_F(LogManagerTest, PagesOfSeventeenNewestFirstAcrossThreePages) {
    for (int i = 1; i <= 40; ++i)
        ASSERT_TRUE(CommitTake(log, "r", {Rec(QStringLiteral("f%1").arg(i))}));
    // Page 3 skips the 34 newest; page numbers below 1 mean page 1.
    EXPECT_EQ(IdsOf(log.SearchActionLog(QString(), 17, 3)), Range(6, 1));
    EXPECT_TRUE(log.SearchActionLog(QString(), 17, 4).empty());
    EXPECT_EQ(IdsOf(log.SearchActionLog(QString(), 17, 0)), Range(40, 24));
    EXPECT_EQ(IdsOf(log.SearchActionLog(QString(), 17, -5)), Range(40, 24));
    EXPECT_TRUE(log.SearchActionLog(QString(), 0, 1).empty());
    EXPECT_TRUE(log.SearchActionLog(QString(), 17, std::numeric_limits<qint64>::max()).empty());

    const std::vector<LogRow> rows = log.SearchActionLog("f33", 17, 1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].dstPath, "/home/u/Sorted/f33");  // the other fields: the tests below
}

TEST_F(LogManagerTest, OneTakeSharesIdentityTitleAndSearchText) {
    // A rename then a move of one file under one rule.
    ASSERT_TRUE(CommitTake(log, "Tidy",
                           {{"/d/a.txt", "/d/b.txt", "Rename", "a.txt,b.txt"},
                            {"/d/b.txt", "/e/b.txt", "Move", "b.txt"}}));
    const std::vector<LogRow> rows = log.SearchActionLog(QString(), 17, 1);
    ASSERT_EQ(rows.size(), 2u);
    // Rows are added in record order, so the move is the newest.
    EXPECT_EQ(rows[0].actionName, "Move");
    EXPECT_EQ(rows[1].actionName, "Rename");
    for (const LogRow& r : rows) {
        EXPECT_EQ(r.ruleTitle, "Tidy");
        EXPECT_EQ(r.searchWords, "b.txt,a.txt,b.txt,");
        EXPECT_EQ(r.takeUid, rows[0].takeUid);
    }
    // 5 January 2008 09:07:03 without leading zeros, then 0..9999.
    const QString prefix = "200815973";
    ASSERT_TRUE(rows[0].takeUid.startsWith(prefix)) << rows[0].takeUid.toStdString();
    bool isNumber = false;
    const int random = rows[0].takeUid.mid(prefix.size()).toInt(&isNumber);
    EXPECT_TRUE(isNumber && random >= 0 && random <= 9999) << rows[0].takeUid.toStdString();

    // Takes at the same second still get an identity of their own, so the log view
    // colours them apart.
    QString previous = rows[0].takeUid;
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(CommitTake(log, "Again", {Rec("x")}));
        const QString uid = log.SearchActionLog(QString(), 1, 1).at(0).takeUid;
        ASSERT_NE(uid, previous);
        ASSERT_TRUE(uid.startsWith(prefix));
        previous = uid;
    }
    // Nothing pending: nothing written, and that is no failure.
    EXPECT_TRUE(log.CommitToLogFile("Empty"));
    EXPECT_EQ(log.GetActionCount(QString()), 202);
}

TEST_F(LogManagerTest, LargeTakeKeepsRecordOrderAndIsAllOrNothing) {
    std::vector<TakeRecord> records;
    QString expectedWords;
    for (int i = 0; i < 19; ++i) {
        records.push_back(Rec(QStringLiteral("n%1").arg(i)));
        expectedWords.prepend(QStringLiteral("n%1,").arg(i));
    }
    ASSERT_TRUE(CommitTake(log, "Big", records));
    const std::vector<LogRow> rows = log.SearchActionLog(QString(), 50, 1);
    ASSERT_EQ(rows.size(), 19u);
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].id, qint64(19 - i));
        EXPECT_EQ(rows[i].oriPath, QStringLiteral("/home/u/Downloads/n%1").arg(18 - i));
        EXPECT_EQ(rows[i].searchWords, expectedWords);
    }

    // The database refuses the tenth record of the next take: none of it is stored, the
    // failure is reported, and the following take is written whole.
    {
        RawLog raw(path);
        ASSERT_TRUE(raw.exec(QStringLiteral(
            "CREATE TRIGGER refuse BEFORE INSERT ON actions WHEN NEW.oripath LIKE '%boom' "
            "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    }
    records[9].oriPath = "/in/boom";
    EXPECT_FALSE(CommitTake(log, "Refused", records));
    EXPECT_TRUE(log.lastError().contains("refused")) << log.lastError().toStdString();
    EXPECT_EQ(log.GetActionCount(QString()), 19);
    EXPECT_TRUE(log.lastError().isEmpty());
    ASSERT_TRUE(CommitTake(log, "After", {Rec("z")}));
    EXPECT_EQ(log.GetActionCount(QString()), 20);
    EXPECT_EQ(log.SearchActionLog(QString(), 1, 1).at(0).searchWords, "z,");
}

TEST_F(LogManagerTest, SearchWordsQuotesWildcardsAndCase) {
    for (const char* name : {"its plan.txt", "it's mine.txt", "abc.txt", "a_c.txt", "axxc.txt",
                             "ABC.TXT", "100%.txt", "[1].txt"})
        ASSERT_TRUE(CommitTake(log, "r", {Rec(QString::fromUtf8(name))}));
    struct Case {
        const char* word;
        int count;
    };
    const Case cases[] = {
        {"it's", 1},  // searched as "its": the quote is removed, not doubled
        {"'", 8},     // nothing left but the empty word
        {"a_c", 3},   // _ stands for one character: abc, a_c, ABC
        {"a%c", 4},   // % for any run: abc, a_c, axxc, ABC
        {"[1]", 1},   // brackets are plain characters
        {"zzz", 0},
    };
    for (const Case& c : cases) {
        const QString word = QString::fromUtf8(c.word);
        EXPECT_EQ(log.GetActionCount(word), c.count) << c.word;
        EXPECT_EQ(log.SearchActionLog(word, 17, 1).size(), size_t(c.count)) << c.word;
    }
    // A quote cannot break out of the query.
    EXPECT_EQ(log.GetActionCount("' or 1=1 --"), 0);
    // A word longer than the database takes in a pattern: no rows, a reason, no crash.
    const QString huge(100000, QLatin1Char('x'));
    EXPECT_TRUE(log.SearchActionLog(huge, 17, 1).empty());
    EXPECT_FALSE(log.lastError().isEmpty());
    EXPECT_EQ(log.GetActionCount(huge), 0);
}

// Times come back as they were; a row without search words (from an older program) is left
// out of the empty word's count but shown on the pages.
TEST_F(LogManagerTest, RecordTimesAndRowsWithoutSearchWords) {
    const QDateTime times[] = {QDateTime(QDate(2024, 12, 31), QTime(23, 59, 58)),
                               QDateTime(QDate(987, 1, 2), QTime(3, 4, 5)),
                               QDateTime(QDate(2024, 3, 9), QTime(0, 0, 0)), QDateTime()};
    for (const QDateTime& t : times) ASSERT_TRUE(CommitTake(log, "r", {Rec("a")}, t));
    RawLog raw(path);
    ASSERT_TRUE(raw.exec(QStringLiteral(
        "INSERT INTO actions (taketime, ruletitle, searchwords) VALUES (NULL, 'x', NULL)")));
    EXPECT_EQ(log.GetActionCount(QString()), 4);
    const std::vector<LogRow> rows = log.SearchActionLog(QString(), 10, 1);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_FALSE(rows[0].takeTime.isValid());
    EXPECT_TRUE(rows[0].searchWords.isNull());
    for (size_t i = 1; i < rows.size(); ++i) EXPECT_EQ(rows[i].takeTime, times[4 - i]) << i;
}

TEST_F(LogManagerTest, RecordByIdAndReopenKeepsRowsAndIdsKeepIncreasing) {
    ASSERT_TRUE(CommitTake(log, "r", {Rec("a"), Rec("b")}));
    ASSERT_TRUE(log.GetActionRecord("2").has_value());
    EXPECT_EQ(log.GetActionRecord("2")->oriPath, "/home/u/Downloads/b");
    EXPECT_TRUE(log.GetActionRecord(" 1 ").has_value());
    for (const char* bad : {"3", "", "abc", "1 or 1=1", "0x1"})
        EXPECT_FALSE(log.GetActionRecord(QString::fromUtf8(bad)).has_value()) << bad;
    log.CloseLogFile();
    // Appended while closed: the commit fails and the records do not linger.
    log.AppendActionLog(ActionLog{});
    EXPECT_FALSE(log.CommitToLogFile("lost"));
    {
        RawLog raw(path);
        ASSERT_TRUE(raw.exec("DELETE FROM actions WHERE id = 2"));
    }
    LogManager again(&clock);
    ASSERT_TRUE(again.OpenLogFile(path)) << again.lastError().toStdString();
    EXPECT_EQ(again.GetActionCount(QString()), 1);
    ASSERT_TRUE(CommitTake(again, "r", {Rec("c")}));
    // A new row always takes an id above every stored one, so newest-first stays true.
    EXPECT_EQ(IdsOf(again.SearchActionLog(QString(), 17, 1)), (std::vector<qint64>{2, 1}));
    EXPECT_EQ(again.GetActionRecord("2")->oriPath, Rec("c").oriPath);
}

// Every call after a failed open answers "nothing" and nothing crashes.
void ExpectClosedLogAnswersNothing(LogManager& log) {
    EXPECT_FALSE(log.isOpen());
    EXPECT_FALSE(log.lastError().isEmpty());
    EXPECT_TRUE(log.SearchActionLog(QString(), 17, 1).empty());
    EXPECT_EQ(log.GetActionCount(QString()), 0);
    EXPECT_FALSE(log.GetActionRecord("1").has_value());
    log.AppendActionLog(ActionLog{});
    EXPECT_FALSE(log.CommitToLogFile("r"));
    // The failed take was dropped, not carried into the next one.
    EXPECT_TRUE(log.CommitToLogFile("r"));
}

TEST(LogManagerOpenTest, LogThatCannotBeOpenedLeavesTheManagerClosed) {
    TempDir dir;
    ASSERT_TRUE(test::MakeDir(dir.file("folder.db")));
    ASSERT_TRUE(test::WriteFile(dir.file("plain"), "x"));
    const QString paths[] = {
        dir.file("folder.db"),           // a folder, not a file
        dir.file("plain/log.db"),        // its "folder" is a file
        dir.file("missing/sub/log.db"),  // its folder is missing
        QString(),
    };
    for (const QString& p : paths) {
        SCOPED_TRACE(p.toStdString());
        LogManager log;
        EXPECT_FALSE(log.OpenLogFile(p));
        ExpectClosedLogAnswersNothing(log);
    }
    EXPECT_TRUE(QFileInfo(dir.file("folder.db")).isDir());
}

TEST(LogManagerOpenTest, FolderOrFileWithoutWritePermission) {
    if (geteuid() == 0) GTEST_SKIP() << "running as root: permissions do not stop root";
    TempDir dir;
    const QString locked = dir.file("locked");
    ASSERT_TRUE(test::MakeDir(locked));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    LogManager log;
    EXPECT_FALSE(log.OpenLogFile(locked + "/log.db"));
    ExpectClosedLogAnswersNothing(log);
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // A log file that may not be written: refused (actions could not be logged), and
    // left exactly as it was.
    const QString path = dir.file("log.db");
    {
        LogManager first;
        ASSERT_TRUE(first.OpenLogFile(path));
        ASSERT_TRUE(CommitTake(first, "r", {Rec("a")}));
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    const QByteArray before = test::ReadFile(path);
    LogManager readOnly;
    EXPECT_FALSE(readOnly.OpenLogFile(path));
    EXPECT_TRUE(readOnly.lastError().contains("read-only")) << readOnly.lastError().toStdString();
    ExpectClosedLogAnswersNothing(readOnly);
    EXPECT_EQ(test::ReadFile(path), before);
    EXPECT_TRUE(readOnly.keptAsidePath().isEmpty());
}

// Plain text with a stale write-ahead file, and a log whose header survived but whose schema
// page is scrambled: each is kept aside, and a fresh log is started and then kept.
TEST(LogManagerOpenTest, DamagedLogIsKeptAsideAndAFreshOneStarted) {
    TempDir dir;
    QByteArray scrambled;
    {
        LogManager log;
        ASSERT_TRUE(log.OpenLogFile(dir.file("healthy.db")));
        for (int i = 0; i < 50; ++i)
            ASSERT_TRUE(CommitTake(log, "r", {Rec(QStringLiteral("a%1").arg(i))}));
    }
    scrambled = test::ReadFile(dir.file("healthy.db"));
    ASSERT_GT(scrambled.size(), 4096);
    for (int i = 100; i < 4096; ++i) scrambled[i] = char(0xA5 ^ i);
    const struct {
        const char* name;
        QByteArray bytes, wal;
    } cases[] = {
        {"text", QByteArray("this is no database, only some text\n").repeated(200), "stale"},
        {"scrambled", scrambled, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.file(QLatin1String(c.name) + ".db");
        ASSERT_TRUE(test::WriteFile(path, c.bytes));
        if (!c.wal.isEmpty()) {
            ASSERT_TRUE(test::WriteFile(path + "-wal", c.wal));
        }
        LogManager log;
        ASSERT_TRUE(log.OpenLogFile(path)) << log.lastError().toStdString();
        const QString aside = log.keptAsidePath();
        ASSERT_TRUE(aside.startsWith(path + ".unreadable-")) << aside.toStdString();
        EXPECT_EQ(test::ReadFile(aside), c.bytes);
        EXPECT_EQ(test::ReadFile(aside + "-wal"), c.wal);
        EXPECT_EQ(log.GetActionCount(QString()), 0);
        ASSERT_TRUE(CommitTake(log, "r", {Rec("a")}));
        LogManager again;
        ASSERT_TRUE(again.OpenLogFile(path));
        EXPECT_TRUE(again.keptAsidePath().isEmpty());
        EXPECT_EQ(again.GetActionCount(QString()), 1);
    }
}

TEST(LogManagerOpenTest, DatabaseWithForeignActionsTableIsRefusedUntouched) {
    TempDir dir;
    const QString path = dir.file("log.db");
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE actions (id INTEGER PRIMARY KEY, what TEXT)",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    LogManager log;
    EXPECT_FALSE(log.OpenLogFile(path));
    EXPECT_TRUE(log.lastError().contains("no usable action table"))
        << log.lastError().toStdString();
    ExpectClosedLogAnswersNothing(log);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(log.keptAsidePath().isEmpty());
}

}  // namespace
}  // namespace vandrel
