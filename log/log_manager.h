// The action log: collects the records of one rule application and writes them as one
// take into the SQLite database log.db (table "actions"), and reads them back page by
// page for the log view and the command line. Each instance has its own connection and
// may be used from any one thread at a time (the desktop program hands it to its worker
// thread); calls on one instance must never overlap, the owner serialises them.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "log/action_log.h"
#include "log/log_schema.h"

namespace vandrel {

class Clock;

// One row of the actions table.
struct LogRow {
    qint64 id = 0;
    QDateTime takeTime;
    QString ruleTitle;
    QString actionName;
    QString dstPath;
    QString oriPath;
    QString searchWords;
    QString takeUid;
    // The run the take belongs to; for a take logged before runs were recorded, its take
    // identity (each such take is a run of its own).
    QString runId;
    QString undoMark;  // empty when undo has nothing to check the item by
};

class LogManager {
  public:
    // clock: the source of "now" for take identities; null means the system clock.
    explicit LogManager(const Clock* clock = nullptr);
    ~LogManager();
    LogManager(const LogManager&) = delete;
    LogManager& operator=(const LogManager&) = delete;

    // One page of rows whose search words contain word (single quotes removed, % and _
    // keep their wildcard meaning, every letter matches in either case: both sides are
    // compared case-folded), newest first; the
    // empty word takes every row. pageNum counts from 1 (below 1 means 1); page P skips
    // the (P - 1) * itemsCount newest matching rows. Next, previous and repeated pages
    // are read from the id range of pages already shown, so they cost the same at any
    // depth. Empty when the log is not open, itemsCount < 1 or the page lies beyond the
    // last row.
    std::vector<LogRow> SearchActionLog(const QString& searchWord, int itemsCount, qint64 pageNum);
    // Number of rows whose search words contain the word (for the empty word: every row
    // whose search words are not null); 0 when the log is not open.
    qint64 GetActionCount(const QString& searchWord);
    // Counts over logs whose ids span at least this many are split in two halves counted
    // on two threads (the default suits large logs; a test lowers it to check the split).
    void SetCountSplitFrom(qint64 rows);
    // Moves the points where the index hands a word over to the packed search words (a glob
    // word's candidates, a phrase's rows counted, the candidates a page checks) to rows, for
    // tests on a small log; 0 restores the defaults.
    void SetIndexAnswersUpTo(qint64 rows);
    // The row with that id (decimal text); nothing when absent, not a number, unreadable
    // or the log is closed.
    std::optional<LogRow> GetActionRecord(const QString& searchId);
    // Adds a record to the pending list.
    void AppendActionLog(const ActionLog& actLog);
    // Writes the pending records as one take and empties the list: every row gets
    // ruleTitle, the take's joined search words (newest record first, each followed by
    // ",") and one take identity (the clock's date and time at the commit followed by a
    // random 0..9999, never the identity of the take stored just before). The take goes to
    // the log's side file with one write, which it survives the process with; when there
    // is no side file it goes straight into the database. An empty list writes nothing
    // and succeeds. Returns false when neither the side file nor the database took the
    // take (or the log is closed): a take the database refuses for good is dropped; one it
    // could not take now is kept in memory for the next write and the log turns unusable.
    // The pending records never stay pending, so two takes never mix.
    bool CommitToLogFile(const QString& ruleTitle);
    // Stores the committed takes that are still waiting in the side file (a commit writes
    // its take there with one write; the database gets them in batches, before any read
    // and when the log is closed). Batch runs call it when they end, so that other
    // processes see their takes. False when the database refused them (they keep waiting).
    bool Flush();
    // Opens (creating file and tables when missing) the log database at strPath, closing
    // any log open before. False on failure, with lastError() saying why; every other
    // call then returns empty, 0 or false. A file that is no database, or whose pages are
    // damaged, is moved aside (keptAsidePath()) and a fresh log is started in its place.
    // A log written by an older program is made searchable first, which takes a while on
    // a large one: progress (may be empty) hears how far that is. With makeSearchable
    // false that work is left to the first search (of this or another connection), so a
    // window can open the log without waiting; every search still folds and indexes what
    // it needs first. Takes that processes which have ended left in their side files are
    // stored, each exactly once.
    bool OpenLogFile(const QString& strPath, const LogSchema::Progress& progress = {},
                     bool makeSearchable = true);
    // Closes the connection; pending records stay pending. Harmless when closed.
    void CloseLogFile();

    // Runs: every take belongs to one. Takes committed between BeginRun and the matching
    // EndRun share one run; a BeginRun inside an open run joins it (the calls nest). A
    // take committed outside any run is a run of its own. BeginRun returns the run's
    // identity: the date and time "yyyyMMddHHmmss", "-" and six random hex digits (a "-"
    // tells it from a take identity, which old takes use as their run). LogRun does this.
    QString BeginRun();
    void EndRun();
    QString currentRun() const;

    // What undo reads (each flushes the takes waiting in this manager's side file first).
    // The rows of the take that holds row rowId, oldest first; empty when there is none.
    std::vector<LogRow> RowsOfTake(qint64 rowId);
    // The first row id of each take whose identity is uid (two takes may share one: the
    // identity's random part is small), oldest first.
    std::vector<qint64> TakesNamed(const QString& uid);
    // The rows of a run, oldest first. A run identity without "-" names a take of a log
    // written before runs were recorded: its rows, and those of any other such take of
    // that identity.
    std::vector<LogRow> RowsOfRun(const QString& runId);
    // The run of the newest row; empty when the log is empty or closed.
    QString NewestRun();

    bool isOpen() const;
    // Whether actions may be taken: the log is open and every take so far was written
    // (to the side file or the database) and the database takes the waiting ones. A batch
    // stops when it turns false; lastError() says why.
    bool isUsable() const;
    // Why the last call failed, for the one message the outer layer shows. Each call on
    // an open log clears it first, so after a search it tells an empty result (empty
    // text) from a failed read; on a closed log it keeps saying why the open failed.
    QString lastError() const;
    // Test hook: the database may not grow any more, as on a full disk (writes that need
    // another page fail).
    void freezeDatabaseSizeForTest();
    // Where the last OpenLogFile moved a damaged log file; empty when it moved none. The
    // outer layer tells the user once.
    QString keptAsidePath() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace vandrel
