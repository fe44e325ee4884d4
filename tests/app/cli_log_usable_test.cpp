// Every action is in the log or not done: commands that act stop before the first item when
// the action log cannot record; commands that do not act never open it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "support/test_util.h"

namespace vandrel {

TEST(CliLogUsable, ActingCommandsStopBeforeActingWithoutALogThatRecords) {
    const struct {
        const char* name;
        int logKind;       // 0 fine, 1 a folder (a log that cannot open fails the same way)
        const char* args;  // IN stands for the folder of the item
        int exit;
    } cases[] = {{"apply, log fine", 0, "apply IN/a.txt", 0},
                 {"apply, folder as log", 1, "apply IN/a.txt", 1},
                 {"organize, folder as log", 1, "organize IN", 1},
                 {"rules import, folder as log", 1, "rules import --yes IN/r", 0}};
    for (const auto& c : cases) {
        test::TempDir home;
        const QString data = home.file("data"), in = home.file("in"), log = data + "/log.db";
        const QByteArray rule = "Any<|RU|>All<|RU|>Any<|CP|>is<|CD|><|RU|>Move to<|AP|>" +
                                home.path().toUtf8() + "<|AC|>0<|AC|><|AC|>1<|RU|>\r\n";
        ASSERT_TRUE(test::WriteFile(in + "/a.txt", "a") && test::WriteFile(in + "/r", rule) &&
                    test::WriteFile(data + "/rules.txt", rule));
        ASSERT_TRUE(c.logKind != 1 || QDir().mkpath(log));
        const QStringList args = QStringList{"--data-dir", data} +
                                 QString(c.args).replace("IN", in).split(QLatin1Char(' '));
        const test::ProcessResult r = test::RunVandrel(args, home.path());
        EXPECT_EQ(r.exitCode, c.exit) << c.name << ": " << r.err.toStdString();
        // Moved only with a log that records it; one line when the log stops the command.
        EXPECT_EQ(QFile::exists(in + "/a.txt"), c.logKind != 0) << c.name;
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), c.exit) << c.name << ": " << r.err.toStdString();
    }
}

}  // namespace vandrel
