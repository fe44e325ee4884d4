// The contract of every action kind: act on an item and hand on its new parameter list.
#pragma once

#include <utility>

#include "rules/i_string_stream.h"

namespace vandrel {

class ActionList;

// One action's step as its rule sees it: the list for the next action and, when a move,
// copy or rename did not take place, why (the rule then stops for the item).
struct ActionStep {
    QString paramList;
    QString notDone;
};

class IActionTake : public IStringStream {
  public:
    // TakeAction together with what it reported through markNotDone.
    ActionStep Take(const QString& paramList) {
        notDone_.clear();
        QString next = TakeAction(paramList);
        return {std::move(next), std::exchange(notDone_, QString())};
    }

    // Performs the action and returns the parameter list the next action receives: the
    // item's new location, or paramList unchanged when the action did nothing.
    virtual QString TakeAction(const QString& paramList) = 0;
    // Accepted and ignored: nothing observes actions.
    virtual void SetActionObserver(void* observer) { (void)observer; }
    // The list holding the row; used by editors to ask for row height. May be null.
    virtual void SetParrentPanel(ActionList* list) { parentList_ = list; }

  protected:
    // For TakeAction of a move, copy or rename that did not take place: why. The action
    // still returns the list it was given and logs nothing.
    void markNotDone(const QString& why) { notDone_ = why; }

    ActionList* parentList_ = nullptr;

  private:
    QString notDone_;
};

}  // namespace vandrel
