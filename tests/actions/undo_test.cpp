// Undo of takes and runs: round trips checked by content, conflicts left alone, undo of the
// undo, and logs written before runs and undo marks existed.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFileInfo>
#include <functional>
#include <map>
#include <memory>

#include "action_test_env.h"
#include "actions/action_copy.h"
#include "actions/action_move.h"
#include "actions/action_rename.h"
#include "actions/undo_engine.h"
#include "log/log_run.h"
#include "rules/rule_text.h"

namespace vandrel {
namespace {

using Outcome = UndoStep::Outcome;

// Every entry below root (but the log and the trash) with its content's checksum.
std::map<QString, QByteArray> Tree(const QString& root) {
    std::map<QString, QByteArray> tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString rel = QDir(root).relativeFilePath(path);
        if (rel.startsWith(QLatin1String("log.db")) || rel.startsWith(QLatin1String("xdg")))
            continue;
        tree[rel] = it.fileInfo().isDir() ? QByteArray("folder")
                                          : QCryptographicHash::hash(test::ReadFile(path),
                                                                     QCryptographicHash::Sha256);
    }
    return tree;
}

struct UndoEnv : test::ActionEnv {
    UndoEnv() {
        qputenv("XDG_DATA_HOME", path(QStringLiteral("xdg")).toUtf8());
        for (const char* f : {"in", "out", "in/sub"}) test::MakeDir(path(f));
    }
    ~UndoEnv() { qunsetenv("XDG_DATA_HOME"); }
    QString file(const QString& rel, const QByteArray& bytes) {
        EXPECT_TRUE(test::WriteFile(path(rel), bytes)) << rel.toStdString();
        return path(rel);
    }
    // One action on the item, committed as one take.
    QString take(IActionTake& action, const QString& kind, const QString& item) {
        const QString result = ParamPath(action.TakeAction(MakeParamList(kind, item)));
        EXPECT_TRUE(log.CommitToLogFile(QStringLiteral("rule")));
        return result;
    }
    std::unique_ptr<ActionMove> move(const QString& to, bool replace = false,
                                     const QString& sub = QString()) {
        auto m = std::make_unique<ActionMove>(ctx);
        m->setFolder(path(to));
        m->setReplace(replace);
        m->setSortIntoSubfolder(!sub.isEmpty());
        m->pattern().SetPatternString(sub);
        return m;
    }
    // Runs acts in one run; returns the run's identity.
    QString inRun(const std::function<void()>& acts) {
        const LogRun scope(&log);
        acts();
        return scope.id();
    }
    UndoReport undoRun(const QString& run, bool dryRun = false) {
        return UndoEngine(log, nullptr, &clock).Undo(log.RowsOfRun(run), dryRun);
    }
};

TEST(Undo, RunOfMovesRenameCopyReplaceAndFolderComesBackExactlyAndRedoes) {
    UndoEnv env;
    for (const char* f : {"in/a.jpg", "in/b.jpg", "in/c.txt", "in/d.txt", "in/e.txt"})
        env.file(f, QByteArray("content of ") + f);
    env.file("in/sub/inner.txt", "inner");
    env.file("out/e.txt", "the old e");
    env.file("out/d.txt", "the old d");
    ASSERT_TRUE(test::SetModified(env.path("in/a.jpg"), QDateTime(QDate(2006, 5, 1), QTime(9, 0))));
    const auto before = Tree(env.dir.path());
    const QString run = env.inRun([&env] {
        auto dated = env.move("out", false, QStringLiteral("<//>date.modified<//>"));
        env.take(*dated, "file", env.path("in/a.jpg"));
        env.take(*dated, "file", env.path("in/b.jpg"));
        ActionRename rename(env.ctx);
        rename.pattern().SetPatternString(QStringLiteral("renamed.txt"));
        env.take(rename, "file", env.path("in/c.txt"));
        ActionCopy copy(env.ctx);
        copy.setFolder(env.path("out"));
        copy.setReplace(true);
        env.take(copy, "file", env.path("in/d.txt"));
        auto replacing = env.move("out", true);
        env.take(*replacing, "file", env.path("in/e.txt"));
        auto plain = env.move("out");
        env.take(*plain, "folder", env.path("in/sub"));
    });
    const auto organized = Tree(env.dir.path());
    ASSERT_TRUE(organized.count("out/2006-05-01/a.jpg") && organized.count("out/e1.txt") &&
                organized.count("out/sub/inner.txt") && organized.count("in/renamed.txt") &&
                organized.count("out/d1.txt"));
    ASSERT_EQ(env.log.RowsOfRun(run).size(), 6u);

    const UndoReport dry = env.undoRun(run, true);
    EXPECT_EQ(dry.count(Outcome::kWouldDo), 6);
    EXPECT_EQ(Tree(env.dir.path()), organized);

    const UndoReport undo = env.undoRun(run);
    EXPECT_EQ(undo.count(Outcome::kDone), 8) << "six actions and the replaced d.txt and e.txt";
    EXPECT_TRUE(undo.logError.isEmpty() && undo.runId.contains('-'));
    EXPECT_EQ(Tree(env.dir.path()), before);
    const QString trashed = env.path("xdg/Trash/files/d.txt");
    EXPECT_EQ(test::ReadFile(trashed), "content of in/d.txt");
    EXPECT_TRUE(QFileInfo::exists(env.path("xdg/Trash/info/d.txt.trashinfo")));

    // Again: everything is back already, nothing is touched.
    const UndoReport again = env.undoRun(run);
    EXPECT_EQ(again.count(Outcome::kDone), 0);
    EXPECT_EQ(Tree(env.dir.path()), before);

    // Undoing the undo redoes the run, the copy out of the trash included.
    const UndoReport redo = env.undoRun(undo.runId);
    EXPECT_EQ(redo.count(Outcome::kDone), 8);
    EXPECT_EQ(Tree(env.dir.path()), organized);
    EXPECT_FALSE(QFileInfo::exists(trashed) ||
                 QFileInfo::exists(env.path("xdg/Trash/info/d.txt.trashinfo")));
}

TEST(Undo, ItemsChangedTakenOrGoneAreReportedAndLeftAlone) {
    const struct {
        const char* name;
        std::function<void(UndoEnv&)> after;  // what happens after the move
        const char* reason;
    } cases[] = {
        {"edited after the move", [](UndoEnv& e) { e.file("out/x.txt", "edited later"); },
         "changed since"},
        {"replaced by another file",
         [](UndoEnv& e) {
             QFile::remove(e.path("out/x.txt"));
             e.file("out/x.txt", "x");
         },
         "since"},  // the new file may get the freed inode number: then it reads as changed
        {"original path taken", [](UndoEnv& e) { e.file("in/x.txt", "a newcomer"); }, "is taken"},
        {"moved file deleted", [](UndoEnv& e) { QFile::remove(e.path("out/x.txt")); },
         "no longer there"},
    };
    for (const auto& c : cases) {
        UndoEnv env;
        env.file("in/x.txt", "x");
        env.file("in/y.txt", "y");
        const QString run = env.inRun([&env] {
            auto m = env.move("out");
            env.take(*m, "file", env.path("in/x.txt"));
            env.take(*m, "file", env.path("in/y.txt"));
        });
        c.after(env);
        const auto changed = Tree(env.dir.path());
        const UndoReport report = env.undoRun(run);
        ASSERT_EQ(report.steps.size(), 2u) << c.name;
        // Newest first: y goes back, x is left as it is.
        EXPECT_EQ(report.steps[0].outcome, Outcome::kDone) << c.name;
        EXPECT_EQ(report.steps[1].outcome, Outcome::kConflict) << c.name;
        EXPECT_TRUE(report.steps[1].reason.contains(c.reason))
            << c.name << ": " << report.steps[1].reason.toStdString();
        auto expected = changed;
        expected.erase("out/y.txt");
        expected["in/y.txt"] = changed.at("out/y.txt");
        EXPECT_EQ(Tree(env.dir.path()), expected) << c.name;
    }
}

TEST(Undo, AnUndoStoppedHalfwayKeepsWhatItDidAndTheRestIsUndoneLater) {
    UndoEnv env;
    for (const char* f : {"in/1", "in/2", "in/3"}) env.file(f, f);
    const auto before = Tree(env.dir.path());
    const QString run = env.inRun([&env] {
        auto m = env.move("out");
        for (const char* f : {"in/1", "in/2", "in/3"}) env.take(*m, "file", env.path(f));
    });
    std::atomic<bool> stop{false};
    const UndoReport half = UndoEngine(env.log).Undo(
        env.log.RowsOfRun(run), false, [&stop](int, int) { stop = true; }, &stop);
    EXPECT_TRUE(half.stopped);
    ASSERT_EQ(half.count(Outcome::kDone), 1);
    EXPECT_EQ(env.log.RowsOfRun(half.runId).size(), 1u) << "what was put back is logged";
    const UndoReport rest = env.undoRun(run);
    EXPECT_EQ(rest.count(Outcome::kAlreadyBack), 1);
    EXPECT_EQ(rest.count(Outcome::kDone), 2);
    EXPECT_EQ(Tree(env.dir.path()), before);
}

TEST(Undo, LogOfAnOlderProgramOpensEachTakeItsOwnRunAndItsItemsAreLeft) {
    UndoEnv env;
    env.log.CloseLogFile();
    const QString db = env.path("old.db");
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(db.toUtf8().constData(), &raw), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(raw,
                           "CREATE TABLE actions (id INTEGER PRIMARY KEY, taketime TEXT, ruletitle "
                           "TEXT, actionname TEXT, dstpath TEXT, oripath TEXT, searchwords TEXT, "
                           "takeuid TEXT);"
                           "INSERT INTO actions VALUES (1, '2020-01-02 03:04:05', 'r', 'Move', "
                           "'/nowhere/out/a', '/nowhere/in/a', 'a,', '2020123451');"
                           "INSERT INTO actions VALUES (2, '2020-01-02 03:04:06', 'r', 'Open', "
                           "'/nowhere/in/b', '/nowhere/in/b', 'b,', '2020123462');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);
    ASSERT_TRUE(env.log.OpenLogFile(db)) << env.log.lastError().toStdString();
    EXPECT_EQ(env.log.NewestRun(), QStringLiteral("2020123462"));
    const std::vector<LogRow> rows = env.log.RowsOfRun(QStringLiteral("2020123451"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].runId, QStringLiteral("2020123451"));
    std::vector<LogRow> both = env.log.RowsOfTake(1);
    both.push_back(env.log.RowsOfTake(2).at(0));
    const UndoReport report = UndoEngine(env.log).Undo(both, false);
    ASSERT_EQ(report.steps.size(), 2u);
    EXPECT_EQ(report.count(Outcome::kCannotUndo), 2);
    EXPECT_TRUE(report.runId.isEmpty()) << "nothing done, nothing logged";
    // New takes in the old log get runs of their own.
    env.file("in/n.txt", "n");
    auto m = env.move("out");
    env.take(*m, "file", env.path("in/n.txt"));
    EXPECT_TRUE(env.log.NewestRun().contains('-'));
    EXPECT_EQ(env.undoRun(env.log.NewestRun()).count(Outcome::kDone), 1);
}

}  // namespace
}  // namespace vandrel
