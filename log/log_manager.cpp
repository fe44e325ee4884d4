#include "log/log_manager.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "log/log_manager_impl.h"
#include "log/log_manager_sql.h"
#include "log/log_search_packs.h"
#include "platform/clock.h"
#include "platform/state_file.h"

namespace vandrel {

using namespace logdb;

namespace {

// Takes wait in the side file until this many have gathered or the oldest is this old
// (checked at each commit), and before anything is read; then one transaction takes them.
constexpr size_t kFoldTakes = 256;
constexpr qint64 kFoldAfterMs = 250;
constexpr int kOpenAttempts = 60;

}  // namespace

// The takes in one transaction, in order; all of them or none are stored.
bool LogManager::Impl::insertTakes(const std::vector<JournalTake>& takes) {
    refused = false;
    if (takes.empty()) return true;
    // IMMEDIATE takes the write lock up front, so a busy file makes us wait (busy
    // timeout) instead of failing half way through.
    if (!Run(db, "BEGIN IMMEDIATE")) return false;
    pages.clear();

    // Two takes in one second could draw the same random part; the log view tells takes
    // apart by identity, so a new take never repeats the newest one stored.
    QString previousUid;
    {
        SqliteQuery q(db.prepare("SELECT takeuid FROM actions ORDER BY id DESC LIMIT 1"));
        if (q.step() == SQLITE_ROW) previousUid = q.text(0);
    }
    std::vector<QString> uids;
    uids.reserve(takes.size());
    for (const JournalTake& take : takes)
        uids.push_back(previousUid = drawUid(take.identityStem, previousUid));
    std::vector<QString> folded;
    folded.reserve(takes.size());
    for (const JournalTake& take : takes) folded.push_back(LogSearchWord::Fold(take.searchText));
    // Rows go in order, several per statement (from one take or several): the id sequence
    // is then read and stored once per statement rather than once per row.
    std::vector<std::pair<size_t, size_t>> rows;  // (take, row)
    for (size_t t = 0; t < takes.size(); ++t)
        for (size_t r = 0; r < takes[t].rows.size(); ++r) rows.emplace_back(t, r);
    bool ok = true;
    for (size_t first = 0; ok && first < rows.size(); first += kRowsPerInsert) {
        const size_t count = std::min(kRowsPerInsert, rows.size() - first);
        SqliteQuery q(db.prepare(InsertSql(count)));
        ok = q.valid();
        for (size_t i = 0; ok && i < count; ++i) {
            const auto [t, r] = rows[first + i];
            const JournalTake& take = takes[t];
            const JournalTake::Row& row = take.rows[r];
            const int base = int(i) * kInsertColumns;
            q.bindAt(base + 1, row.takeTime);
            q.bindAt(base + 2, take.ruleTitle);
            q.bindAt(base + 3, row.actionName);
            q.bindAt(base + 4, row.dstPath);
            q.bindAt(base + 5, row.oriPath);
            q.bindAt(base + 6, take.searchText);
            q.bindAt(base + 7, uids[t]);
            q.bindAt(base + 8, folded[t]);
            // Null, not empty, where there is none: old rows have none either.
            q.bindAt(base + 9, take.runId.isEmpty() ? QString() : take.runId);
            q.bindAt(base + 10, row.undoMark.isEmpty() ? QString() : row.undoMark);
        }
        if (ok && q.step() != SQLITE_DONE) {
            db.setError(
                QStringLiteral("write the take of \"%1\"").arg(takes[rows[first].first].ruleTitle));
            ok = false;
        }
    }
    // With the rows, how far each side file has got: that, not the rows' content, tells a
    // later reader of the side file which of its takes are stored.
    ok = ok && StoredTakes::Note(db, takes);
    if (ok && Run(db, "COMMIT")) return true;
    refused = db.lastFailureIsRefusal();
    const QString error = db.error();
    Run(db, "ROLLBACK");
    db.setErrorText(error);
    return false;
}

// Moves the waiting takes into the database and empties the side file. When the file is
// busy or the disk full they keep waiting (and stay in the side file for whoever opens
// the log next); a take the database refuses for good (a trigger, a constraint) is
// dropped, so that it does not hold up the takes after it, and the refusal is reported.
// A log whose pages turn out damaged is kept aside and the takes go into a new one.
bool LogManager::Impl::fold() {
    if (unfolded.empty()) return true;
    bool inserted = insertTakes(unfolded);
    if (!inserted && db.lastFailureIsDamage() && startAfresh(path, db.error()) == SqliteOpen::Ok)
        inserted = insertTakes(unfolded);
    if (inserted) {
        unfolded.clear();
        rewriteJournal();
        writeFailed = false;
        return true;
    }
    if (!refused) {
        // Busy means another writer holds the file a while: the takes are safe in the side
        // file. Anything else (a full disk, a read-only or vanished file) stops new work.
        if (!db.lastFailureIsBusy()) writeFailed = true;
        return false;
    }
    const QString refusal = db.error();
    std::vector<JournalTake> waiting;
    for (JournalTake& take : unfolded)
        if (!waiting.empty() || (!insertTakes({take}) && !refused))
            waiting.push_back(std::move(take));
    unfolded = std::move(waiting);
    rewriteJournal();
    db.setErrorText(refusal);
    return false;
}

// The side file holds exactly the waiting takes again. One that still held stored takes
// would make the takes after them look stored too, were this process to end: rather no
// side file than that.
void LogManager::Impl::rewriteJournal() {
    if (!journal.isOpen()) return;
    bool ok = journal.clear();
    for (JournalTake& take : unfolded) ok = ok && journal.append(take);
    if (!ok) journal.close(true);
}

// Stores the takes of a side file whose manager ended before storing them all; false when
// the database did not take them (they stay in the file for the next opener).
bool LogManager::Impl::storeLeftOver(const std::vector<JournalTake>& takes) {
    if (takes.empty()) return true;
    const QString journalId = takes.front().journal;
    if (journalId.isEmpty()) return StoredTakes::StoredAsOneRun(db, takes) || insertTakes(takes);
    const qint64 last = StoredTakes::LastStored(db, journalId);
    std::vector<JournalTake> waiting;
    for (const JournalTake& take : takes)
        if (take.journal != journalId || take.sequence > last) waiting.push_back(take);
    return insertTakes(waiting);
}

// Takes left in side files by managers that ended before storing them.
void LogManager::Impl::takeOverOrphans() {
    for (const TakeJournal::Orphan& orphan : TakeJournal::ClaimOrphans(path)) {
        const TakeJournal::OrphanTakes read = TakeJournal::Read(orphan);
        const std::vector<JournalTake>& takes = read.takes;
        // A file that could not be read to its end keeps the takes after the failure: it
        // stays for the next opener, which stores only those the note says are missing.
        const bool inserted = storeLeftOver(takes) && read.readToEnd;
        TakeJournal::Release(orphan, inserted);
        // Only once the file is gone: until then the note keeps its stored takes from being
        // stored again.
        if (inserted && !takes.empty()) StoredTakes::Forget(db, takes.front().journal);
    }
}

LogManager::LogManager(const Clock* clock) : d_(std::make_unique<Impl>()) {
    d_->clock = clock ? clock : &SystemClock::instance();
}

LogManager::~LogManager() { CloseLogFile(); }

bool LogManager::isOpen() const { return d_->open(); }

bool LogManager::isUsable() const { return d_->open() && !d_->writeFailed; }

QString LogManager::lastError() const { return d_->db.error(); }

QString LogManager::keptAsidePath() const { return d_->keptAside; }

void LogManager::freezeDatabaseSizeForTest() {
    SqliteQuery q(d_->db.prepare("PRAGMA page_count"));
    if (q.step() == SQLITE_ROW)
        (void)d_->db.exec(("PRAGMA max_page_count = " + std::to_string(q.int64(0))).c_str());
}

// For a word the index answers: opens the read transaction the search runs in, with the
// index covering every row in it, and gives the word back; when the index cannot be brought
// up to date (another writer holds the file), or a count is sooner made from the packed
// search words, the word as the scan answers it. A word the scan answers brings the packs up
// to date first.
LogSearchWord LogManager::Impl::indexedRead(const LogSearchWord& word, bool forCount) {
    if (!word.usesIndex()) {
        if (word.countsInPacks() && !LogSchema::IndexIsCurrent(db))
            (void)LogSchema::CatchUp(db, {});
        return word;
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!Run(db, "BEGIN")) break;
        if (LogSchema::IndexIsCurrent(db)) {
            if (!forCount || indexCounts(word)) return word;
            (void)Run(db, "COMMIT");
            break;
        }
        (void)Run(db, "COMMIT");
        if (!LogSchema::CatchUp(db, {})) break;
    }
    return word.scanned();
}

