#include "log/log_manager.h"

#include <sqlite3.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "log/log_page_cache.h"
#include "log/sqlite_db.h"
#include "log/take_journal.h"
#include "platform/clock.h"
#include "platform/state_file.h"

namespace vandrel {

namespace {

const char kSchema[] =
    "CREATE TABLE IF NOT EXISTS actions ("
    "id INTEGER PRIMARY KEY, "
    "taketime TEXT, ruletitle TEXT, actionname TEXT, dstpath TEXT, oripath TEXT, "
    "searchwords TEXT, takeuid TEXT)";

const char kColumns[] =
    "SELECT id, taketime, ruletitle, actionname, dstpath, oripath, searchwords, takeuid "
    "FROM actions";

constexpr int kInsertColumns = 7;
constexpr size_t kRowsPerInsert = 16;
// Takes wait in the side file until this many have gathered or the oldest is this old
// (checked at each commit), and before anything is read; then one transaction takes them.
constexpr size_t kFoldTakes = 256;
constexpr qint64 kFoldAfterMs = 250;

// An insert of `rows` rows; parameters are numbered row by row in the column order.
std::string InsertSql(size_t rows) {
    std::string sql =
        "INSERT INTO actions (taketime, ruletitle, actionname, dstpath, oripath, searchwords, "
        "takeuid) VALUES ";
    for (size_t i = 0; i < rows; ++i) sql += i == 0 ? "(?,?,?,?,?,?,?)" : ",(?,?,?,?,?,?,?)";
    return sql;
}

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// The word as it goes into the like pattern: quotes removed (not doubled), so "it's"
// finds "its"; % and _ are left alone and keep their wildcard meaning.
QString CleanWord(const QString& word) {
    QString w = word;
    w.remove(QLatin1Char('\''));
    return w;
}

QString LikePattern(const QString& cleanWord) {
    return QLatin1Char('%') + cleanWord + QLatin1Char('%');
}

// The page query for one plan: matching rows newest first below the boundary (or oldest
// first above it), skipping some, at most :n of them.
std::string PageSql(bool withWord, const LogPageCache::Plan& plan) {
    std::string sql = kColumns;
    std::string where;
    if (plan.boundary) where = plan.newestFirst ? "id < :b" : "id > :b";
    if (withWord) where += where.empty() ? "searchwords LIKE :w" : " AND searchwords LIKE :w";
    if (!where.empty()) sql += " WHERE " + where;
    sql += plan.newestFirst ? " ORDER BY id DESC" : " ORDER BY id ASC";
    sql += " LIMIT :n OFFSET :k";
    return sql;
}

LogRow ReadRow(const SqliteQuery& q) {
    LogRow row;
    row.id = q.int64(0);
    const QString time = q.text(1);
    row.takeTime = QDateTime::fromString(time, kTimeFormat);
    if (!row.takeTime.isValid()) row.takeTime = QDateTime::fromString(time, Qt::ISODate);
    row.ruleTitle = q.text(2);
    row.actionName = q.text(3);
    row.dstPath = q.text(4);
    row.oriPath = q.text(5);
    row.searchWords = q.text(6);
    row.takeUid = q.text(7);
    return row;
}

// A record's time as the table keeps it, in local time: "yyyy-MM-dd HH:mm:ss" (what
// toString(kTimeFormat) gives, without the cost of the locale machinery); empty when
// unknown.
QString StoredTime(const QDateTime& time) {
    if (!time.isValid()) return QString();
    const QDateTime local = time.toLocalTime();
    const QDate d = local.date();
    const QTime t = local.time();
    if (d.year() < 0 || d.year() > 9999) return local.toString(kTimeFormat);
    char16_t text[19] = {u'0', u'0', u'0', u'0', u'-', u'0', u'0', u'-', u'0', u'0',
                         u' ', u'0', u'0', u':', u'0', u'0', u':', u'0', u'0'};
    const auto put = [&text](int end, int value) {
        for (int i = end; value > 0; --i, value /= 10) text[i] = char16_t(u'0' + value % 10);
    };
    put(3, d.year());
    put(6, d.month());
    put(9, d.day());
    put(12, t.hour());
    put(15, t.minute());
    put(18, t.second());
    return QString(reinterpret_cast<const QChar*>(text), 19);
}

// Year, month, day, hour, minute and second in plain decimal without leading zeros; the
// identity is this followed by the random part: 5 January 2008 09:07:03 with 4321 gives
// "2008159734321".
QString IdentityStem(const QDateTime& now) {
    const QDate d = now.date();
    const QTime t = now.time();
    QString stem;
    for (int part : {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()})
        stem += QString::number(part);
    return stem;
}

// The text of a time, remembered for the last time asked about.
class TimeText {
  public:
    explicit TimeText(QString (*format)(const QDateTime&)) : format_(format) {}
    // Only local times are remembered: for those the same instant is the same text.
    QString of(const QDateTime& time) {
        if (time.timeSpec() != Qt::LocalTime) return format_(time);
        if (!known_ || time != time_) {
            time_ = time;
            text_ = format_(time);
            known_ = true;
        }
        return text_;
    }

