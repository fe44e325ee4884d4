// What the settings window owns besides its widgets: the shared log and attribute
// services, the rule list and the watched-folder list, and their files. Loading reads
// rules.txt and folders.txt (a damaged file is kept aside and reported, never loaded or
// overwritten); saving applies the window's edits to what is on disk now, under the data
// folder's lock, so a change another program made meanwhile survives a close without
// edits. Rule export and import live here too. No widgets; UI thread only.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "platform/data_paths.h"
#include "platform/state_store.h"
#include "rules/engine_context.h"

namespace vandrel {

class AttributeHelper;
class Clock;
class FileInUseProbe;
class LogManager;
class RuleList;
class WatchedFolderList;

// How a save of one list went.
struct ListSaveResult {
    bool ok = true;
    QString error;                  // why it failed, for the one message shown
    std::optional<QString> reload;  // the window had no edits and the file changed: show this
};

enum class ImportStatus { Imported, Unreadable, NotRules, Damaged };

struct ImportResult {
    ImportStatus status = ImportStatus::Unreadable;
    QString line;     // the rules text, when Imported
    QString problem;  // for Unreadable and Damaged
};

class SettingsState {
  public:
    // clock must outlive the state.
    SettingsState(DataPaths paths, const Clock& clock);
    ~SettingsState();

    // Creates the services, opens the log and reads both lists. Returns what the user
    // must be told, once (damaged files kept aside, a log that cannot be opened, rule
    // values that cannot be read); empty when all is well. With LogOpening::Later the log
    // stays closed until OpenLog(): opening (or creating) it waits on the disk, which the
    // desktop program does after its windows are on screen.
    enum class LogOpening { Now, Later };
    QStringList Load(LogOpening logOpening = LogOpening::Now);
    // Opens the log once; later calls return nothing. What the user must be told, as Load.
    QStringList OpenLog();
    bool logOpenTried() const { return logOpenTried_; }

    const DataPaths& paths() const { return paths_; }
    EngineContext engine() const;
    LogManager& log() { return *log_; }
    RuleList& rules() { return *rules_; }
    WatchedFolderList& folders() { return *folders_; }

    // Writes the window's lists (see above). After a successful save the text written, or
    // the one reloaded, is the base the next save compares with.
    ListSaveResult SaveRules();
    ListSaveResult SaveFolders();

    // Writes the rule list to file, whole or not at all; the error text, empty on success.
    QString ExportRules(const QString& file) const;
    // Reads a rule list from file without changing the rules.
    static ImportResult ReadImport(const QString& file);

  private:
    ListSaveResult saveList(const QString& path, const StateTextCheck& check, QString& base,
                            const std::function<QString(const QString& onDisk)>& mine);

    DataPaths paths_;
    const Clock& clock_;
    StateStore store_;
    std::unique_ptr<LogManager> log_;
    bool logOpenTried_ = false;
    std::unique_ptr<AttributeHelper> attributes_;
    std::unique_ptr<FileInUseProbe> inUse_;
    std::unique_ptr<RuleList> rules_;
    std::unique_ptr<WatchedFolderList> folders_;
    QString rulesBase_;
    QString foldersBase_;
};

}  // namespace vandrel
