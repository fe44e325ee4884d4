// The log's counts of a search word: kept in the log file for the words counted most
// recently and brought up to date by counting only the rows written since.
#include <sqlite3.h>

#include "log/log_manager_impl.h"
#include "log/log_manager_sql.h"

namespace vandrel {

using namespace logdb;

namespace {

// A remembered count is brought up to date by scanning the rows written since; beyond
// this many the count is made afresh (the index answers a whole count sooner).
constexpr qint64 kMostRowsSinceCount = 100000;
// The log remembers the counts of this many search words, the most recently counted.
constexpr int kCountsKept = 64;
// Longer words are counted every time rather than kept.
constexpr qsizetype kLongestCountedWord = 1000;

// The key of a word's kept count: its folded text, never null (the empty word's too).
QString CountKey(const LogSearchWord& word) { return QLatin1Char('=') + word.folded(); }

}  // namespace

qint64 LogManager::GetActionCount(const QString& searchWord) {
    if (!d_->open()) return 0;
    (void)d_->fold();
    d_->db.setErrorText(QString());
    d_->forgetPagesIfChanged();
    const LogSearchWord asked(searchWord);
    if (const std::optional<qint64> known = d_->rememberedCount(asked)) return *known;
    d_->db.setErrorText(QString());
    const LogSearchWord word = d_->indexedRead(asked, true);
    qint64 rows = 0, newest = -1, version = 0;
    {
        // The count and the newest id it covers, read in one transaction.
        const ReadTransaction done(d_->db, word.usesIndex() || Run(d_->db, "BEGIN"));
        SqliteQuery q(d_->db.prepare(word.countSql()));
        if (!q.valid()) return 0;
        q.bind(":w", word.parameter());
        if (q.step() != SQLITE_ROW) {
            d_->db.setError(QStringLiteral("count the log"));
            return 0;
        }
        rows = q.int64(0);
        if (done.open()) {
            newest = NewestId(d_->db);
            version = d_->db.dataVersion();
        }
    }
    if (newest >= 0) d_->rememberCount(asked, rows, newest, version);
    return rows;
}

// The count of word remembered in the log, with the rows written since it was counted
// added by the scan; nothing when it is not remembered, too many rows came since, or the
// log cannot be read now (the caller then counts afresh and says what failed).
std::optional<qint64> LogManager::Impl::rememberedCount(const LogSearchWord& word) {
    if (word.folded().size() > kLongestCountedWord) return std::nullopt;
    qint64 total = 0, newest = 0, through = 0, version = 0;
    {
        const ReadTransaction done(db, Run(db, "BEGIN"));
        if (!done.open()) return std::nullopt;
        {
            SqliteQuery q(db.prepare("SELECT rows, through FROM searchcounts WHERE word = :w"));
            q.bind(":w", CountKey(word));
            if (q.step() != SQLITE_ROW) return std::nullopt;
            total = q.int64(0);
            through = q.int64(1);
        }
        newest = NewestId(db);
        if (newest < through || newest - through > kMostRowsSinceCount) return std::nullopt;
        if (newest > through) {
            SqliteQuery q(db.prepare(word.countAboveSql()));
            q.bind(":t", through);
            q.bind(":w", word.scanned().parameter());
            if (q.step() != SQLITE_ROW) return std::nullopt;
            total += q.int64(0);
        }
        version = db.dataVersion();
    }
    if (newest > through) rememberCount(word, total, newest, version);
    db.setErrorText(QString());
    return total;
}

// Keeps a count of the rows with ids up to through, read while the file's data version
// was readVersion. Only when the file is free at once (the count is answered already; a
// busy file just means the next ask counts again) and nothing was written since the count
// was read (the rows it counted might have changed meanwhile).
void LogManager::Impl::rememberCount(const LogSearchWord& word, qint64 rows, qint64 through,
                                     qint64 readVersion) {
    if (word.folded().size() > kLongestCountedWord) return;
    const QString error = db.error();
    db.setWaitWhenBusy(false);
    if (Run(db, "BEGIN IMMEDIATE")) {
        bool ok = db.dataVersion() == readVersion;
        if (ok) {
            SqliteQuery put(
                db.prepare("INSERT OR REPLACE INTO searchcounts (word, rows, through, used) VALUES "
                           "(:w, :n, :t, (SELECT coalesce(max(used), 0) + 1 FROM searchcounts))"));
            put.bind(":w", CountKey(word));
            put.bind(":n", rows);
            put.bind(":t", through);
            ok = put.step() == SQLITE_DONE;
        }
        if (ok) {
            SqliteQuery trim(
                db.prepare("DELETE FROM searchcounts WHERE used <= (SELECT max(used) FROM "
                           "searchcounts) - :k"));
            trim.bind(":k", kCountsKept);
            ok = trim.step() == SQLITE_DONE;
        }
        (void)Run(db, ok ? "COMMIT" : "ROLLBACK");
    }
    db.setWaitWhenBusy(true);
    db.setErrorText(error);
}

}  // namespace vandrel
