// The log's counts of a search word: kept in the log file for the words counted most
// recently and brought up to date by counting only the rows written since.
#include <sqlite3.h>

#include <limits>
#include <system_error>
#include <thread>

#include "log/log_manager_impl.h"
#include "log/log_manager_sql.h"
#include "log/log_search_packs.h"

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

// The rows of word with ids from lo to hi by its own route; nothing when the connection
// cannot read them.
std::optional<qint64> CountBySql(SqliteDb& db, const LogSearchWord& word, qint64 lo, qint64 hi) {
    SqliteQuery q(db.prepare(word.countSql()));
    if (!q.valid()) return std::nullopt;
    q.bind(":w", word.parameter());
    q.bind(":lo", lo);
    q.bind(":hi", hi);
    if (q.step() != SQLITE_ROW) return std::nullopt;
    return q.int64(0);
}

// A word to count and how: in the packs when packed is set (a word the scan would answer).
struct Counted {
    explicit Counted(const LogSearchWord& w) : word(w) {
        if (!word.countsInPacks()) return;
        packed.emplace(word.folded().toUtf8());
        if (!packed->usable()) packed.reset();
    }
    LogSearchWord word;
    std::optional<LikeMatcher> packed;
};

std::optional<qint64> CountRange(SqliteDb& db, const Counted& c, qint64 lo, qint64 hi) {
    if (!c.packed) return CountBySql(db, c.word, lo, hi);
    return LogSearchPacks::Count(db, *c.packed, lo, hi,
                                 [&](qint64 a, qint64 b) { return CountBySql(db, c.word, a, b); });
}

}  // namespace

void LogManager::SetCountSplitFrom(qint64 rows) { d_->countSplitFrom = rows; }

void LogManager::SetIndexAnswersUpTo(qint64 rows) { d_->indexAnswersUpTo = rows; }

qint64 LogManager::GetActionCount(const QString& searchWord) {
    if (!d_->open()) return 0;
    (void)d_->fold();
    d_->db.setErrorText(QString());
    d_->forgetPagesIfChanged();
    const LogSearchWord asked(searchWord);
    if (const std::optional<qint64> known = d_->rememberedCount(asked)) return *known;
    d_->db.setErrorText(QString());
    std::optional<Impl::Count> counted = d_->countRows(d_->indexedRead(asked, true), true);
    // The second thread read on a connection of its own, which sees the file as it is when
    // its read starts: if another program wrote meanwhile, the two halves may be of two
    // moments, so the count is made again on one connection.
    if (counted && counted->split && d_->db.dataVersion() != counted->version)
        counted = d_->countRows(d_->indexedRead(asked, true), false);
    if (!counted) return 0;
    if (counted->newest >= 0)
        d_->rememberCount(asked, counted->rows, counted->newest, counted->version);
    return counted->rows;
}

// Counts the rows of word and reads the newest id the count covers, in one read transaction
// (the one indexedRead opened for an indexed word, else one of its own). A long count is
// split by id in two halves, the newer half counted on a second thread and connection: a
// count of a common word reads long lists from the index, and the log tab asks it while
// the user types. Nothing when the log cannot be read (the error says why).
std::optional<LogManager::Impl::Count> LogManager::Impl::countRows(const LogSearchWord& asked,
                                                                   bool twoThreads) {
    const Counted word(asked);
    const ReadTransaction done(db, asked.usesIndex() || Run(db, "BEGIN"));
    Count c;
    qint64 oldest = 0;
    if (done.open()) {
        c.newest = NewestId(db);
        c.version = db.dataVersion();
        SqliteQuery q(db.prepare("SELECT coalesce(min(id), 0) FROM actions"));
        oldest = q.step() == SQLITE_ROW ? q.int64(0) : c.newest;
    }
    constexpr qint64 kFirst = std::numeric_limits<qint64>::min();
    constexpr qint64 kLast = std::numeric_limits<qint64>::max();
    std::optional<qint64> lower, upper;
    if (twoThreads && c.newest >= 0 && c.newest - oldest >= countSplitFrom && openCounter()) {
        qint64 middle = oldest + (c.newest - oldest) / 2;
        // Whole packs on either side: a pack cut in two would be scanned.
        if (word.packed) middle = LogSearchPacks::Boundary(middle);
        try {
            std::thread second([&] { upper = CountRange(counter, word, middle + 1, c.newest); });
            lower = CountRange(db, word, kFirst, middle);
            second.join();
        } catch (const std::system_error&) {
            // No thread to be had: the whole count on this one.
        }
        c.split = upper.has_value();
        if (!lower) lower = CountRange(db, word, kFirst, middle);
        if (!upper) upper = CountRange(db, word, middle + 1, c.newest);
    } else {
        lower = CountRange(db, word, kFirst, kLast);
        upper = 0;
    }
    if (!lower || !upper) {
        db.setError(QStringLiteral("count the log"));
        return std::nullopt;
    }
    c.rows = *lower + *upper;
    if (!done.open()) c.newest = -1;
    return c;
}

bool LogManager::Impl::openCounter() {
    return counter.isOpen() || (!path.isEmpty() && counter.open(path) == SqliteOpen::Ok);
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
            const std::optional<qint64> since = CountRange(db, Counted(word.scanned()), through + 1,
                                                           std::numeric_limits<qint64>::max());
            if (!since) return std::nullopt;
            total += *since;
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