  private:
    QString (*format_)(const QDateTime&);
    bool known_ = false;
    QDateTime time_;
    QString text_;
};

// Runs a kept statement without results (a transaction step), setting the error on
// failure.
bool Run(SqliteDb& db, const char* sql) {
    SqliteQuery q(db.prepare(sql));
    if (!q.valid()) return false;
    if (q.step() == SQLITE_DONE) return true;
    db.setError(QString::fromUtf8(sql));
    return false;
}

// True for a missing or empty file (SQLite makes a new database of it) and for a file
// that starts with the SQLite header; false for anything else.
bool HasDatabaseHeader(const QString& path) {
    QFile f(path);
    if (!f.exists() || f.size() == 0) return true;
    if (!f.open(QIODevice::ReadOnly)) return true;  // let SQLite say what is wrong
    return f.read(16) == QByteArray("SQLite format 3", 16);
}

}  // namespace

struct LogManager::Impl {
    const Clock* clock = nullptr;
    SqliteDb db;
    std::vector<ActionLog> pending;
    LogPageCache pages;
    qint64 dataVersion = -1;
    QRandomGenerator random{QRandomGenerator::system()->generate()};
    QString keptAside;
    QString path;  // of the open log
    TakeJournal journal;
    std::vector<JournalTake> unfolded;  // in the side file, not yet in the database
    QElapsedTimer oldestUnfolded;
    // Texts of the last time seen: takes come many to a second.
    TimeText stem{IdentityStem};
    TimeText stored{StoredTime};

    bool open() const { return db.isOpen(); }

    bool refused = false;  // the last insertTakes failed on a refusal of the data

    bool insertTakes(const std::vector<JournalTake>& takes);
    bool fold();
    void rewriteJournal();
    bool alreadyStored(const JournalTake& take);
    void takeOverOrphans();

    // The page cache holds id ranges of the table as it was; another connection's commit
    // (the desktop program and a command line run share the file) makes them stale.
    void forgetPagesIfChanged() {
        const qint64 version = db.dataVersion();
        if (version != dataVersion) pages.clear();
        dataVersion = version;
    }
};

// The takes in one transaction, in order; all of them or none are stored.
bool LogManager::Impl::insertTakes(const std::vector<JournalTake>& takes) {
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
    for (const JournalTake& take : takes) {
        QString uid;
        do {
            uid = take.identityStem + QString::number(random.bounded(10000u));
        } while (uid == previousUid);
        uids.push_back(previousUid = uid);
    }
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
        }
        if (ok && q.step() != SQLITE_DONE) {
            db.setError(
                QStringLiteral("write the take of \"%1\"").arg(takes[rows[first].first].ruleTitle));
            ok = false;
        }
    }
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
bool LogManager::Impl::fold() {
    if (unfolded.empty()) return true;
    if (insertTakes(unfolded)) {
        unfolded.clear();
        rewriteJournal();
        return true;
    }
    if (!refused) return false;
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
    for (const JournalTake& take : unfolded) ok = ok && journal.append(take);
    if (!ok) journal.close(true);
}

// True when the take's first row is in the table already.
bool LogManager::Impl::alreadyStored(const JournalTake& take) {
    if (take.rows.empty()) return true;
    const JournalTake::Row& row = take.rows.front();
    SqliteQuery q(db.prepare(
        "SELECT 1 FROM actions WHERE taketime IS :t AND ruletitle IS :r AND actionname IS :a "
        "AND dstpath IS :d AND oripath IS :o ORDER BY id DESC LIMIT 1"));
    if (!q.valid()) return false;
    q.bind(":t", row.takeTime);
    q.bind(":r", take.ruleTitle);
    q.bind(":a", row.actionName);
    q.bind(":d", row.dstPath);
    q.bind(":o", row.oriPath);
    return q.step() == SQLITE_ROW;
}

// Takes left in side files by managers that ended before storing them. A manager folds
// everything its file holds in one transaction and empties the file afterwards, so if
// the first take of a file is stored, all of them are (the manager ended in between).
void LogManager::Impl::takeOverOrphans() {
    for (const TakeJournal::Orphan& orphan : TakeJournal::ClaimOrphans(path)) {
        const std::vector<JournalTake> takes = TakeJournal::Read(orphan);
        const bool stored = takes.empty() || alreadyStored(takes.front()) || insertTakes(takes);
        TakeJournal::Release(orphan, stored);
    }
}

LogManager::LogManager(const Clock* clock) : d_(std::make_unique<Impl>()) {
    d_->clock = clock ? clock : &SystemClock::instance();
}

LogManager::~LogManager() { CloseLogFile(); }

bool LogManager::isOpen() const { return d_->open(); }

QString LogManager::lastError() const { return d_->db.error(); }

