#include "platform/stop_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>

namespace vandrel {

namespace {

int g_pipe[2] = {-1, -1};
std::atomic<bool> g_taken{false};
std::atomic<StopSignals::Hook> g_hook{nullptr};
std::atomic<void*> g_hookArg{nullptr};
struct sigaction g_oldInt {};
struct sigaction g_oldTerm {};

void OnStopSignal(int) {
    const int saved = errno;
    if (const StopSignals::Hook hook = g_hook.load()) hook(g_hookArg.load());
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

StopSignals::~StopSignals() {
    if (!installed_) return;
    ::sigaction(SIGINT, &g_oldInt, nullptr);
    ::sigaction(SIGTERM, &g_oldTerm, nullptr);
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
    g_hook.store(nullptr);
    g_hookArg.store(nullptr);
    g_taken.store(false);
}

bool StopSignals::install() {
    if (installed_) return true;
    if (g_taken.exchange(true)) return false;
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        g_taken.store(false);
        return false;
    }
    struct sigaction sa {};
    sa.sa_handler = OnStopSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &sa, &g_oldInt);
    ::sigaction(SIGTERM, &sa, &g_oldTerm);
    installed_ = true;
    return true;
}

int StopSignals::readFd() const { return installed_ ? g_pipe[0] : -1; }

void StopSignals::drain() {
    if (!installed_) return;
    char buf[16];
    while (::read(g_pipe[0], buf, sizeof buf) > 0) {
    }
}

void StopSignals::setHandlerHook(Hook hook, void* arg) {
    // The argument first: the handler may run between the two stores.
    g_hook.store(nullptr);
    g_hookArg.store(arg);
    g_hook.store(hook);
}

}  // namespace vandrel
