// Undo of logged takes: puts back what moves, renames and replaces did and sends copies to
// the freedesktop trash, newest action first, touching only items that are still exactly
// what the action left (see UndoMark). Nothing is overwritten: an item that changed, moved
// on or vanished since, or whose original path is taken now, is reported and left alone,
// and the rest goes on. What was put back is logged as takes of action "Undo" in a run of
// their own, each take as soon as it is done, so undoing the undo redoes it and an undo
// that is killed can simply be run again. Synchronous; use one engine on one thread.
#pragma once

#include <QDateTime>
#include <QString>
#include <atomic>
#include <functional>
#include <vector>

#include "log/log_manager.h"

namespace vandrel {

class Clock;
class FileSystem;
class UndoMark;

// What undo did, or would do, with one logged action.
struct UndoStep {
    enum class Outcome {
        kDone,         // put back (or sent to the trash)
        kWouldDo,      // a dry run: it would be
        kAlreadyBack,  // the item is where undo would put it already; nothing to do
        kConflict,     // left alone: reason says why
        kCannotUndo,   // an action undo cannot take back (open, print, run ...)
    };
    qint64 rowId = 0;
    QString actionName;
    QString path;    // where the item is (the action's destination)
    QString target;  // where undo puts it: the original path, or the trash
    Outcome outcome = Outcome::kConflict;
    QString reason;
};

struct UndoReport {
    std::vector<UndoStep> steps;  // newest action first
    QString runId;                // the undo's own run; empty when nothing was logged
    // Set when the log could not record what was done: the undo stopped there.
    QString logError;
    bool stopped = false;  // asked to stop before the end
    int count(UndoStep::Outcome outcome) const;
};

class UndoEngine {
  public:
    // Rows done of all rows; called after each row.
    using Progress = std::function<void(int done, int total)>;

    // log: where the rows come from and the undo is recorded (must be open). fs: null
    // means the real file system; clock: null means the system clock.
    explicit UndoEngine(LogManager& log, FileSystem* fs = nullptr, const Clock* clock = nullptr);

    // Undoes the rows (of one take or one run; any order). dryRun: checks each row and says
    // what would be done, changing nothing and logging nothing. stop (may be null) is read
    // between takes.
    UndoReport Undo(std::vector<LogRow> rows, bool dryRun, const Progress& progress = {},
                    const std::atomic<bool>* stop = nullptr);

    // Whether undo can take the row back at all (its kind, and a mark to check it by):
    // what the confirmation counts.
    static bool Undoable(const LogRow& row);
    static int UndoableCount(const std::vector<LogRow>& rows);
    static constexpr char kActionName[] = "Undo";

  private:
    struct Take;
    void undoRow(const LogRow& row, bool dryRun, Take& take);
    // After the item left the row's destination: what a replace moved aside gets its name
    // back, and the folders the action made go when empty.
    void afterItemLeft(const LogRow& row, const UndoMark& mark, const QDateTime& time, Take& take);

    LogManager& log_;
    FileSystem& fs_;
    const Clock& clock_;
};

}  // namespace vandrel
