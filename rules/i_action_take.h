// The contract of every action kind: act on an item and hand on its new parameter list.
#pragma once

#include "rules/i_string_stream.h"

namespace vandrel {

class ActionList;

class IActionTake : public IStringStream {
public:
    // Performs the action and returns the parameter list the next action receives: the
    // item's new location, or paramList unchanged when the action did nothing.
    virtual QString TakeAction(const QString& paramList) = 0;
    // Accepted and ignored: nothing observes actions.
    virtual void SetActionObserver(void* observer) { (void)observer; }
    // The list holding the row; used by editors to ask for row height. May be null.
    virtual void SetParrentPanel(ActionList* list) { parentList_ = list; }

protected:
    ActionList* parentList_ = nullptr;
};

}  // namespace vandrel
