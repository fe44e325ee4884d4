// The desktop program: what "vandrel" without a subcommand runs. It needs a display; the
// command line never comes here.
#pragma once

#include <QString>

namespace vandrel {

// True when a display is named (X11 or Wayland), so the windows can be shown.
bool HasDisplay();
// Runs the desktop program on dataDir (empty: the default data folder) until "Exit", a
// stop signal or the session's end. One per data folder: a second start says "Vandrel is
// already running." and leaves the first untouched. Returns the exit status.
int RunDesktopProgram(int& argc, char** argv, const QString& dataDir);

}  // namespace vandrel
