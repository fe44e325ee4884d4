// Changes to the state files by read-modify-write under the data folder's StateLock: each
// writer (desktop program, scheduler, command line) reads what is on disk now, applies
// only its own change and writes the result before the next writer may read, so no
// writer undoes another's. Reads without a change need no lock (files are replaced
// atomically). Use from any thread; each call takes the lock afresh.
#pragma once

#include <QString>
#include <functional>
#include <utility>

#include "platform/state_file.h"
#include "platform/state_lock.h"

namespace vandrel {

enum class StateUpdateStatus {
    Written,      // the change reached the disk
    Unchanged,    // the change left the text as it was (or declined): nothing written
    Unreadable,   // the file on disk is damaged: kept aside (read.keptAsidePath), no change
    LockFailed,   // another writer held the lock too long, or no lock file: no change
    WriteFailed,  // the new text could not be written: the old file stays
};

struct StateUpdateResult {
    StateUpdateStatus status = StateUpdateStatus::Unchanged;
    StateReadResult read;  // what was on disk before the change
    QString error;         // the lock's message for LockFailed
    bool ok() const {
        return status == StateUpdateStatus::Written || status == StateUpdateStatus::Unchanged;
    }
};

class StateStore {
  public:
    // Changes text (the file's first line, or its whole text); returns false to write
    // nothing. A missing file gives the empty text.
    using Change = std::function<bool(QString& text)>;

    // path: a state file inside the data folder, whose lock it takes.
    StateUpdateResult UpdateLine(const QString& path, const StateTextCheck& check,
                                 const Change& change) const {
        return update(path, true, check, change);
    }
    StateUpdateResult UpdateText(const QString& path, const StateTextCheck& check,
                                 const Change& change) const {
        return update(path, false, check, change);
    }

    // The list form: list is loaded from the file as it is now (checked by
    // List::TextProblem), change(list) edits it and returns whether it changed anything,
    // and the list is written back. Afterwards list holds what is on disk (unless the
    // file was unreadable or the lock failed). List needs LoadFromString, SaveToString and
    // a static TextProblem(const QString&).
    template <typename List, typename Fn>
    StateUpdateResult Update(const QString& path, List& list, Fn&& change) const {
        return UpdateLine(path, &List::TextProblem, [&](QString& text) {
            list.LoadFromString(text);
            if (!change(list)) return false;
            text = list.SaveToString();
            return true;
        });
    }

    // Test-only: called with the lock held, after the read and before the write.
    void setLockedHookForTest(std::function<void()> hook) { lockedHook_ = std::move(hook); }

  private:
    StateUpdateResult update(const QString& path, bool firstLineOnly, const StateTextCheck& check,
                             const Change& change) const;

    std::function<void()> lockedHook_;
};

}  // namespace vandrel
