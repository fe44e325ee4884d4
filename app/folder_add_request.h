// "Add this watched folder", as the command line parsed it: the same request is applied
// to folders.txt by "vandrel folders add" and to the running desktop program's list when
// the command is handed over, so both add exactly the same folder. Also travels over the
// desktop channel as JSON. No widgets.
#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <optional>

namespace vandrel {

class RuleList;
class WatchedFolder;
class WatchedFolderList;

struct FolderAddRequest {
    QString path;           // absolute and clean
    QString interval;       // one of WatchedFolder::intervalItems(), or empty for the default
    bool at = false;        // daily at hour:minute instead of an interval
    QString hour, minute;   // two digits each, when at
    QStringList ruleGuids;  // upper case; empty: all rules
    bool confirm = false;
    bool disabled = false;

    QJsonObject toJson() const;
    // Nullopt when the object is not a well-formed request (a peer is never trusted).
    static std::optional<FolderAddRequest> FromJson(const QJsonObject& json);

    // Why path cannot be watched ("... is not a folder"), empty when it can.
    QString pathProblem() const;
    // The selection text naming ruleGuids in the order of rules, or "all". Sets unknown
    // to the first GUID rules does not hold, and returns empty, when there is one.
    QString selectionIn(const RuleList& rules, QString& unknown) const;
    // Adds the folder at the end of list with selection; nullptr when list already
    // watches path (nothing is changed then).
    WatchedFolder* addTo(WatchedFolderList& list, const QString& selection,
                         const QDateTime& now) const;
};

// The index of the folder of list whose path is absPath (compared cleaned), or -1.
int IndexOfWatchedFolder(const WatchedFolderList& list, const QString& absPath);

}  // namespace vandrel
