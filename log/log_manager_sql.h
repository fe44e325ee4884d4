// The SQL the action log runs over its table: the column list every read uses, the batched
// insert, reading a row, single statements of a transaction, and the read transaction
// that an indexed search keeps open. Not for use outside the log manager.
#pragma once

#include <QString>
#include <string>

#include "log/log_manager.h"
#include "log/sqlite_db.h"

namespace vandrel::logdb {

// SELECT of every column of a LogRow, in ReadRow's order, FROM actions.
extern const char kColumns[];

constexpr int kInsertColumns = 10;
constexpr size_t kRowsPerInsert = 16;

// An insert of `rows` rows; parameters are numbered row by row in the column order.
std::string InsertSql(size_t rows);

// The row a kColumns query stands on.
LogRow ReadRow(const SqliteQuery& q);

// Runs a kept statement without results (a transaction step), setting the error on
// failure.
bool Run(SqliteDb& db, const char* sql);

// True for a missing or empty file (SQLite makes a new database of it) and for a file
// that starts with the SQLite header; false for anything else.
bool HasDatabaseHeader(const QString& path);

// Ends an open read transaction (the one indexedRead opened for an indexed word, say)
// when it goes out of scope, after the statements read in it are reset.
class ReadTransaction {
  public:
    ReadTransaction(SqliteDb& db, bool open) : db_(db), open_(open) {}
    ~ReadTransaction() {
        if (open_) (void)db_.exec("COMMIT");
    }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;
    bool open() const { return open_; }

  private:
    SqliteDb& db_;
    bool open_;
};

// The newest row's id; 0 for an empty table, -1 when it cannot be read.
qint64 NewestId(SqliteDb& db);

}  // namespace vandrel::logdb
