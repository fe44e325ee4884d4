// Every action is in the log or not done: commands that act stop before the first item when
// the action log cannot record; commands that do not act never open it.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>

#include "support/test_util.h"

namespace vandrel {
namespace {

QString Q(const char* s) { return QString::fromUtf8(s); }

TEST(CliLogUsable, ActingCommandsStopBeforeActingWithoutALogThatRecords) {
    const struct {
        const char* name;
        int logKind;       // 0 fine, 1 a folder, 2 a database with someone else's "actions" table
        QStringList args;  // "IN" stands for the folder of the item
        int exit;
        bool acts;
    } cases[] = {
        {"apply, log fine", 0, {Q("apply"), Q("IN/a.txt")}, 0, true},
        {"apply, folder as log", 1, {Q("apply"), Q("IN/a.txt")}, 1, false},
        {"organize, folder as log", 1, {Q("organize"), Q("IN")}, 1, false},
        {"apply, foreign table", 2, {Q("apply"), Q("IN/a.txt")}, 1, false},
        {"rules import, folder as log",
         1,
         {Q("rules"), Q("import"), Q("--yes"), Q("IN/r")},
         0,
         false},
    };
    for (const auto& c : cases) {
        test::TempDir home;
        const QString data = home.file(Q("data")), in = home.file(Q("in")),
                      out = home.file(Q("out"));
        ASSERT_TRUE(QDir().mkpath(out) && test::WriteFile(in + Q("/a.txt"), "a"));
        const QByteArray rule = "Any<|RU|>All<|RU|>Any<|CP|>is<|CD|><|RU|>Move to<|AP|>" +
                                out.toUtf8() + "<|AC|>0<|AC|><|AC|>1<|RU|>";
        ASSERT_TRUE(test::WriteFile(data + Q("/rules.txt"), rule + "\r\n"));
        ASSERT_TRUE(test::WriteFile(in + Q("/r"), rule + "\r\n"));
        const QString log = data + Q("/log.db");
        if (c.logKind == 1) {
            ASSERT_TRUE(QDir().mkpath(log));
        } else if (c.logKind == 2) {
            sqlite3* db = nullptr;
            ASSERT_EQ(sqlite3_open(log.toUtf8().constData(), &db), SQLITE_OK);
            sqlite3_exec(db, "CREATE TABLE actions (id INTEGER PRIMARY KEY, x)", 0, 0, 0);
            sqlite3_close(db);
        }
        QStringList args = {Q("--data-dir"), data};
        for (const QString& a : c.args) args << QString(a).replace(Q("IN"), in);
        const test::ProcessResult r = test::RunVandrel(args, home.path());
        EXPECT_EQ(r.exitCode, c.exit) << c.name << ": " << r.err.toStdString();
        EXPECT_EQ(QFile::exists(in + Q("/a.txt")), !c.acts) << c.name;
        EXPECT_EQ(r.err.contains(Q("action log")), c.exit != 0)
            << c.name << ": " << r.err.toStdString();
        EXPECT_LE(r.err.count(QLatin1Char('\n')), 1) << c.name;
    }
}

}  // namespace
}  // namespace vandrel
