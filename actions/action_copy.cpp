#include "actions/action_copy.h"

#include "actions/module_file_op.h"

namespace vandrel {

ActionCopy::ActionCopy(const EngineContext& ctx)
    : ActionRelocate(ctx, kFileOpCopy, QStringLiteral("Copy")) {}

}  // namespace vandrel
