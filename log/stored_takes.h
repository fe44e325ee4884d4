// What the log database knows of the takes of side files: how far each side file is
// stored (table takejournals, written in the transaction that stores its takes), and for
// side files of older programs, whose takes carry no identity, whether their rows stand in
// the table already. Used by LogManager on its connection; no state of its own.
#pragma once

#include <QString>
#include <vector>

#include "log/sqlite_db.h"
#include "log/take_journal.h"

namespace vandrel {

class StoredTakes {
  public:
    // The number of the last take of that side file stored; 0 when none is (or the log
    // cannot tell, which stores the takes: never lose one).
    static qint64 LastStored(SqliteDb& db, const QString& journalId);
    // Notes, inside the transaction storing takes, how far their side files have got.
    // False (error set) when the note could not be written.
    static bool Note(SqliteDb& db, const std::vector<JournalTake>& takes);
    // Drops the note of a side file that is gone.
    static void Forget(SqliteDb& db, const QString& journalId);
    // For takes without identity: true when all their rows are in the table as one
    // unbroken run, in order, one new take identity per take.
    static bool StoredAsOneRun(SqliteDb& db, const std::vector<JournalTake>& takes);
};

}  // namespace vandrel
