// The headless command line: parses the global options, picks the subcommand and runs
// it. Needs a QCoreApplication.
#pragma once

#include <QStringList>

namespace vandrel {

// args: the whole argument list without the program name. Returns the exit status.
int RunCli(const QStringList& args);
// True when args name a subcommand (so no desktop program is needed).
bool IsCliInvocation(const QStringList& args);

}  // namespace vandrel
