#include "app/desktop_server.h"

#include <QFile>
#include <QJsonArray>
#include <QSocketNotifier>
#include <QTimer>

#include "app/desktop_protocol.h"
#include "app/frame_reader.h"
#include "platform/desktop_socket.h"
#include "platform/single_instance.h"
#include "platform/unix_socket.h"

namespace vandrel {

namespace {

// A few command lines at once are plenty; more are closed at once rather than kept.
constexpr int kMaxPeers = 8;
// Read in pieces of this size; a request is at most kMaxRequestBytes plus its length.
constexpr qsizetype kReadChunk = 16 * 1024;

QJsonObject ErrorReply(const QString& message) {
    return {{QStringLiteral("status"), 1},
            {QStringLiteral("out"), QJsonArray()},
            {QStringLiteral("err"), QJsonArray{QStringLiteral("vandrel: ") + message}}};
}

}  // namespace

// One connected command line: its request coming in, then its reply going out. A child
// of the server, deleted later once dropped (never inside its own notifier's signal).
class DesktopServer::Peer : public QObject {
  public:
    Peer(UnixSocket s, QObject* parent)
        : QObject(parent),
          socket(std::move(s)),
          readable(socket.fd(), QSocketNotifier::Read, this),
          writable(socket.fd(), QSocketNotifier::Write, this) {
        writable.setEnabled(false);
        timer.setSingleShot(true);
    }
    UnixSocket socket;
    FrameReader reader{desktop::kMaxRequestBytes};
    QSocketNotifier readable;
    QSocketNotifier writable;
    QTimer timer;
    QByteArray out;  // the reply's bytes not yet taken by the peer
    bool dropped = false;
};

DesktopServer::DesktopServer(const QString& dataDir, Handler handler, QObject* parent)
    : QObject(parent), dataDir_(dataDir), handler_(std::move(handler)) {}

DesktopServer::~DesktopServer() {
    if (!isListening()) return;
    incoming_.reset();
    listener_->close();
    // The name goes with the program, while it still holds the desktop lock: a later
    // start finds no socket to mistake for a live one.
    QFile::remove(socketPath_);
}

bool DesktopServer::isListening() const { return listener_ && listener_->isOpen(); }

DesktopServer::StartResult DesktopServer::start() {
    StartResult result;
    auto desktop = std::make_unique<SingleInstance>(
        dataDir_, QString::fromLatin1(SingleInstance::kDesktopRole));
    if (!desktop->tryAcquire()) {
        result.status =
            desktop->error().isEmpty() ? StartStatus::AlreadyRunning : StartStatus::Failed;
        result.pid = desktop->holderPid();
        result.error = desktop->error();
        return result;
    }
    // Held from here on, also when the socket cannot be made: the command line then
    // refuses its changes instead of writing the files behind the program's back.
    desktopLock_ = std::move(desktop);
    QString why;
    socketPath_ = DesktopSocketPath(dataDir_, &why);
    if (socketPath_.isEmpty()) {
        result.error = why;
        return result;
    }
    // We hold the desktop lock, so a socket at our name that nobody answers on was left
    // by a program that is gone.
    if (!RemoveStaleSocket(socketPath_, &why)) {
        result.error = why;
        return result;
    }
    auto listener = std::make_unique<UnixSocket>(UnixSocket::Listen(socketPath_));
    if (!listener->isOpen()) {
        result.error =
            QStringLiteral("%1 cannot be listened on: %2").arg(socketPath_, listener->error());
        return result;
    }
    incoming_ = std::make_unique<QSocketNotifier>(listener->fd(), QSocketNotifier::Read);
    connect(incoming_.get(), &QSocketNotifier::activated, this, &DesktopServer::accept);
    listener_ = std::move(listener);
    result.status = StartStatus::Listening;
    return result;
}

void DesktopServer::accept() {
    for (;;) {
        UnixSocket socket = listener_->accept();
        if (!socket.isOpen()) return;
        if (peers_ >= kMaxPeers) continue;  // closed as it goes out of scope
        serve(std::move(socket));
    }
}

void DesktopServer::serve(UnixSocket socket) {
    ++peers_;
    auto* peer = new Peer(std::move(socket), this);
    connect(&peer->readable, &QSocketNotifier::activated, this, [this, peer] { read(peer); });
    connect(&peer->writable, &QSocketNotifier::activated, this, [this, peer] { flush(peer); });
    // A peer that never finishes its request, or never takes its reply, is dropped, not
    // kept for ever.
    connect(&peer->timer, &QTimer::timeout, this, [this, peer] { drop(peer); });
    peer->timer.start(peerTimeoutMs_);
    read(peer);
}

void DesktopServer::read(Peer* peer) {
    while (!peer->dropped && peer->reader.state() == FrameReader::State::Incomplete) {
        UnixSocket::Received got = peer->socket.receive(kReadChunk);
        switch (got.io) {
            case UnixSocket::Io::WouldBlock:
                return;
            case UnixSocket::Io::Closed:
            case UnixSocket::Io::Failed:
                drop(peer);  // gone before its request was whole: nobody to answer
                return;
            case UnixSocket::Io::Done:
                break;
        }
        switch (peer->reader.feed(got.bytes)) {
            case FrameReader::State::Incomplete:
                break;
            case FrameReader::State::TooLarge:
                answer(peer,
                       ErrorReply(QStringLiteral("the request is too large; nothing was changed")));
                return;
            case FrameReader::State::Malformed:
                answer(
                    peer,
                    ErrorReply(QStringLiteral("the request is not readable; nothing was changed")));
                return;
            case FrameReader::State::Complete:
                // The handler may take a while (it saves the files): the peer's clock waits.
                peer->timer.stop();
                answer(peer, handler_ ? handler_(peer->reader.message())
                                      : ErrorReply(
                                            QStringLiteral("the running Vandrel is still starting; "
                                                           "nothing was changed, try again")));
                return;
        }
    }
}

void DesktopServer::answer(Peer* peer, const QJsonObject& reply) {
    if (peer->dropped) return;
    // One request per connection: whatever else the peer sends is never read.
    peer->readable.setEnabled(false);
    peer->out = FrameReader::Encode(reply);
    peer->timer.start(peerTimeoutMs_);
    flush(peer);
}

void DesktopServer::flush(Peer* peer) {
    while (!peer->dropped && !peer->out.isEmpty()) {
        const qint64 n = peer->socket.send(peer->out);
        if (n < 0) {
            drop(peer);  // the peer went away: its answer has nobody to go to
            return;
        }
        if (n == 0) {
            peer->writable.setEnabled(true);  // the rest when the peer has read some
            return;
        }
        peer->out.remove(0, static_cast<qsizetype>(n));
    }
    // A Unix socket hands sent bytes straight to the peer's queue, so closing now loses
    // none of the reply.
    drop(peer);
}

void DesktopServer::drop(Peer* peer) {
    if (peer->dropped) return;
    peer->dropped = true;
    peer->readable.setEnabled(false);
    peer->writable.setEnabled(false);
    peer->timer.stop();
    peer->socket.close();
    --peers_;
    peer->deleteLater();
}

}  // namespace vandrel
