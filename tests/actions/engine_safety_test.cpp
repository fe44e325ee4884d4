// The engine acts only on the item it was named, and a rule stops when a step did not happen.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <cstdio>

#include "actions/action_test_env.h"
#include "actions/module_file_op.h"
#include "platform/file_in_use.h"
#include "platform/module_check_file.h"
#include "rules/rule_list.h"

namespace vandrel {
namespace {

using test::WriteFile;
QString Q(const char* s) { return QString::fromUtf8(s); }
const QString kRule = Q("R<|RU|>All<|RU|>Any<|CP|>x<|CD|>x<|RU|>");
const QString kZ = Q("<|AC|>0<|AC|><|AC|>1");

QStringList Entries(const QString& root) {  // what a step that did not happen leaves alone
    QStringList out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) out << it.next().mid(root.size());
    out.sort();
    return out.filter(QRegularExpression(Q("^(?!/log.db)")));
}

TEST(EngineSafety, RuleStopsForTheItemWhenAStepDidNotHappen) {
    for (const QString& step :
         {Q("Copy to<|AP|>%1/none") + kZ, Q("Copy to<|AP|>%1/in/b") + kZ,
          Q("Copy to<|AP|>%1/in/sub") + kZ, Q("Move to<|AP|>%1/out") + QChar(0) + Q("x") + kZ,
          Q("Move to<|AP|>%1/out<|AC|>1<|AC|>../../<//>name<//><|AC|>1"),
          Q("Rename<|AP|>../escaped-<//>name<//><|AC|>1"), Q("Rename<|AP|>.<|AC|>1")}) {
        test::ActionEnv env;
        RuleList rules(env.ctx);
        ASSERT_TRUE(WriteFile(env.path(Q("in/sub/a")), "a") && WriteFile(env.path(Q("in/b")), "b"));
        ASSERT_TRUE(test::MakeDir(env.path(Q("out"))));
        const QStringList before = Entries(env.dir.path());
        rules.LoadFromString(kRule + step.arg(env.dir.path()) + Q("<|AP|>Rename<|AP|>z<|AC|>1"));
        const RunOutcome out = rules.RunRules(env.path(Q("in/sub/a")));
        EXPECT_TRUE(out.stopped() && out.result == Q("R")) << step.toStdString();
        EXPECT_EQ(Entries(env.dir.path()), before) << step.toStdString();
        EXPECT_TRUE(env.commitAndRead().empty()) << step.toStdString();
    }
}

TEST(EngineSafety, NamesThatAreNotUtf8AreNeverListedAsAnotherFile) {
    test::TempDir dir;
    ASSERT_TRUE(WriteFile(dir.file(Q("pair\uFFFD.txt")), "valid"));
    const QByteArray bad = QFile::encodeName(dir.path()) + "/pair\xff.txt";
    std::FILE* f = std::fopen(bad.constData(), "w");
    ASSERT_TRUE(f != nullptr && std::fclose(f) == 0);
    QStringList files, folders, unnamable;
    ListFolderItems(dir.path(), files, folders, &unnamable);
    FileInUseProbe probe;
    const bool free = IsFolderFree(dir.path(), &probe);
    std::remove(bad.constData());  // QTemporaryDir cannot name it
    EXPECT_TRUE(free && unnamable.size() == 1);
    EXPECT_EQ(files, QStringList{dir.file(Q("pair\uFFFD.txt"))});
    int counter = 99999;  // the numbered-name search ends at its bound
    ASSERT_TRUE(WriteFile(dir.file(Q("a100000")), ""));
    EXPECT_EQ(UniqueFileName(dir.file(Q("a")), counter), QString());
}

// Through the command line: names holding a token, a trailing dot or space beside their
// siblings, a line break in an output field, and a copy to a full disk before a rename.
TEST(EngineSafety, CommandLineNamesTheItemAndFailsWhenAStepDidNotHappen) {
    test::TempDir home;
    const QString data = home.file(Q("data")), in = home.file(Q("in/"));
    test::SmallTmpfs disk(home.file(Q("full")));
    auto vandrel = [&](const QString& actions, const QStringList& args) {
        EXPECT_TRUE(WriteFile(data + Q("/rules.txt"), (kRule + actions.arg(home.path())).toUtf8()));
        return test::RunVandrel(QStringList{Q("--data-dir"), data} + args, home.path());
    };
    for (const char* name : {"a<|PA|>b", "a", "backup.", "Old /f", "Old/f", "l\nm"})
        ASSERT_TRUE(WriteFile(in + Q(name), name));
    ASSERT_TRUE(WriteFile(home.file(Q("in /c")), "c"));
    ASSERT_TRUE(WriteFile(home.file(Q("out/backup")), "old"));
    const QString move = Q("Move to<|AP|>%1/out") + kZ;
    test::ProcessResult r =
        vandrel(move, {Q("apply"), in + Q("a<|PA|>b"), in + Q("backup."), in + Q("Old ")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = vandrel(move, {Q("organize"), home.file(Q("in "))});
    for (const char* name : {"a<|PA|>b", "backup.", "Old /f", "c"})
        EXPECT_EQ(test::ReadFile(home.file(Q("out/") + Q(name))), name);
    EXPECT_TRUE(r.exitCode == 0 && QFile::exists(in + Q("a")) && QFile::exists(in + Q("Old/f")));
    EXPECT_EQ(vandrel(move, {Q("test"), in + Q("l\nm")}).out, Q("R\t") + in + Q("l\\nm\n"));
    EXPECT_EQ(vandrel(Q("Add Path to<|AP|>%1/list"), {Q("apply"), in + Q("l\nm")}).exitCode, 1);
    EXPECT_TRUE(test::ReadFile(home.file(Q("list"))).isEmpty());  // refused, not two lines
    EXPECT_EQ(vandrel(Q("Move to<|AP|>%1/gone") + kZ, {Q("organize"), in}).exitCode, 1);
    QProcess bad;  // an argument that is not UTF-8 is refused before anything is done
    bad.start(Q("/bin/sh"), {Q("-c"), Q("\"$0\" --data-dir \"$1\" apply \"$1/$(printf '\\377')\""),
                             Q(VANDREL_BINARY), data});
    EXPECT_TRUE(bad.waitForFinished() && bad.exitCode() == 2);
    if (!disk.mounted()) GTEST_SKIP() << "a small file system needs root";
    ASSERT_TRUE(WriteFile(in + Q("big"), QByteArray(200000, 'x')));
    r = vandrel(Q("Copy to<|AP|>%1/full") + kZ + Q("<|AP|>Rename<|AP|>backup-<//>name<//><|AC|>1"),
                {Q("apply"), in + Q("big")});
    EXPECT_TRUE(r.exitCode == 1 && r.err.contains(in + Q("big")) && r.err.contains(Q("Copy to")));
    EXPECT_EQ(test::ReadFile(in + Q("big")).size(), 200000);
}

}  // namespace
}  // namespace vandrel
