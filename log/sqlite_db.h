// One SQLite connection with its prepared statements kept for the connection's life,
// and errors as values. Used by the log store only; not thread-safe (its owner makes
// sure calls never overlap, and the connection is opened without SQLite's own mutex).
#pragma once

#include <QByteArray>
#include <QString>
#include <map>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vandrel {

// A use of a prepared statement: binds, steps and reads columns, and resets the statement
// (clearing its bindings) when it goes out of scope, so a kept statement never holds a
// read transaction open between calls.
class SqliteQuery {
  public:
    explicit SqliteQuery(sqlite3_stmt* stmt) : stmt_(stmt) {}
    ~SqliteQuery();
    SqliteQuery(const SqliteQuery&) = delete;
    SqliteQuery& operator=(const SqliteQuery&) = delete;

    bool valid() const { return stmt_ != nullptr; }
    // Binds by parameter name (":w"); a name the statement lacks is ignored.
    void bind(const char* name, qint64 value);
    void bind(const char* name, const QString& text);  // a null QString binds NULL
    // Binds the parameter at index (from 1).
    void bindAt(int index, const QString& text);
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step();
    // Makes the statement ready to step again from the start, bindings kept.
    void reset();
    bool isNull(int col) const;
    qint64 int64(int col) const;
    QString text(int col) const;
    // The column's bytes (a blob's as stored, anything else's as SQLite gives them for
    // text), valid until the next step.
    std::string_view bytes(int col) const;
    // Binds bytes as a blob, by parameter name.
    void bindBlob(const char* name, const QByteArray& blob);

  private:
    sqlite3_stmt* stmt_;
    // The UTF-8 of bound texts, kept until the bindings are cleared so that SQLite need
    // not copy them.
    std::vector<QByteArray> texts_;
};

// Result of opening a database file.
enum class SqliteOpen {
    Ok,
    Damaged,  // the file exists but is not a readable database
    Failed,   // could not be opened or created (permissions, missing folder, locked ...)
};

class SqliteDb {
  public:
    SqliteDb() = default;
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    // Opens or creates path for reading and writing and switches to WAL with
    // synchronous=NORMAL. A file that opens only read-only counts as
    // Failed: the log must be writable to be of use.
    SqliteOpen open(const QString& path);
    void close();
    bool isOpen() const { return db_ != nullptr; }

    // Runs SQL without results. False after setting error().
    bool exec(const char* sql);
    // A prepared statement for sql, prepared once and kept until close(). Null (after
    // setting error()) when the SQL does not prepare.
    sqlite3_stmt* prepare(const std::string& sql);

    // Text of the last failure, naming the step.
    const QString& error() const { return error_; }
    void setError(const QString& step);  // step + ": " + SQLite's message for the last call
    void setErrorText(const QString& text) {
        error_ = text;
        errorCode_ = 0;
    }
    // True when the last failure set by setError() is a refusal of the data itself (a
    // constraint or trigger, a value too big): trying the same write again fails again.
    // Busy or locked files, full disks and I/O errors are not.
    bool lastFailureIsRefusal() const;
    // True when the last failure says the file's pages cannot be read (not a database, or
    // damaged), and when another connection held the file too long.
    bool lastFailureIsDamage() const;
    bool lastFailureIsBusy() const;
    // SQLite's counter that changes whenever another connection commits to the file.
    qint64 dataVersion();
    // Whether a busy file is waited for (the default) or fails at once: a write that is
    // only worth doing when the file is free (a cache) never makes the caller wait.
    void setWaitWhenBusy(bool wait);

  private:
    sqlite3* db_ = nullptr;
    std::map<std::string, sqlite3_stmt*> statements_;
    QString error_;
    int errorCode_ = 0;
};

}  // namespace vandrel
