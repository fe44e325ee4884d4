// A Unix stream socket (AF_UNIX) between programs of this machine: the POSIX end of the
// desktop program's local channel. Every socket is non-blocking and closed on exec; a call
// waits only when it says so (the wait* functions, for a caller without an event loop), so
// a server can watch fd() with a QSocketNotifier and never stall its thread. Sending never
// raises SIGPIPE: a peer that is gone is an ordinary failure. Owns its descriptor; move
// only; use one socket from one thread at a time.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace vandrel {

class UnixSocket {
  public:
    enum class Io {
        Done,        // bytes moved (for receive: at least one byte)
        WouldBlock,  // nothing can move now; wait for readiness and try again
        Closed,      // receive: the peer closed its end, nothing more will come
        Failed,      // the connection is broken; error() says why
    };
    struct Received {
        Io io = Io::WouldBlock;
        QByteArray bytes;
    };

    UnixSocket() = default;  // not open
    ~UnixSocket();
    UnixSocket(UnixSocket&& other) noexcept;
    UnixSocket& operator=(UnixSocket&& other) noexcept;
    UnixSocket(const UnixSocket&) = delete;
    UnixSocket& operator=(const UnixSocket&) = delete;

    // Listens at path, which must not exist yet; the socket file gets mode 0600. Not
    // open on failure, with the reason in error() ("bind /run/user/1000/x.sock: ...").
    static UnixSocket Listen(const QString& path);
    // Connects to a listener at path without waiting. Not open when nobody listens there
    // (errorNumber() ECONNREFUSED or ENOENT), the listener's queue is full (EAGAIN), or
    // path is no socket; error() says which.
    static UnixSocket Connect(const QString& path);

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    void close();

    // Listening socket: the next waiting connection, or a socket that is not open when
    // none waits.
    UnixSocket accept();
    // Writes as much of bytes as fits now; the count written (0 when the peer's queue is
    // full), or -1 when the connection is broken (see error()).
    qint64 send(QByteArrayView bytes);
    // Reads what has arrived, at most maxBytes.
    Received receive(qsizetype maxBytes);
    // Wait up to timeoutMs for bytes (or the peer's end) to read, or for room to write.
    // False on time-out.
    bool waitReadable(int timeoutMs) const;
    bool waitWritable(int timeoutMs) const;

    // Why the last call failed, and its errno value (0 when none failed).
    const QString& error() const { return error_; }
    int errorNumber() const { return errno_; }

  private:
    explicit UnixSocket(int fd) : fd_(fd) {}
    static UnixSocket Failed(const char* step, const QString& path, int error);
    void fail(const char* step, int error);
    bool wait(short events, int timeoutMs) const;

    int fd_ = -1;
    QString error_;
    int errno_ = 0;
};

}  // namespace vandrel
