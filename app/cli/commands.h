// The subcommands of the command line, one function each (one file each).
#pragma once

#include "app/cli/cli_context.h"

namespace vandrel {

int RunTestCommand(CliContext& ctx, const QStringList& args);
int RunApplyCommand(CliContext& ctx, const QStringList& args);
int RunRulesCommand(CliContext& ctx, const QStringList& args);
int RunLogCommand(CliContext& ctx, const QStringList& args);
int RunAttrCommand(CliContext& ctx, const QStringList& args);
int RunTagsCommand(CliContext& ctx, const QStringList& args);
int RunFoldersCommand(CliContext& ctx, const QStringList& args);
int RunOrganizeCommand(CliContext& ctx, const QStringList& args);
int RunDaemonCommand(CliContext& ctx, const QStringList& args);
int RunUndoCommand(CliContext& ctx, const QStringList& args);

}  // namespace vandrel
