// "Any": always holds, so a rule can act on everything it is offered.
// Payload: always anything<|CD|>anything.
#pragma once

#include "rules/i_condition_check.h"

namespace vandrel {

class ConditionAny : public IConditionCheck {
  public:
    bool DoCheck(const QString&) override { return true; }
    QString SaveToString() const override;
    void LoadFromString(const QString&) override {}
};

}  // namespace vandrel