namespace {

// A count from the index reads the list of every row the word is in, about 0.2 µs a row
// for a phrase (its trigrams' positions compared) and a whole row read for each candidate
// of a glob word; one from the packs reads every pack, about 35 ms a million rows on two
// threads. The index counts up to these many rows before the packs take over: a rarer word
// is counted by the index, a common one costs the packs and a few milliseconds more.
constexpr qint64 kIndexCountsPhraseRows = 20000;
constexpr qint64 kIndexCountsGlobCandidates = 8000;
// The rows holding a glob word's two longest runs checked for a page before the packs are
// walked: about 3 µs each.
constexpr int kCandidatesChecked = 4000;

}  // namespace

// Whether the index answers a count of word sooner than the packs (see above). A phrase of
// one trigram reads a single list without positions, always sooner. A word the packs cannot
// match (LikeMatcher::usable) goes to the index unless its candidates are more than about
// one row in eight, where reading each of them costs more than the scan.
bool LogManager::Impl::indexCounts(const LogSearchWord& word) {
    const bool glob = word.route() == LogSearchWord::Route::Glob;
    const bool packable = LikeMatcher(word.folded().toUtf8()).usable();
    if (!glob && (!packable || word.folded().toUcs4().size() <= 3)) return true;
    const qint64 newest = NewestId(db);
    if (newest < 0) return false;
    const qint64 cap = !packable              ? newest / 8 + 1
                       : indexAnswersUpTo > 0 ? indexAnswersUpTo
                       : glob                 ? kIndexCountsGlobCandidates
                                              : kIndexCountsPhraseRows;
    SqliteQuery q(
        db.prepare("SELECT count(*) FROM (SELECT 1 FROM actionsearch WHERE "
                   "actionsearch MATCH :p LIMIT :cap)"));
    q.bind(":p", glob ? word.longestRunPhrase() : word.parameter());
    q.bind(":cap", cap);
    return q.step() == SQLITE_ROW && q.int64(0) < cap;
}

