// The tables of the action log database: "actions" with a case-folded copy of each row's
// search words, the trigram full-text index over those copies (brought up to the newest row
// before it answers), and the side files' progress. Brings along logs written before the
// folded copies existed. Used by LogManager on its own connection.
#pragma once

#include <QString>
#include <functional>

#include "log/sqlite_db.h"

namespace vandrel {

class LogSchema {
  public:
    // Progress of bringing a log along: rows done of the rows to do.
    using Progress = std::function<void(qint64 done, qint64 total)>;

    // Makes whatever is missing in one immediate transaction, so that processes opening a
    // fresh log at once make it once. An "actions" table without the log's columns is left
    // untouched and refused. Ok, Damaged (the file's pages cannot be read) or Failed, with
    // db.error() saying why.
    static SqliteOpen Prepare(SqliteDb& db);
    // Gives each row whose search words have no folded copy yet (a log written by an older
    // program) its copy, and with it its place in the index, a batch of rows per
    // transaction: a run that is killed keeps what it did and the next one goes on.
    // progress is called after each batch (may be empty). False on failure.
    static bool FoldMissing(SqliteDb& db, const Progress& progress);
    // Adds the rows the index does not cover yet (those above the highest id it covers), a
    // batch of ids per transaction, so a killed run keeps what it did, then makes the
    // missing packs of search words (LogSearchPacks) the same way. progress as above, for
    // each of the two in turn. False on failure (a busy file, a full disk).
    static bool CatchUp(SqliteDb& db, const Progress& progress);
    // True when the index covers every row and every pack that can be made is there; read
    // it inside the transaction of the search it is to answer.
    static bool IndexIsCurrent(SqliteDb& db);
    // How many ids lie above the highest the index covers.
    static qint64 Unindexed(SqliteDb& db);
    // Rows per transaction when folding or indexing many.
    static constexpr int kBatch = 20000;
    // True when some row still lacks its folded copy; reads a small partial index.
    static bool HasUnfolded(SqliteDb& db);
};

}  // namespace vandrel
