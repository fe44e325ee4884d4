// "vandrel log" end to end through the real binary, on a log seeded by LogManager.
#include <gtest/gtest.h>

#include <QDir>

#include "log/log_manager.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::RunVandrel;
using test::TempDir;

// 20 takes of one row each: ids 1..20, file names f1.txt .. f20.txt.
void SeedLog(const QString& dataDir) {
    ASSERT_TRUE(test::MakeDir(dataDir));
    LogManager log;
    ASSERT_TRUE(log.OpenLogFile(dataDir + QStringLiteral("/log.db")))
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

QStringList Lines(const QString& out) { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }

class CliLogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        data = home.file(QStringLiteral("data"));
        SeedLog(data);
    }
    test::ProcessResult Log(QStringList args) {
        args.prepend(QStringLiteral("log"));
        args.prepend(data);
        args.prepend(QStringLiteral("--data-dir"));
        return RunVandrel(args, home.path());
    }
    TempDir home;
    QString data;
};

TEST_F(CliLogTest, PagesNewestFirstWithTabSeparatedFields) {
    auto r = Log({});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    QStringList lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 17);
    // A tab and a backslash inside a path are escaped so the row stays six fields.
    EXPECT_EQ(lines[0], QStringLiteral("20\t2024-03-09 08:05:20\tEven\tMove\t/in/f20.txt\t"
                                       "/out/tab\\there\\\\f20.txt"));
    EXPECT_EQ(lines[1],
              QStringLiteral("19\t2024-03-09 08:05:19\tOdd\tMove\t/in/f19.txt\t/out/f19.txt"));
    EXPECT_TRUE(lines[16].startsWith(QStringLiteral("4\t")));

    r = Log({QStringLiteral("--page"), QStringLiteral("2")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("1\t")));

    r = Log({QStringLiteral("--page=3")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.isEmpty());

    // A word: f1.txt and f10.txt .. f19.txt.
    r = Log({QStringLiteral("f1")});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(Lines(r.out).size(), 11);
    r = Log({QStringLiteral("--count"), QStringLiteral("f1")});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QStringLiteral("11\n"));
    r = Log({QStringLiteral("--count")});
    EXPECT_EQ(r.out, QStringLiteral("20\n"));
    // A word that looks like an option, after "--".
    r = Log({QStringLiteral("--count"), QStringLiteral("--"), QStringLiteral("-x")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QStringLiteral("0\n"));
}

TEST(CliLog, LogThatCannotBeOpenedOrIsDamaged) {
    TempDir home;
    const QString data = home.file(QStringLiteral("data"));
    ASSERT_TRUE(test::MakeDir(data + QStringLiteral("/log.db")));
    auto r = RunVandrel({QStringLiteral("--data-dir"), data, QStringLiteral("log")}, home.path());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());

    ASSERT_TRUE(QDir(data + QStringLiteral("/log.db")).removeRecursively());
    ASSERT_TRUE(test::WriteFile(data + QStringLiteral("/log.db"), "not a database at all"));
    r = RunVandrel(
        {QStringLiteral("--data-dir"), data, QStringLiteral("log"), QStringLiteral("--count")},
        home.path());
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("0\n"));
    EXPECT_TRUE(r.err.contains(QStringLiteral("log.db.unreadable-"))) << r.err.toStdString();
    const QStringList kept =
        QDir(data).entryList({QStringLiteral("log.db.unreadable-*")}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(test::ReadFile(data + QLatin1Char('/') + kept[0]),
              QByteArray("not a database at all"));
}

}  // namespace
}  // namespace vandrel