QString LogManager::keptAsidePath() const { return d_->keptAside; }

bool LogManager::OpenLogFile(const QString& strPath) {
    CloseLogFile();
    d_->db.setErrorText(QString());
    d_->keptAside.clear();
    d_->pages.clear();
    d_->dataVersion = -1;
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
        HasDatabaseHeader(strPath) ? d_->db.open(strPath, kSchema) : SqliteOpen::Damaged;
    if (result == SqliteOpen::Damaged) {
        // Never write over a log we cannot read: keep it (and its write-ahead file, which
        // belongs to it and must not be replayed into the new log) and start afresh.
        const QString reason = d_->db.error().isEmpty()
                                   ? QStringLiteral("%1 is not a database").arg(strPath)
                                   : d_->db.error();
        const QString aside = KeepAside(strPath);
        if (aside.isEmpty()) {
            d_->db.setErrorText(reason + QStringLiteral("; the file cannot be moved aside"));
            return false;
        }
        if (QFile::exists(strPath + QStringLiteral("-wal")))
            QFile::rename(strPath + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
        QFile::remove(strPath + QStringLiteral("-shm"));
        d_->keptAside = aside;
        result = d_->db.open(strPath, kSchema);
    }
    if (result != SqliteOpen::Ok) return false;
    // A table of the same name made by something else: refuse it rather than guess.
    if (!d_->db.prepare(kColumns)) {
        d_->db.setErrorText(
            QStringLiteral("%1 holds no usable action table: %2").arg(strPath, d_->db.error()));
        d_->db.close();
        return false;
    }
    d_->path = strPath;
    d_->takeOverOrphans();
    // Without a side file every take goes straight into the database.
    (void)d_->journal.open(strPath);
    d_->dataVersion = d_->db.dataVersion();
    return true;
}

void LogManager::CloseLogFile() {
    if (d_->open()) (void)d_->fold();
    // Takes that could not be stored stay in the side file for the next opener.
    d_->journal.close(d_->unfolded.empty());
    d_->unfolded.clear();
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
    take.identityStem = d_->stem.of(d_->clock->nowToTheSecond());
    take.ruleTitle = ruleTitle;
    // Newest record first, each followed by a comma: records A then B give "B,A,".
    for (const ActionLog& rec : records)
        take.searchText.prepend(rec.searchWords + QLatin1Char(','));
    take.rows.reserve(records.size());
    for (const ActionLog& rec : records)
        take.rows.push_back(
            {d_->stored.of(rec.takeTime), rec.actionName, rec.dstPath, rec.oriPath});

    if (d_->journal.isOpen() && d_->journal.append(take)) {
        if (d_->unfolded.empty()) d_->oldestUnfolded.start();
        d_->unfolded.push_back(std::move(take));
        if (d_->unfolded.size() >= kFoldTakes || d_->oldestUnfolded.elapsed() >= kFoldAfterMs)
            (void)d_->fold();
        return true;
    }
    // No side file to hold it: into the database at once, but never ahead of the takes
    // committed before it.
    return d_->fold() && d_->insertTakes({take});
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

    const QString word = CleanWord(searchWord);
    d_->forgetPagesIfChanged();
    const LogPageCache::Plan plan = d_->pages.planFor(word, itemsCount, page);
    SqliteQuery q(d_->db.prepare(PageSql(!word.isEmpty(), plan)));
    if (!q.valid()) return rows;
    if (plan.boundary) q.bind(":b", *plan.boundary);
    if (!word.isEmpty()) q.bind(":w", LikePattern(word));
    q.bind(":n", itemsCount);
    q.bind(":k", plan.skipRows);
    int rc;
    while ((rc = q.step()) == SQLITE_ROW) rows.push_back(ReadRow(q));
    if (rc != SQLITE_DONE) {
        d_->db.setError(QStringLiteral("search the log"));
        rows.clear();
        return rows;
    }
    if (!plan.newestFirst) std::reverse(rows.begin(), rows.end());
    if (rows.size() == size_t(itemsCount))
        d_->pages.remember(word, itemsCount, page, {rows.front().id, rows.back().id});
    return rows;
}

qint64 LogManager::GetActionCount(const QString& searchWord) {
    if (!d_->open()) return 0;
    (void)d_->fold();
    d_->db.setErrorText(QString());
    const QString word = CleanWord(searchWord);
    // like '%%' holds for every value that is not NULL; counting those directly gives
    // the same number without matching a pattern against each row.
    SqliteQuery q(d_->db.prepare(word.isEmpty()
                                     ? "SELECT count(searchwords) FROM actions"
                                     : "SELECT count(*) FROM actions WHERE searchwords LIKE :w"));
    if (!q.valid()) return 0;
    q.bind(":w", LikePattern(word));
    if (q.step() != SQLITE_ROW) {
        d_->db.setError(QStringLiteral("count the log"));
        return 0;
    }
    return q.int64(0);
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
