// "Copy to": copies the item into a folder (optionally a subfolder named by a pattern),
// never overwriting anything, and hands on the path of the copy.
#pragma once

#include "actions/action_relocate.h"

namespace vandrel {

class ActionCopy final : public ActionRelocate {
  public:
    explicit ActionCopy(const EngineContext& ctx);
};

}  // namespace vandrel
