#include "platform/unix_socket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace vandrel {

namespace {

// The address of path; false when it does not fit (sun_path holds about 100 bytes).
bool Address(const QByteArray& native, sockaddr_un* address) {
    *address = {};
    address->sun_family = AF_UNIX;
    if (native.isEmpty() || static_cast<std::size_t>(native.size()) >= sizeof address->sun_path)
        return false;
    std::memcpy(address->sun_path, native.constData(), static_cast<std::size_t>(native.size()));
    return true;
}

int NewSocket() { return ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0); }

const sockaddr* AsSockaddr(const sockaddr_un* address) {
    return reinterpret_cast<const sockaddr*>(address);
}

}  // namespace

UnixSocket::~UnixSocket() { close(); }

UnixSocket::UnixSocket(UnixSocket&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      error_(std::move(other.error_)),
      errno_(std::exchange(other.errno_, 0)) {}

UnixSocket& UnixSocket::operator=(UnixSocket&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        error_ = std::move(other.error_);
        errno_ = std::exchange(other.errno_, 0);
    }
    return *this;
}

void UnixSocket::close() {
    if (fd_ >= 0) ::close(fd_);  // no retry on EINTR: the descriptor is gone either way
    fd_ = -1;
}

UnixSocket UnixSocket::Failed(const char* step, const QString& path, int error) {
    UnixSocket socket;
    socket.errno_ = error;
    socket.error_ =
        QStringLiteral("%1 %2: %3")
            .arg(QLatin1String(step), path, QString::fromLocal8Bit(std::strerror(error)));
    return socket;
}

void UnixSocket::fail(const char* step, int error) {
    errno_ = error;
    error_ = QStringLiteral("%1: %2").arg(QLatin1String(step),
                                          QString::fromLocal8Bit(std::strerror(error)));
}

UnixSocket UnixSocket::Listen(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un address;
    if (!Address(native, &address)) return Failed("listen on", path, ENAMETOOLONG);
    UnixSocket socket(NewSocket());
    if (!socket.isOpen()) return Failed("socket for", path, errno);
    if (::bind(socket.fd_, AsSockaddr(&address), sizeof address) != 0)
        return Failed("bind", path, errno);
    // Nobody can connect before listen(), so the mode is in place before anyone could use
    // the socket; the folder it lives in is private to the user as well.
    if (::chmod(native.constData(), 0600) != 0 || ::listen(socket.fd_, 16) != 0) {
        const int error = errno;
        ::unlink(native.constData());
        return Failed("listen on", path, error);
    }
    return socket;
}

UnixSocket UnixSocket::Connect(const QString& path) {
    sockaddr_un address;
    if (!Address(QFile::encodeName(path), &address))
        return Failed("connect to", path, ENAMETOOLONG);
    UnixSocket socket(NewSocket());
    if (!socket.isOpen()) return Failed("socket for", path, errno);
    // A Unix socket connects at once or not at all; EAGAIN means the listener's queue is
    // full, which the caller may treat like a listener that is not ready yet.
    int result;
    do {
        result = ::connect(socket.fd_, AsSockaddr(&address), sizeof address);
    } while (result != 0 && errno == EINTR);
    if (result != 0) return Failed("connect to", path, errno);
    return socket;
}

UnixSocket UnixSocket::accept() {
    for (;;) {
        const int fd = ::accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd >= 0) return UnixSocket(fd);
        if (errno == EINTR) continue;
        // ECONNABORTED and the like concern one peer only; the listener goes on.
        if (errno != EAGAIN && errno != EWOULDBLOCK) fail("accept", errno);
        return {};
    }
}

qint64 UnixSocket::send(QByteArrayView bytes) {
    for (;;) {
        const ssize_t n = ::send(fd_, bytes.data(), static_cast<std::size_t>(bytes.size()),
                                 MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n >= 0) return n;
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
        fail("send", errno);
        return -1;
    }
}

UnixSocket::Received UnixSocket::receive(qsizetype maxBytes) {
    Received r;
    QByteArray buffer(maxBytes, Qt::Uninitialized);
    for (;;) {
        const ssize_t n =
            ::recv(fd_, buffer.data(), static_cast<std::size_t>(maxBytes), MSG_DONTWAIT);
        if (n > 0) {
            buffer.truncate(static_cast<qsizetype>(n));
            r.io = Io::Done;
            r.bytes = std::move(buffer);
            return r;
        }
        if (n == 0) {
            r.io = Io::Closed;
            return r;
        }
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return r;
        fail("receive", errno);
        r.io = Io::Failed;
        return r;
    }
}

bool UnixSocket::waitReadable(int timeoutMs) const { return wait(POLLIN, timeoutMs); }

bool UnixSocket::waitWritable(int timeoutMs) const { return wait(POLLOUT, timeoutMs); }

bool UnixSocket::wait(short events, int timeoutMs) const {
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        pollfd p{fd_, events, 0};
        const int left = std::max(0, timeoutMs - static_cast<int>(clock.elapsed()));
        const int n = ::poll(&p, 1, left);
        // An error or hang-up counts as ready: the next receive or send reports it.
        if (n > 0) return true;
        if (n == 0 || errno != EINTR) return false;
    }
}

}  // namespace vandrel
