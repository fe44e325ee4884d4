// Keeps a running schedule (the watched-folder list a scheduler ticks) and folders.txt in
// step while other programs change the file: every sync re-reads the file under the data
// folder's lock, takes the rows as they are on disk now, carries the schedule's run times
// over to the rows whose folder and schedule did not change, and writes back only those
// times. A folder removed or added meanwhile stays removed or added. Use on the thread
// that ticks the schedule; no row pointers of the list may be held across a sync.
#pragma once

#include <QString>

#include "folders/auto_folder_task.h"
#include "platform/state_store.h"

namespace vandrel {

class WatchedFolderList;

struct FolderSyncResult {
    StateUpdateResult update;  // the locked read-modify-write
    bool reloaded = false;     // the file held other rows than the schedule did
    bool restored = false;     // a damaged file was kept aside and the schedule written anew
};

// Whether a due task may still run.
enum class FolderTaskCheck {
    Run,         // still watched with organizing on; the task was made afresh
    NotWatched,  // the folder was removed from the file meanwhile
    TurnedOff,   // organizing was turned off meanwhile
    NotSynced,   // the file could not be read or written under the lock
};

class WatchedFolderSync {
  public:
    // path: folders.txt; schedule and store must outlive the sync.
    WatchedFolderSync(QString path, WatchedFolderList& schedule, const StateStore& store);

    // Reads the file into the schedule and writes the schedule's run times back. When the
    // file is damaged it is kept aside and the schedule in hand is written in its place;
    // when the lock or the write fails the schedule keeps its rows.
    FolderSyncResult Sync();

    // Called just before a due task runs: syncs, then answers whether the file still
    // watches the task's folder with organizing on. If so (Run) the task is made afresh
    // from the row on disk (its items listed again, its rule selection and confirmation
    // as they are now). A failed sync answers NotSynced: a folder is never run
    // unconfirmed.
    FolderTaskCheck PrepareTask(AutoFolderTask& task);

  private:
    QString path_;
    WatchedFolderList& schedule_;
    const StateStore& store_;
};

}  // namespace vandrel
