// The headless command line: parses the global options, picks the subcommand and runs
// it. Needs a QCoreApplication.
#pragma once

#include <QStringList>

namespace vandrel {

// args: the whole argument list without the program name. Returns the exit status.
int RunCli(const QStringList& args);
// Names whose bytes are not valid UTF-8 cannot be carried exactly (they would name
// another item, or none). When one of argv's arguments is such a text, says so on stderr
// and returns the bad-argument status (2); otherwise returns 0.
int RefuseUndecodableArguments(int argc, char** argv);
// True when args name a subcommand (so no desktop program is needed).
bool IsCliInvocation(const QStringList& args);

}  // namespace vandrel
