// Commands that change rules.txt or folders.txt while the desktop program runs on the
// same data folder: the program holds the lists in memory and would write them over the
// files on close, so the change is handed to it (its windows update at once) and never
// written behind its back. When it does not answer, nothing is changed.
#pragma once

#include <QJsonObject>
#include <optional>

#include "app/cli/cli_context.h"

namespace vandrel {

// When a desktop program holds ctx's data folder: hands it request, prints its reply's
// lines and returns its exit status (1 after one line when it does not answer); reply
// receives the whole reply. Nullopt when no desktop program runs: the command changes
// the files itself.
std::optional<int> HandOverToDesktop(CliContext& ctx, QJsonObject request,
                                     QJsonObject* reply = nullptr);

}  // namespace vandrel
