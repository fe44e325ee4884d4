// Stopping a headless program cleanly on SIGINT and SIGTERM. The handler itself does only
// what a signal handler may: it calls the given hook (which must do no more than store to
// a lock-free atomic) and wakes the event loop, where the second callback then runs. One
// instance at a time per process; create, install and destroy it on the main thread.
#pragma once

#include <functional>
#include <memory>

namespace vandrel {

class StopSignals {
  public:
    // inHandler(arg) runs inside the signal handler (work in hand can see the stop at
    // once); onLoop runs afterwards on the thread of the event loop.
    using Hook = void (*)(void* arg);
    StopSignals(Hook inHandler, void* arg, std::function<void()> onLoop);
    // Puts the previous handlers back.
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Installs the handlers; false when they cannot be (no pipe could be made, or another
    // instance is installed).
    bool install();

  private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace vandrel
