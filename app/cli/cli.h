// The headless command line: parses the global options, picks the subcommand and runs
// it. Needs a QCoreApplication.
#pragma once

#include <QStringList>
#include <optional>

namespace vandrel {

// args: the whole argument list without the program name. Returns the exit status.
int RunCli(const QStringList& args);
// Names whose bytes are not valid UTF-8 cannot be carried exactly (they would name
// another item, or none). When one of argv's arguments is such a text, says so on stderr
// and returns the bad-argument status (2); otherwise returns 0.
int RefuseUndecodableArguments(int argc, char** argv);
// True when args name a subcommand (so no desktop program is needed).
bool IsCliInvocation(const QStringList& args);
// The data folder named by args' global options (empty: the default), when args start
// the desktop program (no subcommand, no bad option); nothing otherwise.
std::optional<QString> DesktopDataDir(const QStringList& args);

}  // namespace vandrel
