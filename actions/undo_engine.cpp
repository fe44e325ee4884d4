#include "actions/undo_engine.h"

#include <algorithm>
#include <optional>

#include "actions/action_support.h"
#include "actions/module_file_op.h"
#include "actions/undo_mark.h"
#include "log/action_log.h"
#include "log/log_run.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/trash.h"
#include "rules/rule_text.h"

namespace vandrel {

namespace {

using Outcome = UndoStep::Outcome;

bool IsUndoableKind(const QString& action) {
    return action == QLatin1String("Move") || action == QLatin1String("Copy") ||
           action == QLatin1String("Rename") || action == QLatin1String(UndoEngine::kActionName);
}

// Whether the item goes to the trash (a copy, or what an undo took out of it), comes back
// out of it (what an undo put there), or goes back to its original path.
enum class Way { kBack, kToTrash, kFromTrash };

Way WayOf(const LogRow& row, const UndoMark& mark) {
    if (row.actionName == QLatin1String("Copy") || mark.trash() == UndoMark::Trash::kTakenOut)
        return Way::kToTrash;
    if (mark.trash() == UndoMark::Trash::kPutIn) return Way::kFromTrash;
    return Way::kBack;
}

bool Within(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// Removes the folders an action made on the way to its destination, from the item's old
// folder up to the outermost made, each only when it is empty now.
void RemoveMadeFolders(FileSystem& fs, const QString& itemPath, const QString& made) {
    if (made.isEmpty() || made == QLatin1String("/")) return;
    for (QString folder = FolderPart(itemPath); Within(folder, made); folder = FolderPart(folder))
        if (!fs.removeFolder(folder).ok() || folder == made) return;
}

QString Describe(const ItemIdentity& then, const ItemIdentity& now) {
    if (then.dev == now.dev && then.ino == now.ino && then.type == now.type)
        return QStringLiteral("it was changed since (size or modification time differ)");
    return QStringLiteral("another item has taken its place since");
}

}  // namespace

int UndoReport::count(UndoStep::Outcome outcome) const {
    return int(std::count_if(steps.begin(), steps.end(),
                             [outcome](const UndoStep& s) { return s.outcome == outcome; }));
}

// The records of what one take's undo did, committed together.
struct UndoEngine::Take {
    std::vector<ActionLog> records;
    std::vector<UndoStep>* steps = nullptr;
};

UndoEngine::UndoEngine(LogManager& log, FileSystem* fs, const Clock* clock)
    : log_(log),
      fs_(fs ? *fs : DefaultFileSystem()),
      clock_(clock ? *clock : SystemClock::instance()) {}

bool UndoEngine::Undoable(const LogRow& row) {
    return IsUndoableKind(row.actionName) && UndoMark::FromText(row.undoMark).valid();
}

int UndoEngine::UndoableCount(const std::vector<LogRow>& rows) {
    return int(std::count_if(rows.begin(), rows.end(), &UndoEngine::Undoable));
}

UndoReport UndoEngine::Undo(std::vector<LogRow> rows, bool dryRun, const Progress& progress,
                            const std::atomic<bool>* stop) {
    UndoReport report;
    // Newest action first: the last step of a take is undone before the one before it, and
    // the newest take of a run before the older ones.
    std::sort(rows.begin(), rows.end(),
              [](const LogRow& a, const LogRow& b) { return a.id > b.id; });
    std::optional<LogRun> run;
    if (!dryRun) {
        run.emplace(&log_);
        report.runId = run->id();
    }
    bool logged = false;
    const int total = int(rows.size());
    for (size_t i = 0; i < rows.size();) {
        if (stop && stop->load()) {
            report.stopped = true;
            break;
        }
        // Every action is in the log or it is not done.
        if (!dryRun && !log_.isUsable()) {
            report.logError = log_.lastError();
            break;
        }
        // One take: consecutive rows of one take identity.
        size_t end = i + 1;
        while (end < rows.size() && rows[end].takeUid == rows[i].takeUid &&
               rows[end].id + 1 == rows[end - 1].id)
            ++end;
        Take take;
        take.steps = &report.steps;
        for (size_t r = i; r < end; ++r) {
            undoRow(rows[r], dryRun, take);
            if (progress) progress(int(r + 1), total);
        }
        i = end;
        if (take.records.empty()) continue;
        for (const ActionLog& record : take.records) log_.AppendActionLog(record);
        if (!log_.CommitToLogFile(QString::fromLatin1(kActionName))) {
            report.logError = log_.lastError();
            break;
        }
        logged = true;
    }
    if (!logged) report.runId.clear();
    if (!dryRun) (void)log_.Flush();  // so the log view and other programs see the undo
    return report;
}

void UndoEngine::undoRow(const LogRow& row, bool dryRun, Take& take) {
    UndoStep step;
    step.rowId = row.id;
    step.actionName = row.actionName;
    step.path = row.dstPath;
    step.target = row.oriPath;
    const auto finish = [&](Outcome outcome, const QString& reason) {
        step.outcome = outcome;
        step.reason = reason;
        take.steps->push_back(step);
    };
    if (!IsUndoableKind(row.actionName))
        return finish(Outcome::kCannotUndo,
                      QStringLiteral("a \"%1\" action cannot be undone").arg(row.actionName));
    const UndoMark mark = UndoMark::FromText(row.undoMark);
    if (!mark.valid())
        return finish(Outcome::kCannotUndo,
                      QStringLiteral("it was logged without what undo checks the item by"));
    const Way way = WayOf(row, mark);
    if (way == Way::kToTrash) step.target = HomeTrashPath();

    const std::optional<ItemIdentity> now = ItemIdentity::Of(fs_, row.dstPath);
    if (!now) {
        // Put back already (by an undo that was killed before it could log it, say).
        const std::optional<ItemIdentity> there = ItemIdentity::Of(fs_, row.oriPath);
        if (way != Way::kToTrash && there && mark.item()->sameAs(*there))
            return finish(Outcome::kAlreadyBack, QStringLiteral("it is back already"));
        return finish(Outcome::kConflict,
                      QStringLiteral("it is no longer there (moved on or deleted since)"));
    }
    if (!mark.item()->sameAs(*now)) return finish(Outcome::kConflict, Describe(*mark.item(), *now));
    // (When undoing, the move itself refuses a taken path: one look less per item.)
    if (dryRun && way != Way::kToTrash && ItemIdentity::Of(fs_, row.oriPath))
        return finish(Outcome::kConflict,
                      QStringLiteral("its original path %1 is taken").arg(row.oriPath));
    if (dryRun)
        return finish(Outcome::kWouldDo, way == Way::kToTrash
                                             ? QStringLiteral("the copy goes to the trash")
                                             : QStringLiteral("it goes back"));

    const QDateTime time = clock_.nowToTheSecond();
    const QString name = FileNamePart(row.dstPath);
    if (way == Way::kToTrash) {
        const FsResult<QString> trashed = MoveToTrashAt(row.dstPath, &fs_);
        if (!trashed.ok()) return finish(Outcome::kConflict, trashed.status().message());
        step.target = trashed.value();
        UndoMark done = UndoMark::ForPath(fs_, trashed.value());
        done.setTrash(UndoMark::Trash::kPutIn);
        take.records.push_back({time, row.dstPath, trashed.value(),
                                QString::fromLatin1(kActionName), name, done.toText()});
        finish(Outcome::kDone, QStringLiteral("the copy went to the trash"));
        return afterItemLeft(row, mark, time, take);
    }

    // Back to the original path, into its folder made again when it is gone (with the
    // folder the undo made recorded, so that undoing the undo takes it away again).
    const bool folder = now->type == EntryType::kFolder;
    const auto moveBack = [&] {
        return folder ? TrySafeFolderOperation(row.dstPath, row.oriPath, kFileOpMove,
                                               kConflictRefuse, &fs_)
                      : TrySafeFileOperation(row.dstPath, row.oriPath, kFileOpMove, kConflictRefuse,
                                             &fs_);
    };
    QString made;
    FsResult<QString> moved = moveBack();
    const QString parent = FolderPart(row.oriPath);
    if (!moved.ok() && moved.status().notFound() && !ItemIdentity::Of(fs_, parent)) {
        const MadeFolders chain = MakeFolderChain(parent, &fs_);
        if (chain.path.isEmpty())
            return finish(Outcome::kConflict,
                          QStringLiteral("its folder %1 cannot be made again").arg(parent));
        made = chain.firstCreated;
        moved = moveBack();
    }
    if (!moved.ok()) {
        RemoveMadeFolders(fs_, row.oriPath, made);
        return finish(Outcome::kConflict,
                      moved.status().alreadyExists()
                          ? QStringLiteral("its original path %1 is taken").arg(row.oriPath)
                          : moved.status().message());
    }
    UndoMark done = UndoMark::ForPath(fs_, row.oriPath);
    done.setMadeFolder(made);
    if (way == Way::kFromTrash) {
        // Its trash record goes with it: ".../Trash/files/NAME" has
        // ".../Trash/info/NAME.trashinfo".
        // Only in the user's trash: the log is a file another program could have written.
        const QString trash = FolderPart(FolderPart(row.dstPath));
        if (trash == HomeTrashPath())
            (void)fs_.removeFile(trash + QStringLiteral("/info/") + name +
                                 QStringLiteral(".trashinfo"));
        done.setTrash(UndoMark::Trash::kTakenOut);
    }
    take.records.push_back(
        {time, row.dstPath, row.oriPath, QString::fromLatin1(kActionName), name, done.toText()});
    finish(Outcome::kDone, QStringLiteral("it went back"));
    afterItemLeft(row, mark, time, take);
}

void UndoEngine::afterItemLeft(const LogRow& row, const UndoMark& mark, const QDateTime& time,
                               Take& take) {
    // A replace moved the item that held the name aside: it gets its name back.
    if (!mark.aside().isEmpty()) {
        UndoStep aside;
        aside.rowId = row.id;
        aside.actionName = row.actionName;
        aside.path = mark.aside();
        aside.target = row.dstPath;
        const std::optional<ItemIdentity> held = ItemIdentity::Of(fs_, mark.aside());
        if (!held || !mark.asideItem()->sameAs(*held)) {
            aside.reason = QStringLiteral("the item it replaced is no longer as it was at %1")
                               .arg(mark.aside());
        } else {
            const FsResult<QString> back =
                held->type == EntryType::kFolder
                    ? TrySafeFolderOperation(mark.aside(), row.dstPath, kFileOpMove,
                                             kConflictRefuse, &fs_)
                    : TrySafeFileOperation(mark.aside(), row.dstPath, kFileOpMove, kConflictRefuse,
                                           &fs_);
            if (back.ok()) {
                aside.outcome = Outcome::kDone;
                aside.reason = QStringLiteral("the item it replaced got its name back");
                take.records.push_back({time, mark.aside(), row.dstPath,
                                        QString::fromLatin1(kActionName), FileNamePart(row.dstPath),
                                        UndoMark::ForPath(fs_, row.dstPath).toText()});
            } else {
                aside.reason = back.status().message();
            }
        }
        take.steps->push_back(aside);
    }
    RemoveMadeFolders(fs_, row.dstPath, mark.madeFolder());
}

}  // namespace vandrel
