// Starting an outside program for the open, print and run actions: always directly with
// an argument list, never through a shell, detached so that Vandrel does not wait for it.
// Tests replace the launcher to see what would have been started.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace vandrel {

// Starts program with args; true when the program was started.
using ProcessLauncher = std::function<bool(const QString& program, const QStringList& args)>;

// The real launcher (QProcess::startDetached).
bool StartDetachedProcess(const QString& program, const QStringList& args);

}  // namespace vandrel
