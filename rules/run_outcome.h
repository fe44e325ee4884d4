// How the rules went for one item: what the rule list answers ("no matched rule",
// "already in use" or the acting rule's title) and, when the acting rule stopped because
// one of its moves, copies or renames did not take place, which action and why. The
// basket's status text and the confirmation sheet show it; the command line prints it.
#pragma once

#include <QString>

namespace vandrel {

struct RunOutcome {
    QString result;     // the rule list's answer; empty from a rule that did not match
    QString paramList;  // the item's list after the last action that ran
    QString action;     // the selector text of the action that did not take place
    QString notDone;    // why; empty when every action ran

    bool stopped() const { return !notDone.isEmpty(); }
    // "<path>: <action> not done (<why>); the rule <result> stopped there" for messages.
    QString describe(const QString& path) const {
        return QStringLiteral("%1: \"%2\" not done (%3); the rule \"%4\" stopped there")
            .arg(path, action, notDone, result);
    }
};

}  // namespace vandrel
