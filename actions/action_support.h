// Small pieces every action kind shares: writing its log record and joining paths.
#pragma once

#include <QString>
#include <optional>

#include "platform/path_text.h"
#include "rules/engine_context.h"

namespace vandrel {

// Appends one record to ctx.log (when there is one), stamped with ctx's clock. undoMark:
// the UndoMark text of an action undo can take back (empty for the others).
void AppendActionRecord(const EngineContext& ctx, const QString& actionName, const QString& oriPath,
                        const QString& dstPath, const QString& searchWords,
                        const QString& undoMark = QString());

// A subfolder pattern's expansion as a relative path that stays below the destination:
// its "/"-separated parts without empty and "." parts ("" when none is left); nothing
// when a part is ".." or holds a NUL (the path would lead out of the destination, or be
// read cut short).
std::optional<QString> SubfolderInside(const QString& sub);

}  // namespace vandrel
