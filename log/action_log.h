// One record of an action taken on an item, collected by the log store until the rule
// commits its take.
#pragma once

#include <QDateTime>
#include <QString>

namespace vandrel {

struct ActionLog {
    QDateTime takeTime;   // local time the action was taken
    QString oriPath;      // the item's path before the action
    QString dstPath;      // the path after the action (or the path worked on)
    QString actionName;   // "Copy", "Move", "Rename", "Run", "AddTo", a shell verb, ...
    QString searchWords;  // words the record is found by (the item's file name)
    // What undo needs to know that the item at dstPath is still the one put there (see
    // UndoMark); empty for actions that cannot be undone.
    QString undoMark = {};
};

}  // namespace vandrel
