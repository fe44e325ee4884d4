// Turns SIGINT and SIGTERM into bytes on a pipe, so a program asked to stop (Ctrl+C, a
// session ending, systemd) can end in its event loop the same way as by its own "Exit":
// the handler only writes one byte (async-signal-safe); the program watches readFd()
// (a QSocketNotifier) and calls drain() when it wakes. One installed instance per process.
#pragma once

namespace vandrel {

class StopSignals {
  public:
    StopSignals() = default;
    // Puts the earlier handlers back and closes the pipe.
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // False when the pipe cannot be made or another instance is installed.
    bool install();
    // The end to watch for reading; -1 before install().
    int readFd() const;
    // Reads away what the handler wrote.
    void drain();

    // A function the handler itself also calls, with arg, before it writes its byte: for
    // work in hand that must see the stop at once, before the event loop runs again. It
    // may only store to lock-free atomics. Null (the default) calls nothing.
    using Hook = void (*)(void* arg);
    void setHandlerHook(Hook hook, void* arg);

  private:
    bool installed_ = false;
};

}  // namespace vandrel
