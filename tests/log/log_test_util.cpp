#include "log/log_test_util.h"

namespace vandrel::test {

bool CommitTake(LogManager& log, const QString& title, const std::vector<TakeRecord>& records,
                const QDateTime& when) {
    for (const TakeRecord& r : records) {
        ActionLog a;
        a.takeTime = when;
        a.oriPath = r.oriPath;
        a.dstPath = r.dstPath;
        a.actionName = r.actionName;
        a.searchWords = r.searchWords;
        log.AppendActionLog(a);
    }
    return log.CommitToLogFile(title) && log.Flush();
}

RawLog::RawLog(const QString& path) {
    if (sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        return;
    }
    sqlite3_busy_timeout(db_, 5000);
}

RawLog::~RawLog() {
    if (db_) sqlite3_close(db_);
}

bool RawLog::exec(const QString& sql) {
    return db_ &&
           sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::vector<qint64> RawLog::ids(const QString& sql, const std::vector<QString>& texts,
                                const std::vector<qint64>& numbers) {
    std::vector<qint64> out;
    if (!db_) return out;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
        return out;
    int i = 1;
    for (const QString& t : texts) {
        const QByteArray b = t.toUtf8();
        sqlite3_bind_text(stmt, i++, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    }
    for (qint64 n : numbers) sqlite3_bind_int64(stmt, i++, n);
    while (sqlite3_step(stmt) == SQLITE_ROW) out.push_back(sqlite3_column_int64(stmt, 0));
    sqlite3_finalize(stmt);
    return out;
}

std::vector<qint64> RawLog::referencePage(const QString& word, int pageSize, qint64 page) {
    QString w = word;
    w.remove(QLatin1Char('\''));
    const QString like = QLatin1Char('%') + w + QLatin1Char('%');
    const qint64 skip = (page - 1) * pageSize;
    if (!w.isEmpty() && page < 2)
        return ids(QStringLiteral("SELECT id FROM actions WHERE searchwords LIKE ?1 "
                                  "ORDER BY id DESC LIMIT ?2"),
                   {like}, {pageSize});
    if (!w.isEmpty())
        return ids(QStringLiteral("SELECT id FROM actions WHERE id NOT IN (SELECT id FROM "
                                  "actions WHERE searchwords LIKE ?1 ORDER BY id DESC LIMIT "
                                  "?3) AND searchwords LIKE ?1 ORDER BY id DESC LIMIT ?2"),
                   {like}, {pageSize, skip});
    if (page < 2)
        return ids(QStringLiteral("SELECT id FROM actions ORDER BY id DESC LIMIT ?1"), {},
                   {pageSize});
    return ids(QStringLiteral("SELECT id FROM actions WHERE id NOT IN (SELECT id FROM actions "
                              "ORDER BY id DESC LIMIT ?2) ORDER BY id DESC LIMIT ?1"),
               {}, {pageSize, skip});
}

std::vector<qint64> RawLog::allIds() {
    return ids(QStringLiteral("SELECT id FROM actions ORDER BY id"), {}, {});
}

std::vector<qint64> IdsOf(const std::vector<LogRow>& rows) {
    std::vector<qint64> out;
    for (const LogRow& r : rows) out.push_back(r.id);
    return out;
}

}  // namespace vandrel::test
