#include "log/stored_takes.h"

#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <utility>

namespace vandrel {

namespace {

const char kColumns[] =
    "SELECT id, taketime, ruletitle, actionname, dstpath, oripath, searchwords, takeuid "
    "FROM actions";

}  // namespace

// The number of the last take of that side file stored; 0 when none is (or the log
// cannot tell, which stores the takes: never lose one).
qint64 StoredTakes::LastStored(SqliteDb& db, const QString& journalId) {
    SqliteQuery q(db.prepare("SELECT lastseq FROM takejournals WHERE journal = :j"));
    q.bind(":j", journalId);
    return q.step() == SQLITE_ROW ? q.int64(0) : 0;
}

// Side files of older programs carry no identity. Such a program stored all the takes of its
// file in one transaction and emptied the file afterwards, so the file is stored when its
// rows are in the table as one unbroken run, in order, one take identity per take.
bool StoredTakes::StoredAsOneRun(SqliteDb& db, const std::vector<JournalTake>& takes) {
    std::vector<std::pair<const JournalTake*, const JournalTake::Row*>> rows;
    for (const JournalTake& take : takes)
        for (const JournalTake::Row& row : take.rows) rows.emplace_back(&take, &row);
    if (rows.empty()) return true;
    const auto same = [](const SqliteQuery& q, const JournalTake& take, const JournalTake::Row& r) {
        return q.text(1) == r.takeTime && q.text(2) == take.ruleTitle &&
               q.text(3) == r.actionName && q.text(4) == r.dstPath && q.text(5) == r.oriPath &&
               q.text(6) == take.searchText;
    };
    std::vector<qint64> starts;
    {
        SqliteQuery q(db.prepare(std::string(kColumns) +
                                 " WHERE taketime IS :t AND oripath IS :o AND dstpath IS :d "
                                 "ORDER BY id DESC LIMIT 1000"));
        q.bind(":t", rows.front().second->takeTime);
        q.bind(":o", rows.front().second->oriPath);
        q.bind(":d", rows.front().second->dstPath);
        while (q.step() == SQLITE_ROW)
            if (same(q, *rows.front().first, *rows.front().second)) starts.push_back(q.int64(0));
    }
    for (const qint64 start : starts) {
        SqliteQuery q(db.prepare(std::string(kColumns) + " WHERE id >= :i ORDER BY id LIMIT :n"));
        q.bind(":i", start);
        q.bind(":n", qint64(rows.size()));
        size_t matched = 0;
        QString uid;
        for (; matched < rows.size() && q.step() == SQLITE_ROW; ++matched) {
            const auto [take, row] = rows[matched];
            const bool newTake = matched == 0 || rows[matched - 1].first != take;
            if (!same(q, *take, *row) || (newTake ? q.text(7) == uid : q.text(7) != uid)) break;
            uid = q.text(7);
        }
        if (matched == rows.size()) return true;
    }
    return false;
}

bool StoredTakes::Note(SqliteDb& db, const std::vector<JournalTake>& takes) {
    std::map<QString, qint64> lastOfJournal;
    for (const JournalTake& take : takes)
        if (!take.journal.isEmpty())
            lastOfJournal[take.journal] = std::max(lastOfJournal[take.journal], take.sequence);
    for (const auto& [journalId, sequence] : lastOfJournal) {
        SqliteQuery q(db.prepare(
            "INSERT INTO takejournals (journal, lastseq) VALUES (:j, :s) ON CONFLICT(journal) "
            "DO UPDATE SET lastseq = max(lastseq, excluded.lastseq)"));
        q.bind(":j", journalId);
        q.bind(":s", sequence);
        if (!q.valid() || q.step() != SQLITE_DONE) {
            db.setError(QStringLiteral("note the stored takes"));
            return false;
        }
    }
    return true;
}

void StoredTakes::Forget(SqliteDb& db, const QString& journalId) {
    if (journalId.isEmpty()) return;
    SqliteQuery q(db.prepare("DELETE FROM takejournals WHERE journal = :j"));
    q.bind(":j", journalId);
    (void)q.step();
}

}  // namespace vandrel
