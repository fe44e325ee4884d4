#include "platform/process_info.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

namespace vandrel {

qint64 CurrentProcessId() { return static_cast<qint64>(::getpid()); }

bool ProcessAlive(qint64 pid) {
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max()) return false;
    // Signal 0 only asks; EPERM means it exists but belongs to someone else.
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace vandrel
