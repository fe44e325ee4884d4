#include "log/sqlite_db.h"

#include <sqlite3.h>

#include <QByteArray>
#include <cstring>
#include <mutex>

namespace vandrel {

namespace {

// Another process (the desktop program and a command line run) may write at the same
// moment; its transactions are short.
constexpr int kBusyTimeoutMs = 5000;

bool IsDamageCode(int rc) {
    const int primary = rc & 0xff;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

}  // namespace

SqliteQuery::~SqliteQuery() {
    if (!stmt_) return;
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

void SqliteQuery::bind(const char* name, qint64 value) {
    if (!stmt_) return;
    const int i = sqlite3_bind_parameter_index(stmt_, name);
    if (i > 0) sqlite3_bind_int64(stmt_, i, value);
}

void SqliteQuery::bind(const char* name, const QString& text) {
    if (!stmt_) return;
    const int i = sqlite3_bind_parameter_index(stmt_, name);
    if (i > 0) bindAt(i, text);
}

void SqliteQuery::bindAt(int index, const QString& text) {
    if (!stmt_) return;
    if (text.isNull()) {
        sqlite3_bind_null(stmt_, index);
        return;
    }
    texts_.push_back(text.toUtf8());
    const QByteArray& utf8 = texts_.back();
    // Static: the bytes outlive the binding (the destructor clears it before texts_ goes).
    sqlite3_bind_text64(stmt_, index, utf8.constData(), sqlite3_uint64(utf8.size()), SQLITE_STATIC,
                        SQLITE_UTF8);
}

int SqliteQuery::step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_MISUSE; }

void SqliteQuery::reset() {
    if (stmt_) sqlite3_reset(stmt_);
}

bool SqliteQuery::isNull(int col) const { return sqlite3_column_type(stmt_, col) == SQLITE_NULL; }

qint64 SqliteQuery::int64(int col) const { return sqlite3_column_int64(stmt_, col); }

QString SqliteQuery::text(int col) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
    if (!p) return QString();
    return QString::fromUtf8(p, sqlite3_column_bytes(stmt_, col));
}

std::string_view SqliteQuery::bytes(int col) const {
    // A blob as it is stored: asking for its text would copy it to end it with a NUL.
    const void* raw = sqlite3_column_type(stmt_, col) == SQLITE_BLOB
                          ? sqlite3_column_blob(stmt_, col)
                          : static_cast<const void*>(sqlite3_column_text(stmt_, col));
    const auto* p = static_cast<const char*>(raw);
    return p ? std::string_view(p, size_t(sqlite3_column_bytes(stmt_, col))) : std::string_view();
}

void SqliteQuery::bindBlob(const char* name, const QByteArray& blob) {
    if (!stmt_) return;
    const int i = sqlite3_bind_parameter_index(stmt_, name);
    if (i <= 0) return;
    texts_.push_back(blob);
    sqlite3_bind_blob64(stmt_, i, texts_.back().constData(), sqlite3_uint64(blob.size()),
                        SQLITE_STATIC);
}

SqliteDb::~SqliteDb() { close(); }

void SqliteDb::close() {
    for (auto& [sql, stmt] : statements_) sqlite3_finalize(stmt);
    statements_.clear();
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

void SqliteDb::setError(const QString& step) {
    errorCode_ = db_ ? sqlite3_extended_errcode(db_) : SQLITE_NOMEM;
    QString message =
        db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("out of memory");
    const int sysErr = db_ ? sqlite3_system_errno(db_) : 0;
    if (sysErr != 0)
        message += QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(std::strerror(sysErr)));
    error_ = step + QStringLiteral(": ") + message;
}

bool SqliteDb::lastFailureIsRefusal() const {
    const int primary = errorCode_ & 0xff;
    return primary == SQLITE_CONSTRAINT || primary == SQLITE_TOOBIG || primary == SQLITE_MISMATCH ||
           primary == SQLITE_RANGE;
}

bool SqliteDb::lastFailureIsDamage() const { return IsDamageCode(errorCode_); }

bool SqliteDb::lastFailureIsBusy() const {
    const int primary = errorCode_ & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

namespace {

// SQLite counts every allocation under one process-wide mutex unless told not to; a count
// split over two threads (each on its own connection) would spend much of its time
// waiting for that lock. Nothing here reads those statistics. This must come before the
// library's first use; if something else used it first, the counting simply stays on.
void StopMemoryStatistics() {
    static std::once_flag once;
    std::call_once(once, [] { (void)sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0); });
}

}  // namespace

SqliteOpen SqliteDb::open(const QString& path) {
    StopMemoryStatistics();
    close();
    error_.clear();
    // No SQLite mutex: the owner never lets two calls overlap on one connection.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        setError(QStringLiteral("open %1").arg(path));
        close();
        return SqliteOpen::Failed;
    }
    sqlite3_extended_result_codes(db_, 1);
    if (sqlite3_db_readonly(db_, "main") == 1) {
        error_ = QStringLiteral("open %1: the file is read-only").arg(path);
        close();
        return SqliteOpen::Failed;
    }
    // Wait for another process's short transaction rather than failing at once.
    setWaitWhenBusy(true);

    // The first statement reads the file header: that is where a file that is no
    // database shows itself.
    // Each take appends a few pages to the write-ahead log; folding it back into the
    // database flushes to disk, so that is done every few thousand takes, not hundreds.
    const char* steps[] = {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL",
                           "PRAGMA wal_autocheckpoint=8192"};
    for (const char* sql : steps) {
        rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            const bool damaged = IsDamageCode(rc);
            setError(QStringLiteral("open %1").arg(path));
            close();
            return damaged ? SqliteOpen::Damaged : SqliteOpen::Failed;
        }
    }
    return SqliteOpen::Ok;
}

bool SqliteDb::exec(const char* sql) {
    if (!db_) {
        error_ = QStringLiteral("the log is not open");
        return false;
    }
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        setError(QString::fromUtf8(sql));
        return false;
    }
    return true;
}

sqlite3_stmt* SqliteDb::prepare(const std::string& sql) {
    if (!db_) {
        error_ = QStringLiteral("the log is not open");
        return nullptr;
    }
    const auto found = statements_.find(sql);
    if (found != statements_.end()) return found->second;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(db_, sql.c_str(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &stmt,
                           nullptr) != SQLITE_OK) {
        setError(QStringLiteral("prepare query"));
        sqlite3_finalize(stmt);
        return nullptr;
    }
    statements_.emplace(sql, stmt);
    return stmt;
}

qint64 SqliteDb::dataVersion() {
    SqliteQuery q(prepare("PRAGMA data_version"));
    return q.step() == SQLITE_ROW ? q.int64(0) : -1;
}

void SqliteDb::setWaitWhenBusy(bool wait) {
    if (db_) sqlite3_busy_timeout(db_, wait ? kBusyTimeoutMs : 0);
}

}  // namespace vandrel
