#include "app/desktop_server.h"

#include <QJsonArray>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include "app/desktop_protocol.h"
#include "app/frame_reader.h"
#include "platform/desktop_socket.h"
#include "platform/single_instance.h"

namespace vandrel {

namespace {

// A few command lines at once are plenty; more are closed at once rather than kept.
constexpr int kMaxPeers = 8;

QJsonObject ErrorReply(const QString& message) {
    return {{QStringLiteral("status"), 1},
            {QStringLiteral("out"), QJsonArray()},
            {QStringLiteral("err"), QJsonArray{QStringLiteral("vandrel: ") + message}}};
}

}  // namespace

DesktopServer::DesktopServer(const QString& dataDir, Handler handler, QObject* parent)
    : QObject(parent), dataDir_(dataDir), handler_(std::move(handler)) {}

DesktopServer::~DesktopServer() {
    if (server_) server_->close();
}

bool DesktopServer::isListening() const { return server_ && server_->isListening(); }

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
    // We hold the desktop lock, so a socket at our name belongs to a program that is gone.
    if (!RemoveStaleSocket(socketPath_)) {
        result.error = QStringLiteral("%1 is in the way and is not a socket").arg(socketPath_);
        return result;
    }
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(socketPath_)) {
        result.error =
            QStringLiteral("%1 cannot be listened on: %2").arg(socketPath_, server->errorString());
        return result;
    }
    connect(server.get(), &QLocalServer::newConnection, this, &DesktopServer::accept);
    server_ = std::move(server);
    result.status = StartStatus::Listening;
    return result;
}

void DesktopServer::accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        socket->setParent(this);
        if (peers_ >= kMaxPeers) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        serve(socket);
    }
}

void DesktopServer::serve(QLocalSocket* socket) {
    ++peers_;
    auto reader = std::make_shared<FrameReader>(desktop::kMaxRequestBytes);
    auto* timer = new QTimer(socket);
    timer->setSingleShot(true);
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
        --peers_;
        socket->deleteLater();
    });
    // A peer that never finishes its request is dropped, not kept for ever.
    connect(timer, &QTimer::timeout, socket, [socket] { socket->abort(); });
    const auto answer = [socket, timer](const QJsonObject& reply) {
        timer->stop();
        socket->write(FrameReader::Encode(reply));
        socket->disconnectFromServer();  // after the reply is written
    };
    const auto onData = [this, socket, reader, answer] {
        if (reader->state() != FrameReader::State::Incomplete) {
            socket->readAll();  // one request per connection: the rest is ignored
            return;
        }
        switch (reader->feed(socket->readAll())) {
            case FrameReader::State::Incomplete:
                return;
            case FrameReader::State::TooLarge:
                answer(ErrorReply(QStringLiteral("the request is too large; nothing was changed")));
                return;
            case FrameReader::State::Malformed:
                answer(
                    ErrorReply(QStringLiteral("the request is not readable; nothing was changed")));
                return;
            case FrameReader::State::Complete:
                answer(handler_
                           ? handler_(reader->message())
                           : ErrorReply(QStringLiteral("the running Vandrel is still starting; "
                                                       "nothing was changed, try again")));
                return;
        }
    };
    connect(socket, &QLocalSocket::readyRead, this, onData);
    timer->start(peerTimeoutMs_);
    if (socket->bytesAvailable() > 0) onData();
}

}  // namespace vandrel
