// Runs and take identities of the action log, and the reads undo makes: the rows of one
// take, of one run, the newest run.
#include <sqlite3.h>

#include "log/log_manager_impl.h"
#include "log/log_manager_sql.h"
#include "platform/clock.h"

namespace vandrel {

using namespace logdb;

// Never the previous identity; within one date-time stem, none drawn before while most of
// its 10,000 numbers are still free (beyond that, a repeat is allowed: takes are told
// apart by their place as well).
QString LogManager::Impl::drawUid(const QString& stemText, const QString& previous) {
    if (stemText != usedStem) {
        usedStem = stemText;
        usedUids.clear();
    }
    const bool fresh = usedUids.size() < 9000;
    QString uid;
    do {
        uid = stemText + QString::number(random.bounded(10000u));
    } while (uid == previous || (fresh && usedUids.contains(uid)));
    usedUids.insert(uid);
    return uid;
}

std::vector<LogRow> LogManager::Impl::readRows(const std::string& where, const QString& value) {
    std::vector<LogRow> rows;
    if (!open()) return rows;
    (void)fold();
    db.setErrorText(QString());
    SqliteQuery q(db.prepare(std::string(kColumns) + " WHERE " + where + " ORDER BY id"));
    if (!q.valid()) return rows;
    q.bind(":v", value);
    int rc;
    while ((rc = q.step()) == SQLITE_ROW) rows.push_back(ReadRow(q));
    if (rc != SQLITE_DONE) {
        db.setError(QStringLiteral("read the log"));
        rows.clear();
    }
    return rows;
}

QString LogManager::BeginRun() {
    if (d_->runDepth++ == 0) d_->run = d_->newRunId(d_->clock->nowToTheSecond());
    return d_->run;
}

void LogManager::EndRun() {
    if (d_->runDepth > 0 && --d_->runDepth == 0) d_->run.clear();
}

QString LogManager::currentRun() const { return d_->run; }

std::vector<LogRow> LogManager::RowsOfTake(qint64 rowId) {
    const std::optional<LogRow> row = GetActionRecord(QString::number(rowId));
    if (!row) return {};
    // The take is the unbroken stretch of rows with its identity around the row: a take is
    // written whole, and a take never follows one of the same identity.
    const std::vector<LogRow> named = d_->readRows("takeuid = :v", row->takeUid);
    std::vector<LogRow> rows;
    for (const LogRow& r : named) {
        if (!rows.empty() && r.id != rows.back().id + 1) {
            if (rows.back().id >= rowId) break;
            rows.clear();
        }
        rows.push_back(r);
    }
    return rows;
}

std::vector<qint64> LogManager::TakesNamed(const QString& uid) {
    std::vector<qint64> firsts;
    qint64 last = -1;
    for (const LogRow& r : d_->readRows("takeuid = :v", uid)) {
        if (r.id != last + 1) firsts.push_back(r.id);
        last = r.id;
    }
    return firsts;
}

std::vector<LogRow> LogManager::RowsOfRun(const QString& runId) {
    if (runId.isEmpty()) return {};
    if (runId.contains(QLatin1Char('-'))) return d_->readRows("runid = :v", runId);
    return d_->readRows("runid IS NULL AND takeuid = :v", runId);
}

QString LogManager::NewestRun() {
    if (!d_->open()) return QString();
    (void)d_->fold();
    SqliteQuery q(
        d_->db.prepare("SELECT coalesce(runid, takeuid) FROM actions ORDER BY id DESC LIMIT 1"));
    return q.step() == SQLITE_ROW ? q.text(0) : QString();
}

}  // namespace vandrel
