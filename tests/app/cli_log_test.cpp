// "vandrel log" end to end through the real binary, on a log seeded by LogManager.
#include <gtest/gtest.h>

#include <QDir>

#include "log/log_manager.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::Cli;

// 20 takes of one row each: ids 1..20, file names f1.txt .. f20.txt.
void SeedLog(const QString& dataDir) {
    LogManager log;
    ASSERT_TRUE(test::MakeDir(dataDir) && log.OpenLogFile(dataDir + QStringLiteral("/log.db")))
        << log.lastError().toStdString();
    for (int i = 1; i <= 20; ++i) {
        const QString name = QStringLiteral("f%1.txt").arg(i);
        ActionLog a;
        a.takeTime = QDateTime(QDate(2024, 3, 9), QTime(8, 5, i));
        a.oriPath = QStringLiteral("/in/") + name;
        a.dstPath =
            i == 20 ? QStringLiteral("/out/tab\there\\") + name : QStringLiteral("/out/") + name;
        a.actionName = QStringLiteral("Move");
        a.searchWords = name;
        log.AppendActionLog(a);
        ASSERT_TRUE(log.CommitToLogFile(i % 2 ? QStringLiteral("Odd") : QStringLiteral("Even")));
    }
}

TEST(CliLog, PagesNewestFirstWithTabSeparatedFields) {
    Cli cli;
    SeedLog(cli.data);
    auto r = cli.run({"log"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 17);
    // A tab and a backslash inside a path are escaped so the row stays seven fields; the
    // last is the run (each take committed outside a run is a run of its own).
    const auto field = [&lines](int line, int from, int to = -1) {
        return lines[line].section(QLatin1Char('\t'), from, to < 0 ? from : to);
    };
    EXPECT_EQ(field(0, 0, 5), QStringLiteral("20\t2024-03-09 08:05:20\tEven\tMove\t/in/f20.txt\t"
                                             "/out/tab\\there\\\\f20.txt"));
    EXPECT_EQ(field(1, 0, 5),
              QStringLiteral("19\t2024-03-09 08:05:19\tOdd\tMove\t/in/f19.txt\t/out/f19.txt"));
    EXPECT_TRUE(field(0, 6).contains(QLatin1Char('-')) && field(0, 6) != field(1, 6));
    EXPECT_TRUE(lines[16].startsWith(QStringLiteral("4\t")));

    lines = cli.lines({"log", "--page", "2"});
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("1\t")));
    EXPECT_TRUE(cli.lines({"log", "--page=3"}).isEmpty());
    // A word: f1.txt and f10.txt .. f19.txt.
    EXPECT_EQ(cli.lines({"log", "f1"}).size(), 11);
    EXPECT_EQ(cli.lines({"log", "--count", "f1"}), QStringList{"11"});
    EXPECT_EQ(cli.lines({"log", "--count"}), QStringList{"20"});
    // A word that looks like an option, after "--".
    EXPECT_EQ(cli.lines({"log", "--count", "--", "-x"}), QStringList{"0"});
}

TEST(CliLog, LogThatCannotBeOpenedOrIsDamaged) {
    Cli cli;
    const QString db = cli.folder("data/log.db");
    auto r = cli.run({"log"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());

    ASSERT_TRUE(QDir(db).removeRecursively());
    ASSERT_TRUE(test::WriteFile(db, "not a database at all"));
    r = cli.run({"log", "--count"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("0\n"));
    EXPECT_TRUE(r.err.contains(QStringLiteral("log.db.unreadable-"))) << r.err.toStdString();
    const QStringList kept =
        QDir(cli.data).entryList({QStringLiteral("log.db.unreadable-*")}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(test::ReadFile(cli.data + QLatin1Char('/') + kept[0]),
              QByteArray("not a database at all"));
}

}  // namespace
}  // namespace vandrel
