#include "actions/action_move.h"

#include "actions/module_file_op.h"

namespace vandrel {

ActionMove::ActionMove(const EngineContext& ctx)
    : ActionRelocate(ctx, kFileOpMove, QStringLiteral("Move")) {}

}  // namespace vandrel
