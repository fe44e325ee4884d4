// This process's id and whether another process is alive, for files that carry the id of
// the process that made them. Free functions; safe from any thread.
#pragma once

#include <QtGlobal>

namespace vandrel {

qint64 CurrentProcessId();
// Whether a process with this id exists as seen from here (one in another pid namespace
// is not). False for ids no process can have.
bool ProcessAlive(qint64 pid);

}  // namespace vandrel
