// vandrel undo end to end: a dry run changes nothing, --last and --run put an organize run
// back and redo it, a conflict makes status 1, and bad identities are usage errors.
#include <gtest/gtest.h>

#include <QFileInfo>

#include "support/test_util.h"

namespace vandrel {
namespace {

QString Q(const char* s) { return QString::fromUtf8(s); }

TEST(CliUndo, DryRunUndoRedoAndConflicts) {
    test::Cli cli;
    const QString in = cli.folder(Q("in")), out = cli.folder(Q("out"));
    for (const char* name : {"/a.txt", "/b.txt"}) ASSERT_TRUE(test::WriteFile(in + Q(name), name));
    ASSERT_TRUE(
        cli.writeRules({Q("Sort<|RU|>All<|RU|>Extension<|CP|>is<|CD|>txt<|RU|>Move to<|AP|>") +
                        out + Q("<|AC|>0<|AC|><|AC|>1<|RU|>")}));
    ASSERT_EQ(cli.run({Q("organize"), in}).exitCode, 0);
    // Both rows carry the organize command's one run.
    const QStringList rows = cli.lines({Q("log")});
    ASSERT_EQ(rows.size(), 2);
    const QString run = rows[0].section(QLatin1Char('\t'), 6);
    EXPECT_TRUE(run.contains(QLatin1Char('-')) && rows[1].endsWith(run))
        << rows.join('\n').toStdString();

    const QStringList dry = cli.lines({Q("undo"), Q("--dry-run"), Q("--last")});
    ASSERT_EQ(dry.size(), 2) << dry.join('\n').toStdString();
    EXPECT_TRUE(
        dry[0].startsWith(Q("would undo\t2\tMove\t") + out + Q("/b.txt\t") + in + Q("/b.txt")));
    EXPECT_TRUE(QFileInfo::exists(out + Q("/a.txt")));

    auto r = cli.run({Q("undo"), Q("--run"), run});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(in + Q("/a.txt")) && QFileInfo::exists(in + Q("/b.txt")));
    // The undo is the newest run; undoing it redoes the organize run.
    ASSERT_EQ(cli.run({Q("undo"), Q("--last")}).exitCode, 0);
    EXPECT_TRUE(QFileInfo::exists(out + Q("/a.txt")) && !QFileInfo::exists(in + Q("/a.txt")));

    ASSERT_TRUE(test::WriteFile(in + Q("/a.txt"), "a newcomer"));
    r = cli.run({Q("undo"), Q("--run"), run});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains(Q("left alone\t1\tMove"))) << r.out.toStdString();
    EXPECT_EQ(test::ReadFile(in + Q("/a.txt")), "a newcomer");
    EXPECT_EQ(test::ReadFile(out + Q("/a.txt")), "/a.txt");

    for (const QStringList& bad :
         {QStringList{Q("undo")}, QStringList{Q("undo"), Q("--run"), Q("x-1")},
          QStringList{Q("undo"), Q("--row"), Q("nine")},
          QStringList{Q("undo"), Q("1"), Q("--last")}})
        EXPECT_EQ(cli.run(bad).exitCode, 2) << bad.join(' ').toStdString();
}

}  // namespace
}  // namespace vandrel
