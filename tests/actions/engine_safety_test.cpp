// The engine acts only on the item it was given: names as Linux has them, a rule that
// stops when a move, copy or rename did not happen, patterns that cannot leave their
// folder, and names that are not valid UTF-8 never standing for another file.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <cstdio>

#include "actions/action_test_env.h"
#include "actions/module_file_op.h"
#include "folders/module_check_file.h"
#include "platform/file_in_use.h"
#include "rules/rule_list.h"

namespace vandrel {
namespace {

using test::WriteFile;
QString Q(const char* s) { return QString::fromUtf8(s); }

// Every entry below root, relative, sorted: what a failed step must leave unchanged.
QStringList Entries(const QString& root) {
    QStringList out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        if (const QString e = it.next().mid(root.size()); !e.startsWith(Q("/log.db"))) out << e;
    out.sort();
    return out;
}

struct Env : test::ActionEnv {
    FileInUseProbe probe;
    RuleList rules{(ctx.inUse = &probe, ctx)};
    RunOutcome run(const QString& item, const QString& actions) {
        rules.LoadFromString(Q("R<|RU|>All<|RU|>Any<|CP|>x<|CD|>x<|RU|>") + actions);
        return rules.RunRules(path(item));
    }
};

const char kThenRename[] = "<|AP|>Rename<|AP|>after-<//>name<//><|AC|>1";

TEST(EngineSafety, RuleStopsForTheItemWhenAStepDidNotHappen) {
    const struct {
        const char* row;
        QString actions;
    } rows[] = {
        {"destination missing", Q("Copy to<|AP|>%1/none<|AC|>0<|AC|><|AC|>1")},
        {"destination a file", Q("Copy to<|AP|>%1/in/b.txt<|AC|>0<|AC|><|AC|>1")},
        {"copy onto itself", Q("Copy to<|AP|>%1/in/sub<|AC|>0<|AC|><|AC|>1")},
        {"NUL in destination", Q("Move to<|AP|>%1/out") + QChar(0) + Q("x<|AC|>0<|AC|><|AC|>1")},
        {"subfolder climbs out", Q("Move to<|AP|>%1/out<|AC|>1<|AC|>../../<//>name<//><|AC|>1")},
        {"rename climbs out", Q("Rename<|AP|>../escaped-<//>name<//><|AC|>1")},
        {"rename to nothing", Q("Rename<|AP|>.<|AC|>1")},
    };
    for (const auto& r : rows) {
        Env env;
        ASSERT_TRUE(WriteFile(env.path(Q("in/sub/a.txt")), "a") &&
                    WriteFile(env.path(Q("in/b.txt")), "b"));
        ASSERT_TRUE(test::MakeDir(env.path(Q("out"))));
        const QStringList before = Entries(env.dir.path());
        const RunOutcome out =
            env.run(Q("in/sub/a.txt"), r.actions.arg(env.dir.path()) + Q(kThenRename));
        EXPECT_TRUE(out.stopped()) << r.row;
        EXPECT_EQ(out.result, Q("R")) << r.row;
        EXPECT_EQ(Entries(env.dir.path()), before) << r.row;
        EXPECT_TRUE(env.commitAndRead().empty()) << r.row;
    }
}

// Names with separator tokens, trailing dots and spaces are the items they name, beside
// siblings that the old splitting and trimming confused them with.
TEST(EngineSafety, ItemsAreActedOnUnderTheirOwnNames) {
    const struct {
        const char* item;
        const char* sibling;
    } rows[] = {{"a<|PA|>b.pdf", "a"},
                {"x<|CD|>y", "x"},
                {"backup.", "backup"},
                {"Old stuff /f", "Old stuff/f"},
                {"l\nm", "l"}};
    for (const auto& r : rows) {
        Env env;
        ASSERT_TRUE(WriteFile(env.path(Q(r.item)), "item") &&
                    WriteFile(env.path(Q(r.sibling)), "sib"));
        ASSERT_TRUE(WriteFile(env.path(Q("out/backup")), "old"));
        const QString item = Q(r.item).section(QLatin1Char('/'), 0, 0);
        const RunOutcome out =
            env.run(item, Q("Move to<|AP|>") + env.path(Q("out<|AC|>0<|AC|><|AC|>1")));
        EXPECT_EQ(out.result, Q("R")) << r.item;  // not "already in use", not "no matched rule"
        EXPECT_FALSE(out.stopped()) << r.item;
        EXPECT_EQ(test::ReadFile(env.path(Q("out/") + Q(r.item))), "item") << r.item;
        EXPECT_EQ(test::ReadFile(env.path(Q(r.sibling))), "sib") << r.item;
    }
}

TEST(EngineSafety, NamesThatAreNotUtf8AreNeverListedAsAnotherFile) {
    test::TempDir dir;
    ASSERT_TRUE(WriteFile(dir.file(Q("pair\uFFFD.txt")), "valid"));
    const QByteArray badName = QFile::encodeName(dir.path()) + "/pair\xff.txt";
    std::FILE* bad = std::fopen(badName.constData(), "w");
    ASSERT_TRUE(bad != nullptr && std::fclose(bad) == 0);
    struct Remove {  // QTemporaryDir cannot name it
        const QByteArray& name;
        ~Remove() { std::remove(name.constData()); }
    } remove{badName};
    QStringList files, folders, unnamable;
    ListFolderItems(dir.path(), files, folders, &unnamable);
    EXPECT_EQ(files, QStringList{dir.file(Q("pair\uFFFD.txt"))});
    EXPECT_EQ(unnamable.size(), 1);
    FileInUseProbe probe;
    EXPECT_TRUE(IsFolderFree(dir.path(), &probe));
}

TEST(EngineSafety, NumberedNameSearchIsBounded) {
    test::TempDir dir;
    ASSERT_TRUE(WriteFile(dir.file(Q("a100000.txt")), "") && test::MakeDir(dir.file(Q("d100000"))));
    int counter = 99999;
    EXPECT_EQ(UniqueFileName(dir.file(Q("a.txt")), counter), QString());
    counter = 99999;
    EXPECT_EQ(UniqueFolderName(dir.file(Q("d")), counter), QString());
}

}  // namespace
}  // namespace vandrel
