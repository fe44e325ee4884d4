// The quick folders under the basket: an ordered list of target folders that always ends
// with one empty "Browse..." slot, kept in qfolders.txt, and the quick move that puts
// dropped items straight into a slot's folder without consulting the rules. The views
// QuickFolderPaper and QuickFolder show it. The list is not thread-safe (UI thread);
// MoveItems is a static function a worker thread may run.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "platform/state_file.h"
#include "platform/state_store.h"

namespace vandrel {

class FileSystem;
class LogManager;

// The separator of the paths in qfolders.txt.
inline constexpr char kQuickFolderSeparator[] = "<|QFS|>";
// The rule title quick moves are logged under, and their action name.
inline constexpr char kQuickMoveTitle[] = "Quick Move";
inline constexpr char kQuickMoveAction[] = "Move";

// What happened to one dropped item.
struct QuickMoveResult {
    QString source;
    QString target;   // where the item is now; the source when it was not moved
    QString problem;  // why it was not moved; empty when it was
    bool moved() const { return problem.isEmpty(); }
};

class QuickFolderList {
  public:
    // What AssignFolder did with the slot.
    enum class Assigned { Added, Duplicate, Refused };

    QuickFolderList();

    // The slots in display order; the last one is always the empty "Browse..." slot.
    const QStringList& paths() const { return slots_; }
    int slotCount() const { return static_cast<int>(slots_.size()); }
    QString folderPath(int slot) const { return slots_.value(slot); }

    // The slot's label: the first 8 characters of the folder's name, or "Browse...".
    static QString LabelText(const QString& folderPath);
    // The slot's tooltip.
    static QString TooltipText(const QString& folderPath);

    // The user chose a folder for a slot. A folder already in another slot is not added
    // twice: the slot goes back to empty (Duplicate). A path that could not be stored
    // (a line break or the separator in it would split qfolders.txt) or is not absolute is
    // Refused and the slot stays as it was. Filling the last slot adds a new empty one.
    Assigned AssignFolder(int slot, const QString& path);
    // Removes a slot that holds a folder; the trailing empty slot cannot be removed.
    bool RemoveFolder(int slot);

    // The non-empty paths joined by <|QFS|>.
    QString SaveToString() const;
    // Replaces the slots: the stored paths in order (empty parts and repeats skipped)
    // and one empty slot.
    void LoadFromString(const QString& text);
    // What makes a stored text unusable ("folder 2 is not an absolute path"); empty when
    // it can be loaded.
    static QString TextProblem(const QString& text);

    // Reads qfolders.txt. Missing: one empty slot. Unreadable: kept aside by the reader,
    // one empty slot, and the result says where the file went.
    StateReadResult LoadFromFile(const QString& path);
    // Writes qfolders.txt under the data folder's lock.
    StateUpdateResult SaveToFile(const QString& path) const;

    // Moves each item into folder (a taken name gets a numbered one, nothing is
    // overwritten) and logs each move as "Move" under "Quick Move" when log is not null.
    // An item that was not moved (missing, hidden, already in the folder, the folder
    // itself or a folder above it, an I/O failure) is not logged. When the log cannot be
    // written the remaining items are left where they are. fs: null means the real one.
    static std::vector<QuickMoveResult> MoveItems(const QString& folder, const QStringList& items,
                                                  LogManager* log, FileSystem* fs = nullptr);

  private:
    void ensureTrailingSlot();

    QStringList slots_;
};

}  // namespace vandrel