// Opens the file and makes the tables. Processes that open a fresh log at the same moment
// may find it locked in ways SQLite does not wait for (making the write-ahead file, the
// first schema); they try again a little later.
SqliteOpen LogManager::Impl::openAndPrepare(const QString& file) {
    for (int attempt = 1;; ++attempt) {
        SqliteOpen result = db.open(file);
        if (result == SqliteOpen::Ok) result = LogSchema::Prepare(db);
        if (result == SqliteOpen::Ok) return result;
        db.close();
        if (!db.lastFailureIsBusy() || attempt == kOpenAttempts) return result;
        std::this_thread::sleep_for(std::chrono::milliseconds(10 + random.bounded(40)));
    }
}

// Keeps a log whose pages cannot be read (and its write-ahead file, which belongs to it and
// must not be replayed into the new log) under another name and starts a new one in its
// place. Never writes over it.
SqliteOpen LogManager::Impl::startAfresh(const QString& file, const QString& reason) {
    db.close();
    const QString aside = KeepAside(file);
    if (aside.isEmpty()) {
        db.setErrorText(reason + QStringLiteral("; the file cannot be moved aside"));
        return SqliteOpen::Failed;
    }
    if (QFile::exists(file + QStringLiteral("-wal")))
        QFile::rename(file + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
    QFile::remove(file + QStringLiteral("-shm"));
    keptAside = aside;
    pages.clear();
    return openAndPrepare(file);
}

bool LogManager::OpenLogFile(const QString& strPath, const LogSchema::Progress& progress,
                             bool makeSearchable) {
    CloseLogFile();
    d_->db.setErrorText(QString());
    d_->keptAside.clear();
    d_->pages.clear();
    d_->dataVersion = -1;
    d_->writeFailed = false;
    if (strPath.isEmpty()) {
        d_->db.setErrorText(QStringLiteral("no log file was given"));
        return false;
    }
    const QFileInfo info(strPath);
    if (info.exists() && !info.isFile()) {
        d_->db.setErrorText(QStringLiteral("%1 is not a file").arg(strPath));
        return false;
    }
    // A file without the database header is known to be damaged before SQLite touches
    // it (and before SQLite would drop a write-ahead file it finds beside it).
    SqliteOpen result =
        HasDatabaseHeader(strPath) ? d_->openAndPrepare(strPath) : SqliteOpen::Damaged;
    if (result == SqliteOpen::Damaged)
        result = d_->startAfresh(strPath, d_->db.error().isEmpty()
                                              ? QStringLiteral("%1 is not a database").arg(strPath)
                                              : d_->db.error());
    if (result != SqliteOpen::Ok) return false;
    // Rows of an older program get their folded search words before anything is read, so
    // the search finds them as it finds new ones. A large part of the log outside the
    // index (a log of an older program) is indexed now, with progress; a few rows are left
    // to the next search.
    if (makeSearchable && (!LogSchema::FoldMissing(d_->db, progress) ||
                           ((LogSchema::Unindexed(d_->db) >= LogSchema::kBatch ||
                             LogSearchPacks::Unpacked(d_->db) >= LogSchema::kBatch) &&
                            !LogSchema::CatchUp(d_->db, progress)))) {
        d_->db.setErrorText(
            QStringLiteral("%1 cannot be made searchable: %2").arg(strPath, d_->db.error()));
        d_->db.close();
        return false;
    }
    d_->path = strPath;
    d_->takeOverOrphans();
    // Without a side file every take goes straight into the database.
    (void)d_->journal.open(strPath);
    // Without the work above, the first search of this connection looks for unfolded rows.
    d_->dataVersion = makeSearchable ? d_->db.dataVersion() : -1;
    return true;
}

void LogManager::CloseLogFile() {
    if (d_->open()) (void)d_->fold();
    // Takes that could not be stored stay in the side file for the next opener.
    const bool allStored = d_->unfolded.empty();
    const QString journalId = d_->journal.id();
    d_->journal.close(allStored);
    if (allStored && d_->open()) StoredTakes::Forget(d_->db, journalId);
    d_->unfolded.clear();
    d_->counter.close();
    d_->db.close();
    d_->pages.clear();
}

void LogManager::AppendActionLog(const ActionLog& actLog) { d_->pending.push_back(actLog); }

bool LogManager::CommitToLogFile(const QString& ruleTitle) {
    if (d_->pending.empty()) return true;
    // Whatever happens, these records belong to this take only.
    const std::vector<ActionLog> records = std::move(d_->pending);
    d_->pending.clear();
    if (!d_->open()) {
        d_->db.setErrorText(QStringLiteral("the action log is not open"));
        return false;
    }
    d_->db.setErrorText(QString());

    JournalTake take;
    const QDateTime now = d_->clock->nowToTheSecond();
    take.identityStem = d_->stem.of(now);
    take.ruleTitle = ruleTitle;
    // Outside a run the take is a run of its own.
    take.runId = d_->run.isEmpty() ? d_->newRunId(now) : d_->run;
    // Newest record first, each followed by a comma: records A then B give "B,A,".
    for (const ActionLog& rec : records)
        take.searchText.prepend(rec.searchWords + QLatin1Char(','));
    take.rows.reserve(records.size());
    for (const ActionLog& rec : records)
        take.rows.push_back(
            {d_->stored.of(rec.takeTime), rec.actionName, rec.dstPath, rec.oriPath, rec.undoMark});

    if (d_->journal.isOpen() && d_->journal.append(take)) {
        if (d_->unfolded.empty()) d_->oldestUnfolded.start();
        d_->unfolded.push_back(std::move(take));
        if (d_->unfolded.size() >= kFoldTakes || d_->oldestUnfolded.elapsed() >= kFoldAfterMs)
            (void)d_->fold();
        return true;
    }
    // No side file to hold it: into the database at once, behind the takes committed
    // before it. If the database does not take it either, it waits in memory for a later
    // try (it is not in any file now) and the log is no longer fit for new work.
    d_->unfolded.push_back(std::move(take));
    if (d_->fold()) return true;
    if (d_->refused) return false;
    d_->writeFailed = true;
    return false;
}

bool LogManager::Flush() { return !d_->open() || d_->fold(); }

std::vector<LogRow> LogManager::SearchActionLog(const QString& searchWord, int itemsCount,
                                                qint64 pageNum) {
    std::vector<LogRow> rows;
    if (!d_->open() || itemsCount < 1) return rows;
    (void)d_->fold();
    d_->db.setErrorText(QString());
    const qint64 page = std::max<qint64>(pageNum, 1);
    // A page whose offset does not fit in 64 bits lies beyond any table.
    if (page - 1 > std::numeric_limits<qint64>::max() / itemsCount) return rows;

    d_->forgetPagesIfChanged();
    const LogSearchWord word = d_->indexedRead(LogSearchWord(searchWord), false);
    const ReadTransaction done(d_->db, word.usesIndex());
    const LogPageCache::Plan plan = d_->pages.planFor(word.folded(), itemsCount, page);
    if (std::optional<LikeMatcher> packed = d_->pagesFromPacks(word)) {
        if (!done.open() && !Run(d_->db, "BEGIN")) return rows;
        const ReadTransaction packRead(d_->db, !done.open());
        if (!d_->readPackedPage(word, *packed, plan, itemsCount, rows)) {
            d_->db.setError(QStringLiteral("search the log"));
            rows.clear();
            return rows;
        }
    } else if (!d_->readPage(word, plan, itemsCount, rows)) {
        d_->db.setError(QStringLiteral("search the log"));
        rows.clear();
        return rows;
    }
    if (!plan.newestFirst) std::reverse(rows.begin(), rows.end());
    if (rows.size() == size_t(itemsCount))
        d_->pages.remember(word.folded(), itemsCount, page, {rows.front().id, rows.back().id});
    return rows;
}

// A page by the word's own route; false when it cannot be read.
bool LogManager::Impl::readPage(const LogSearchWord& word, const LogPageCache::Plan& plan,
                                int itemsCount, std::vector<LogRow>& rows) {
    SqliteQuery q(db.prepare(word.pageSql(plan)));
    if (!q.valid()) return false;
    if (plan.boundary) q.bind(":b", *plan.boundary);
    q.bind(":w", word.parameter());
    q.bind(":n", itemsCount);
    q.bind(":k", plan.skipRows);
    int rc;
    while ((rc = q.step()) == SQLITE_ROW) rows.push_back(ReadRow(q));
    return rc == SQLITE_DONE;
}

// A word whose pages are sooner walked in the packed search words than by its route: one the
// scan answers, and a glob word whose plain run is common (the index would read every row
// that holds it, a million for a run in every row). The matcher, when so.
std::optional<LikeMatcher> LogManager::Impl::pagesFromPacks(const LogSearchWord& word) {
    const bool glob = word.route() == LogSearchWord::Route::Glob;
    if (!glob && !word.countsInPacks()) return std::nullopt;
    std::optional<LikeMatcher> matcher(std::in_place, word.folded().toUtf8());
    if (!matcher->usable() || (glob && indexCounts(word))) return std::nullopt;
    return matcher;
}

// A page walked in the packs, inside the read transaction the caller holds.
bool LogManager::Impl::readPackedPage(const LogSearchWord& word, const LikeMatcher& matcher,
                                      const LogPageCache::Plan& plan, int itemsCount,
                                      std::vector<LogRow>& rows) {
    constexpr qint64 kFirst = std::numeric_limits<qint64>::min();
    constexpr qint64 kLast = std::numeric_limits<qint64>::max();
    qint64 lo = kFirst, hi = kLast;
    if (plan.boundary && plan.newestFirst) hi = *plan.boundary - 1;
    if (plan.boundary && !plan.newestFirst) lo = *plan.boundary + 1;
    const LogSearchWord scanned = word.scanned();
    const auto scan = [&](qint64 a, qint64 b, bool newestFirst, qint64 most,
                          std::vector<qint64>& ids) {
        SqliteQuery q(db.prepare(
            newestFirst ? "SELECT id FROM actions WHERE id BETWEEN :a AND :b AND foldedwords "
                          "LIKE :w ORDER BY id DESC LIMIT :n"
                        : "SELECT id FROM actions WHERE id BETWEEN :a AND :b AND foldedwords "
                          "LIKE :w ORDER BY id LIMIT :n"));
        q.bind(":a", a);
        q.bind(":b", b);
        q.bind(":w", scanned.parameter());
        q.bind(":n", most);
        int rc;
        while ((rc = q.step()) == SQLITE_ROW) ids.push_back(q.int64(0));
        return rc == SQLITE_DONE;
    };
    std::vector<qint64> ids;
    qint64 skip = plan.skipRows;
    bool walk = true;
    // A glob word of several runs, each in many rows, may still be in few: the rows holding
    // its two longest runs, which the index intersects, are checked first, up to a budget;
    // the rest of the range is walked in the packs.
    if (const QString both = word.twoRunsPhrase(); !both.isEmpty()) {
        SqliteQuery candidates(db.prepare(
            plan.newestFirst ? "SELECT rowid FROM actionsearch WHERE actionsearch MATCH :p AND "
                               "rowid BETWEEN :a AND :b ORDER BY rowid DESC"
                             : "SELECT rowid FROM actionsearch WHERE actionsearch MATCH :p AND "
                               "rowid BETWEEN :a AND :b ORDER BY rowid"));
        candidates.bind(":p", both);
        candidates.bind(":a", lo);
        candidates.bind(":b", hi);
        SqliteQuery check(
            db.prepare("SELECT 1 FROM actions WHERE id = :i AND foldedwords LIKE :w"));
        check.bind(":w", scanned.parameter());
        int examined = 0, rc = SQLITE_ROW;
        walk = false;
        while (ids.size() < size_t(itemsCount) && (rc = candidates.step()) == SQLITE_ROW) {
            const qint64 id = candidates.int64(0);
            if (++examined > (indexAnswersUpTo > 0 ? indexAnswersUpTo : kCandidatesChecked)) {
                (plan.newestFirst ? hi : lo) = id;
                walk = true;
                break;
            }
            check.bind(":i", id);
            const int found = check.step();
            check.reset();
            if (found != SQLITE_ROW && found != SQLITE_DONE) return false;
            if (found == SQLITE_ROW && skip > 0)
                --skip;
            else if (found == SQLITE_ROW)
                ids.push_back(id);
        }
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) return false;
    }
    if (walk && !LogSearchPacks::Page(db, matcher, lo, hi, plan.newestFirst, skip,
                                      itemsCount - qint64(ids.size()), scan, ids))
        return false;
    SqliteQuery q(db.prepare(std::string(kColumns) + " WHERE id = :i"));
    for (const qint64 id : ids) {
        q.bind(":i", id);
        if (q.step() != SQLITE_ROW) return false;
        rows.push_back(ReadRow(q));
        q.reset();
    }
    return true;
}

std::optional<LogRow> LogManager::GetActionRecord(const QString& searchId) {
    if (!d_->open()) return std::nullopt;
    (void)d_->fold();
    d_->db.setErrorText(QString());
    bool isNumber = false;
    const qint64 id = searchId.trimmed().toLongLong(&isNumber);
    if (!isNumber) return std::nullopt;
    SqliteQuery q(d_->db.prepare(std::string(kColumns) + " WHERE id = :i"));
    if (!q.valid()) return std::nullopt;
    q.bind(":i", id);
    const int rc = q.step();
    if (rc == SQLITE_ROW) return ReadRow(q);
    if (rc != SQLITE_DONE) d_->db.setError(QStringLiteral("read log record %1").arg(id));
    return std::nullopt;
}

}  // namespace vandrel
