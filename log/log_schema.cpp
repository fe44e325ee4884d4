#include "log/log_schema.h"

#include <sqlite3.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "log/log_search_packs.h"
#include "log/log_search_word.h"

namespace vandrel {

namespace {

// In this order; each only when missing. The index reads the folded copies from the table
// itself (external content), so it holds no second copy of the text. It covers the rows up
// to logsearch.indexedthrough and is brought up to the newest row before it answers
// (CatchUp): tokenizing every take as it is written would cost the commits most of their
// speed. The triggers keep what it covers in step with the table, whoever writes.
const char* const kCreate[] = {
    // Undo reads a run's rows; rows of old logs have none.
    "CREATE INDEX IF NOT EXISTS actions_run ON actions(runid) WHERE runid IS NOT NULL",
    "CREATE INDEX IF NOT EXISTS actions_unfolded ON actions(id) "
    "WHERE foldedwords IS NULL AND searchwords IS NOT NULL",
    "CREATE VIRTUAL TABLE IF NOT EXISTS actionsearch USING fts5(foldedwords, "
    "content='actions', content_rowid='id', tokenize='trigram case_sensitive 1')",
    "CREATE TABLE IF NOT EXISTS logsearch (id INTEGER PRIMARY KEY CHECK (id = 1), "
    "indexedthrough INTEGER NOT NULL)",
    "INSERT OR IGNORE INTO logsearch VALUES (1, 0)",
    // A row given an id the index already covers (another program deleted the newest
    // rows, whose ids are then handed out again).
    "CREATE TRIGGER IF NOT EXISTS actions_search_insert AFTER INSERT ON actions "
    "WHEN new.foldedwords IS NOT NULL AND new.id <= (SELECT indexedthrough FROM logsearch) "
    "BEGIN INSERT INTO actionsearch(rowid, foldedwords) VALUES (new.id, new.foldedwords); END",
    "CREATE TRIGGER IF NOT EXISTS actions_search_delete AFTER DELETE ON actions "
    "WHEN old.foldedwords IS NOT NULL AND old.id <= (SELECT indexedthrough FROM logsearch) "
    "BEGIN INSERT INTO actionsearch(actionsearch, rowid, foldedwords) "
    "VALUES ('delete', old.id, old.foldedwords); END",
    "CREATE TRIGGER IF NOT EXISTS actions_search_update AFTER UPDATE OF foldedwords ON actions "
    "WHEN old.id <= (SELECT indexedthrough FROM logsearch) BEGIN "
    "INSERT INTO actionsearch(actionsearch, rowid, foldedwords) "
    "SELECT 'delete', old.id, old.foldedwords WHERE old.foldedwords IS NOT NULL; "
    "INSERT INTO actionsearch(rowid, foldedwords) "
    "SELECT new.id, new.foldedwords WHERE new.foldedwords IS NOT NULL; END",
    // For each side file, the sequence number of the last of its takes stored.
    "CREATE TABLE IF NOT EXISTS takejournals (journal TEXT PRIMARY KEY, "
    "lastseq INTEGER NOT NULL) WITHOUT ROWID",
    // Counts of recent search words (folded), each over the ids up to `through`: asked
    // again, only the rows written since are counted. Anything that changes the rows
    // already counted (a row deleted, its search words changed, a row given an id at or
    // below one counted, which only another program could do) forgets every count.
    "CREATE TABLE IF NOT EXISTS searchcounts (word TEXT PRIMARY KEY, rows INTEGER NOT NULL, "
    "through INTEGER NOT NULL, used INTEGER NOT NULL) WITHOUT ROWID",
    "CREATE INDEX IF NOT EXISTS searchcounts_through ON searchcounts(through)",
    "CREATE TRIGGER IF NOT EXISTS actions_counts_insert AFTER INSERT ON actions "
    "WHEN new.id <= (SELECT max(through) FROM searchcounts) BEGIN DELETE FROM searchcounts; END",
    "CREATE TRIGGER IF NOT EXISTS actions_counts_delete AFTER DELETE ON actions "
    "BEGIN DELETE FROM searchcounts; END",
    "CREATE TRIGGER IF NOT EXISTS actions_counts_update AFTER UPDATE OF searchwords, foldedwords "
    "ON actions BEGIN DELETE FROM searchcounts; END",
    // The packed copies of the folded words, a pack per 1024 ids (LogSearchPacks::kIds),
    // with the pairs of bytes they hold (LikeMatcher::Grams); both NULL for a pack left to
    // the scan. A change inside a packed range drops the
    // pack; only another program (deleting rows, reusing ids) or an older log's folding
    // makes one.
    "CREATE TABLE IF NOT EXISTS searchpacks (pack INTEGER PRIMARY KEY, grams BLOB, texts BLOB)",
    // Which packs there are, read without the packs' own pages.
    "CREATE INDEX IF NOT EXISTS searchpacks_packs ON searchpacks(pack)",
    "CREATE TRIGGER IF NOT EXISTS actions_packs_insert AFTER INSERT ON actions "
    "WHEN new.id <= (SELECT max(pack) FROM searchpacks) * 1024 + 1024 "
    "BEGIN DELETE FROM searchpacks WHERE pack = (new.id - 1) / 1024; END",
    "CREATE TRIGGER IF NOT EXISTS actions_packs_delete AFTER DELETE ON actions "
    "BEGIN DELETE FROM searchpacks WHERE pack = (old.id - 1) / 1024; END",
    "CREATE TRIGGER IF NOT EXISTS actions_packs_update AFTER UPDATE OF id, foldedwords ON actions "
    "BEGIN DELETE FROM searchpacks WHERE pack IN ((old.id - 1) / 1024, (new.id - 1) / 1024); END",
};
static_assert(LogSearchPacks::kIds == 1024, "the triggers above name the ids per pack");

constexpr int kFoldBatch = LogSchema::kBatch;

const char kUnfolded[] = "foldedwords IS NULL AND searchwords IS NOT NULL";

// Rolls back; the error is prefix followed by what failed.
SqliteOpen Fail(SqliteDb& db, const QString& prefix) {
    const QString error = prefix + db.error();
    const bool damaged = db.lastFailureIsDamage();
    (void)db.exec("ROLLBACK");
    db.setErrorText(error);
    return damaged ? SqliteOpen::Damaged : SqliteOpen::Failed;
}

}  // namespace

SqliteOpen LogSchema::Prepare(SqliteDb& db) {
    if (!db.exec("BEGIN IMMEDIATE")) return Fail(db, QString());
    if (!db.exec("CREATE TABLE IF NOT EXISTS actions (id INTEGER PRIMARY KEY, taketime TEXT, "
                 "ruletitle TEXT, actionname TEXT, dstpath TEXT, oripath TEXT, searchwords TEXT, "
                 "takeuid TEXT, foldedwords TEXT, runid TEXT, undomark TEXT)"))
        return Fail(db, QString());
    // A table of the same name made by something else: refuse it rather than guess.
    if (!db.prepare("SELECT id, taketime, ruletitle, actionname, dstpath, oripath, searchwords, "
                    "takeuid FROM actions"))
        return Fail(db, QStringLiteral("no usable action table: ") + db.error());
    // A log of an older program: its rows get their folded copies from FoldMissing. Its
    // rows have no run (each take is then a run of its own, named by its take identity)
    // and no undo mark (undo has nothing to check their items by, so it leaves them).
    for (const char* column : {"foldedwords", "runid", "undomark"})
        if (!db.prepare(std::string("SELECT ") + column + " FROM actions") &&
            !db.exec((std::string("ALTER TABLE actions ADD COLUMN ") + column + " TEXT").c_str()))
            return Fail(db, QString());
    for (const char* sql : kCreate)
        if (!db.exec(sql)) return Fail(db, QString());
    if (!db.exec("COMMIT")) return Fail(db, QString());
    db.setErrorText(QString());
    return SqliteOpen::Ok;
}

qint64 LogSchema::Unindexed(SqliteDb& db) {
    SqliteQuery q(
        db.prepare("SELECT coalesce((SELECT max(id) FROM actions), 0) - "
                   "(SELECT indexedthrough FROM logsearch)"));
    return q.step() == SQLITE_ROW ? q.int64(0) : 0;
}

bool LogSchema::IndexIsCurrent(SqliteDb& db) {
    return Unindexed(db) <= 0 && LogSearchPacks::Unpacked(db) == 0;
}

bool LogSchema::CatchUp(SqliteDb& db, const Progress& progress) {
    qint64 first = -1;
    for (;;) {
        if (!db.exec("BEGIN IMMEDIATE")) return false;
        qint64 through = 0, newest = 0;
        {
            SqliteQuery q(
                db.prepare("SELECT (SELECT indexedthrough FROM logsearch), "
                           "coalesce((SELECT max(id) FROM actions), 0)"));
            if (q.step() == SQLITE_ROW) through = q.int64(0), newest = q.int64(1);
        }
        if (first < 0) first = through;
        if (through >= newest) {
            if (!db.exec("COMMIT")) return false;
            break;
        }
        const qint64 upTo = std::min(newest, through + kFoldBatch);
        SqliteQuery add(db.prepare(
            "INSERT INTO actionsearch(rowid, foldedwords) SELECT id, foldedwords FROM actions "
            "WHERE id > :a AND id <= :b AND foldedwords IS NOT NULL"));
        add.bind(":a", through);
        add.bind(":b", upTo);
        SqliteQuery mark(db.prepare("UPDATE logsearch SET indexedthrough = :b"));
        mark.bind(":b", upTo);
        if (add.step() != SQLITE_DONE || mark.step() != SQLITE_DONE || !db.exec("COMMIT")) {
            db.setError(QStringLiteral("index the log"));
            const QString error = db.error();
            (void)db.exec("ROLLBACK");
            db.setErrorText(error);
            return false;
        }
        if (progress) progress(upTo - first, newest - first);
    }
    return LogSearchPacks::CatchUp(db, progress);
}

bool LogSchema::HasUnfolded(SqliteDb& db) {
    SqliteQuery q(db.prepare(std::string("SELECT 1 FROM actions WHERE ") + kUnfolded + " LIMIT 1"));
    return q.step() == SQLITE_ROW;
}

bool LogSchema::FoldMissing(SqliteDb& db, const Progress& progress) {
    if (!HasUnfolded(db)) return true;
    qint64 total = 0;
    {
        SqliteQuery q(db.prepare(std::string("SELECT count(*) FROM actions WHERE ") + kUnfolded));
        if (q.step() == SQLITE_ROW) total = q.int64(0);
    }
    qint64 done = 0;
    for (;;) {
        if (!db.exec("BEGIN IMMEDIATE")) return false;
        std::vector<std::pair<qint64, QString>> rows;
        {
            SqliteQuery q(db.prepare(std::string("SELECT id, searchwords FROM actions WHERE ") +
                                     kUnfolded + " ORDER BY id LIMIT " +
                                     std::to_string(kFoldBatch)));
            while (q.step() == SQLITE_ROW) rows.emplace_back(q.int64(0), q.text(1));
        }
        bool ok = true;
        for (const auto& [id, words] : rows) {
            SqliteQuery q(db.prepare("UPDATE actions SET foldedwords = :f WHERE id = :i"));
            q.bind(":f", LogSearchWord::Fold(words));
            q.bind(":i", id);
            if (q.step() != SQLITE_DONE) {
                db.setError(QStringLiteral("fold the search words of row %1").arg(id));
                ok = false;
                break;
            }
        }
        if (!ok || !db.exec("COMMIT")) {
            const QString error = db.error();
            (void)db.exec("ROLLBACK");
            db.setErrorText(error);
            return false;
        }
        if (rows.empty()) return true;
        done += qint64(rows.size());
        if (progress) progress(std::min(done, total), total);
    }
}

}  // namespace vandrel
