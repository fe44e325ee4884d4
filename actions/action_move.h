// "Move to": moves the item into a folder (optionally a subfolder named by a pattern),
// never overwriting anything, and hands on the item's new path.
#pragma once

#include "actions/action_relocate.h"

namespace vandrel {

class ActionMove final : public ActionRelocate {
  public:
    explicit ActionMove(const EngineContext& ctx);
};

}  // namespace vandrel
