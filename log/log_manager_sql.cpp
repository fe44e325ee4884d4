#include "log/log_manager_sql.h"

#include <sqlite3.h>

#include <QFile>

#include "log/log_manager_texts.h"

namespace vandrel::logdb {

const char kColumns[] =
    "SELECT id, taketime, ruletitle, actionname, dstpath, oripath, searchwords, takeuid, "
    "coalesce(runid, takeuid), undomark FROM actions";

std::string InsertSql(size_t rows) {
    std::string sql =
        "INSERT INTO actions (taketime, ruletitle, actionname, dstpath, oripath, searchwords, "
        "takeuid, foldedwords, runid, undomark) VALUES ";
    for (size_t i = 0; i < rows; ++i)
        sql += i == 0 ? "(?,?,?,?,?,?,?,?,?,?)" : ",(?,?,?,?,?,?,?,?,?,?)";
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
    row.runId = q.text(8);
    row.undoMark = q.text(9);
    return row;
}

bool Run(SqliteDb& db, const char* sql) {
    SqliteQuery q(db.prepare(sql));
    if (!q.valid()) return false;
    if (q.step() == SQLITE_DONE) return true;
    db.setError(QString::fromUtf8(sql));
    return false;
}

bool HasDatabaseHeader(const QString& path) {
    QFile f(path);
    if (!f.exists() || f.size() == 0) return true;
    if (!f.open(QIODevice::ReadOnly)) return true;  // let SQLite say what is wrong
    return f.read(16) == QByteArray("SQLite format 3", 16);
}

qint64 NewestId(SqliteDb& db) {
    SqliteQuery q(db.prepare("SELECT coalesce(max(id), 0) FROM actions"));
    return q.step() == SQLITE_ROW ? q.int64(0) : -1;
}

}  // namespace vandrel::logdb
