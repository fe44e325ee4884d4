// Move, copy and rename actions: where items land, what is logged, what a failed or
// impossible operation leaves behind, and how actions of one rule hand the item on.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "action_test_env.h"
#include "actions/action_copy.h"
#include "actions/action_move.h"
#include "actions/action_rename.h"
#include "mp3_bytes.h"
#include "rules/kind_registry.h"
#include "rules/rule.h"
#include "rules/rule_text.h"

namespace vandrel {
namespace {

using test::ActionEnv;
using test::ReadFile;
using test::WriteFile;

QString Q(const char* s) { return QString::fromUtf8(s); }
QString FileParams(const QString& p) { return MakeParamList(Q("file"), p); }
QString FolderParams(const QString& p) { return MakeParamList(Q("folder"), p); }

// The stored payloads: what rules.txt holds must load back to the same action, and a
// short payload (an older file) keeps the defaults of the missing fields.
TEST(ActionPayload, RoundTripAndDefaults) {
    EngineContext ctx;
    ActionMove move(ctx);
    ActionCopy copy(ctx);
    ActionRename rename(ctx);
    const struct {
        IActionTake* action;
        const char* stored;
        const char* saved;
    } rows[] = {
        {&move, "", "<|AC|>0<|AC|><//>date.current<//><|AC|>1"},
        {&move, "/d/Invoices<|AC|>1<|AC|><//>date.modified<//><|AC|>0",
         "/d/Invoices<|AC|>1<|AC|><//>date.modified<//><|AC|>0"},
        {&copy, "/only/folder", "/only/folder<|AC|>0<|AC|><//>date.current<//><|AC|>1"},
        {&rename, "", "<//>name<//>.<//>extension<//><|AC|>1"},
        {&rename, "hello<|AC|>0", "hello<|AC|>0"},
    };
    for (const auto& r : rows) {
        if (*r.stored) r.action->LoadFromString(Q(r.stored));
        EXPECT_EQ(r.action->SaveToString(), Q(r.saved)) << r.stored;
    }
    // Typed input cannot break the payload apart.
    copy.setFolder(Q("/a<|AC|>b\nc"));
    EXPECT_EQ(copy.folder(), Q("/abc"));
}

TEST(MoveCopyAction, MovesFilesAndFoldersAndLogs) {
    ActionEnv env;
    const QString dest = env.path(Q("dest"));
    ASSERT_TRUE(test::MakeDir(dest));
    ASSERT_TRUE(WriteFile(env.path(Q("in/hello.txt")), "hello"));
    ASSERT_TRUE(WriteFile(env.path(Q("in/sub/inner.txt")), "inner"));

    ActionMove move(env.ctx);
    move.setFolder(dest);
    EXPECT_EQ(move.TakeAction(FileParams(env.path(Q("in/hello.txt")))),
              FileParams(dest + Q("/hello.txt")));
    EXPECT_EQ(ReadFile(dest + Q("/hello.txt")), "hello");
    EXPECT_FALSE(QFileInfo::exists(env.path(Q("in/hello.txt"))));

    EXPECT_EQ(move.TakeAction(FolderParams(env.path(Q("in/sub")))), FolderParams(dest + Q("/sub")));
    EXPECT_EQ(ReadFile(dest + Q("/sub/inner.txt")), "inner");

    const auto rows = env.commitAndRead(Q("Tidy"));
    ASSERT_EQ(rows.size(), 2u);
    for (const LogRow& r : rows) {
        EXPECT_EQ(r.actionName, Q("Move"));
        EXPECT_EQ(r.ruleTitle, Q("Tidy"));
        EXPECT_EQ(r.takeTime, env.clock.now());
        EXPECT_EQ(r.dstPath, dest + Q("/") + QFileInfo(r.oriPath).fileName());
    }
}

TEST(MoveCopyAction, NothingHappensWithoutAUsableDestinationOrSource) {
    ActionEnv env;
    ASSERT_TRUE(WriteFile(env.path(Q("a.txt")), "a"));
    ASSERT_TRUE(WriteFile(env.path(Q("plainfile")), "x"));
    const QString params = FileParams(env.path(Q("a.txt")));
    for (const QString& folder : {QString(), env.path(Q("missing")), env.path(Q("plainfile"))}) {
        ActionMove move(env.ctx);
        move.setFolder(folder);
        EXPECT_EQ(move.TakeAction(params), params) << folder.toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(env.path(Q("a.txt"))));

    // A source that is gone: the safe operation answers the source path; nothing logged.
    ASSERT_TRUE(test::MakeDir(env.path(Q("dest"))));
    ActionCopy copy(env.ctx);
    copy.setFolder(env.path(Q("dest")));
    const QString gone = FileParams(env.path(Q("gone.txt")));
    EXPECT_EQ(copy.TakeAction(gone), gone);
    EXPECT_TRUE(env.commitAndRead().empty());
}

TEST(MoveCopyAction, SubfolderFromPattern) {
    ActionEnv env;
    const QString dest = env.path(Q("dest"));
    ASSERT_TRUE(test::MakeDir(dest));
    ActionMove move(env.ctx);
    move.setFolder(dest);
    move.setSortIntoSubfolder(true);
    move.pattern().SetPatternString(Q("<//>date.modified<//>"));

    for (const char* folder : {"in1", "in2"}) {
        const QString src = env.path(Q(folder) + Q("/2.jpg"));
        ASSERT_TRUE(WriteFile(src, folder));
        ASSERT_TRUE(test::SetModified(src, QDateTime(QDate(2006, 5, 1), QTime(10, 0))));
        move.TakeAction(FileParams(src));
    }
    EXPECT_EQ(ReadFile(dest + Q("/2006-05-01/2.jpg")), "in1");
    EXPECT_EQ(ReadFile(dest + Q("/2006-05-01/21.jpg")), "in2");

    // The default pattern sorts by the current date (the fake clock's day).
    ActionCopy copy(env.ctx);
    copy.setFolder(dest);
    copy.setSortIntoSubfolder(true);
    ASSERT_TRUE(WriteFile(env.path(Q("c.txt")), "c"));
    EXPECT_EQ(copy.TakeAction(FileParams(env.path(Q("c.txt")))),
              FileParams(dest + Q("/2008-01-01/c.txt")));
    EXPECT_EQ(ReadFile(env.path(Q("c.txt"))), "c");

    // Only tokens without a value, or a subfolder that cannot be created (a plain file holds
    // its name): the item goes into the destination itself.
    ASSERT_TRUE(WriteFile(dest + Q("/blocked"), "not a folder"));
    for (const char* pattern : {"<//>nosuchattribute<//>", "blocked"}) {
        copy.pattern().SetPatternString(Q(pattern));
        EXPECT_EQ(copy.TakeAction(FileParams(env.path(Q("c.txt")))), FileParams(dest + Q("/c.txt")))
            << pattern;
        ASSERT_TRUE(QFile::remove(dest + Q("/c.txt")));
    }
    EXPECT_EQ(ReadFile(dest + Q("/blocked")), "not a folder");
}

TEST(MoveCopyAction, ReplaceRuleKeepsTheOldItemUnderANumberedName) {
    ActionEnv env;
    const QString dest = env.path(Q("dest"));
    ASSERT_TRUE(WriteFile(dest + Q("/list.txt"), "old"));
    ASSERT_TRUE(WriteFile(env.path(Q("in/list.txt")), "new"));
    ActionMove move(env.ctx);
    move.setFolder(dest);
    move.setReplace(true);
    EXPECT_EQ(move.TakeAction(FileParams(env.path(Q("in/list.txt")))),
              FileParams(dest + Q("/list.txt")));
    EXPECT_EQ(ReadFile(dest + Q("/list.txt")), "new");
    EXPECT_EQ(ReadFile(dest + Q("/list1.txt")), "old");
}

TEST(RenameAction, RenamesByPatternAndReplaces) {
    ActionEnv env;
    ASSERT_TRUE(WriteFile(env.path(Q("a/t.mp3")), test::MakeMp3("T", "The Quartet", "2003")));
    ActionRename r(env.ctx);
    r.pattern().SetPatternString(Q("mp3-<//>mp3.artist<//>-<//>mp3.year<//>.mp3"));
    EXPECT_EQ(r.TakeAction(FileParams(env.path(Q("a/t.mp3")))),
              FileParams(env.path(Q("a/mp3-The Quartet-2003.mp3"))));

    // Replace rule.
    ASSERT_TRUE(WriteFile(env.path(Q("g/list.txt")), "old"));
    ASSERT_TRUE(WriteFile(env.path(Q("g/aaaaaaa.txt")), "new"));
    r.setReplace(true);
    r.pattern().SetPatternString(Q("list.txt"));
    EXPECT_EQ(r.TakeAction(FileParams(env.path(Q("g/aaaaaaa.txt")))),
              FileParams(env.path(Q("g/list.txt"))));
    EXPECT_EQ(ReadFile(env.path(Q("g/list.txt"))), "new");
    EXPECT_EQ(ReadFile(env.path(Q("g/list1.txt"))), "old");

    const auto rows = env.commitAndRead();
    ASSERT_EQ(rows.size(), 2u);
    for (const LogRow& row : rows) EXPECT_EQ(row.actionName, Q("Rename"));
}

// A "/" typed in the subfolder pattern makes nested folders.
TEST(MoveCopyAction, SlashInSubfolderPatternNests) {
    ActionEnv env;
    const QString mp3 = env.path(Q("in/t.mp3"));
    ASSERT_TRUE(WriteFile(mp3, test::MakeMp3("T", "Quartet", "2003")));
    ASSERT_TRUE(test::MakeDir(env.path(Q("music"))));
    ActionMove move(env.ctx);
    move.setFolder(env.path(Q("music")));
    move.setSortIntoSubfolder(true);
    move.pattern().SetPatternString(Q("<//>mp3.artist<//>/<//>mp3.year<//>"));
    EXPECT_EQ(move.TakeAction(FileParams(mp3)),
              FileParams(env.path(Q("music/Quartet/2003/t.mp3"))));
}

TEST(RenameAction, UnsafeOrEmptyNamesLeaveTheItemAlone) {
    ActionEnv env;
    const QString mp3 = env.path(Q("in/t.mp3"));
    ASSERT_TRUE(WriteFile(mp3, test::MakeMp3("T", "..", "2003")));
    ActionRename r(env.ctx);
    // Only tokens without a value: nothing happens, nothing is logged.
    r.pattern().SetPatternString(Q("<//>nosuch<//><//>alsonot<//>"));
    EXPECT_EQ(r.TakeAction(FileParams(mp3)), FileParams(mp3));
    // An empty pattern likewise.
    r.pattern().SetPatternString(QString());
    EXPECT_EQ(r.TakeAction(FileParams(mp3)), FileParams(mp3));
    // A value of ".." becomes "-" (the pattern tests hold the other characters): the file
    // stays in its folder.
    r.pattern().SetPatternString(Q("<//>mp3.artist<//>.mp3"));
    EXPECT_EQ(r.TakeAction(FileParams(mp3)), FileParams(env.path(Q("in/-.mp3"))));
    EXPECT_EQ(env.commitAndRead().size(), 1u);
    EXPECT_EQ(QDir(env.path(Q("in"))).entryList(QDir::Files), QStringList{Q("-.mp3")});
}

// A rule with the given action rows (selector text, payload) and an "Any" condition.
std::unique_ptr<Rule> MakeRule(const EngineContext& ctx, const QString& actions) {
    auto rule = std::make_unique<Rule>(ctx);
    rule->LoadFromString(Q("chain<|RU|>All<|RU|>Any<|CP|>anything<|CD|>anything<|RU|>") + actions);
    return rule;
}

TEST(ActionChain, FollowingActionsSeeTheNewPath) {
    ActionEnv env;
    const QString dest = env.path(Q("dest"));
    ASSERT_TRUE(test::MakeDir(dest));
    ASSERT_TRUE(WriteFile(env.path(Q("in/a.txt")), "a"));
    ASSERT_TRUE(WriteFile(env.path(Q("in/b.txt")), "b"));

    // Move, then rename: the moved file is renamed at its new place.
    auto moveRename = MakeRule(
        env.ctx, Q("Move to<|AP|>") + dest +
                     Q("<|AC|>0<|AC|><|AC|>1<|AP|>Rename<|AP|>moved-<//>name<//>.txt<|AC|>1"));
    EXPECT_EQ(moveRename->CheckAndTake(FileParams(env.path(Q("in/a.txt")))),
              FileParams(dest + Q("/moved-a.txt")));
    EXPECT_EQ(ReadFile(dest + Q("/moved-a.txt")), "a");

    // Copy, then rename: the copy is renamed, the source stays as it was.
    auto copyRename = MakeRule(
        env.ctx, Q("copy to<|AP|>") + dest +
                     Q("<|AC|>0<|AC|><|AC|>1<|AP|>RENAME<|AP|>copy-<//>name<//>.txt<|AC|>1"));
    EXPECT_EQ(copyRename->CheckAndTake(FileParams(env.path(Q("in/b.txt")))),
              FileParams(dest + Q("/copy-b.txt")));
    EXPECT_EQ(ReadFile(env.path(Q("in/b.txt"))), "b");
    EXPECT_FALSE(QFileInfo::exists(dest + Q("/b.txt")));

    // Move then copy: the copy is made from the moved file.
    auto moveCopy = MakeRule(env.ctx, Q("Move to<|AP|>") + dest +
                                          Q("/m<|AC|>0<|AC|><|AC|>1<|AP|>Copy to<|AP|>") + dest +
                                          Q("/c<|AC|>0<|AC|><|AC|>1"));
    ASSERT_TRUE(test::MakeDir(dest + Q("/m")));
    ASSERT_TRUE(test::MakeDir(dest + Q("/c")));
    moveCopy->CheckAndTake(FileParams(env.path(Q("in/b.txt"))));
    EXPECT_EQ(ReadFile(dest + Q("/m/b.txt")), "b");
    EXPECT_EQ(ReadFile(dest + Q("/c/b.txt")), "b");
}

}  // namespace
}  // namespace vandrel
