#include "platform/stop_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <csignal>

namespace vandrel {

namespace {

// What the handler may touch: lock-free atomics and write(2).
std::atomic<int> g_wakeFd{-1};
std::atomic<StopSignals::Hook> g_hook{nullptr};
std::atomic<void*> g_hookArg{nullptr};
std::atomic<bool> g_installed{false};

void OnStopSignal(int) {
    const int saved = errno;
    if (const StopSignals::Hook hook = g_hook.load()) hook(g_hookArg.load());
    const char byte = 1;
    if (const int fd = g_wakeFd.load(); fd >= 0) {
        [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
    }
    errno = saved;
}

}  // namespace

struct StopSignals::Impl {
    Hook inHandler = nullptr;
    void* arg = nullptr;
    std::function<void()> onLoop;
    int pipe[2] = {-1, -1};
    bool installed = false;
    struct sigaction oldInt {};
    struct sigaction oldTerm {};
    std::unique_ptr<QSocketNotifier> notifier;
};

StopSignals::StopSignals(Hook inHandler, void* arg, std::function<void()> onLoop)
    : d_(std::make_unique<Impl>()) {
    d_->inHandler = inHandler;
    d_->arg = arg;
    d_->onLoop = std::move(onLoop);
}

StopSignals::~StopSignals() {
    if (!d_->installed) return;
    ::sigaction(SIGINT, &d_->oldInt, nullptr);
    ::sigaction(SIGTERM, &d_->oldTerm, nullptr);
    g_hook.store(nullptr);
    g_hookArg.store(nullptr);
    g_wakeFd.store(-1);
    d_->notifier.reset();
    ::close(d_->pipe[0]);
    ::close(d_->pipe[1]);
    g_installed.store(false);
}

bool StopSignals::install() {
    if (d_->installed || g_installed.exchange(true)) return false;
    if (::pipe2(d_->pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        g_installed.store(false);
        return false;
    }
    g_hookArg.store(d_->arg);
    g_hook.store(d_->inHandler);
    g_wakeFd.store(d_->pipe[1]);
    d_->notifier = std::make_unique<QSocketNotifier>(d_->pipe[0], QSocketNotifier::Read);
    QObject::connect(d_->notifier.get(), &QSocketNotifier::activated, [this] {
        char buf[16];
        while (::read(d_->pipe[0], buf, sizeof buf) > 0) {
        }
        if (d_->onLoop) d_->onLoop();
    });
    struct sigaction sa {};
    sa.sa_handler = OnStopSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &sa, &d_->oldInt);
    ::sigaction(SIGTERM, &sa, &d_->oldTerm);
    d_->installed = true;
    return true;
}

}  // namespace vandrel
