#include "app/desktop_client.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QLocalSocket>
#include <QThread>

#include "app/desktop_protocol.h"
#include "app/frame_reader.h"
#include "platform/desktop_socket.h"
#include "platform/single_instance.h"

namespace vandrel {

namespace {

bool IsWellFormedReply(const QJsonObject& reply) {
    const QJsonValue status = reply.value(QLatin1String("status"));
    if (!status.isDouble() || status.toInt(-1) < 0 || status.toInt(-1) > 255) return false;
    for (const char* key : {"out", "err"}) {
        const QJsonValue lines = reply.value(QLatin1String(key));
        if (!lines.isArray()) return false;
        for (const QJsonValue& line : lines.toArray())
            if (!line.isString()) return false;
    }
    return true;
}

int Remaining(const QElapsedTimer& clock, int timeoutMs) {
    return std::max(0, timeoutMs - static_cast<int>(clock.elapsed()));
}

}  // namespace

DesktopHandover SendToDesktop(const QString& dataDir, const QJsonObject& request, int timeoutMs) {
    DesktopHandover result;
    const SingleInstance desktop(dataDir, QString::fromLatin1(SingleInstance::kDesktopRole));
    if (!desktop.isHeldElsewhere()) return result;
    result.status = DesktopHandover::Status::NoAnswer;
    result.pid = desktop.holderPid();
    QString why;
    const QString path = DesktopSocketPath(dataDir, &why);
    if (path.isEmpty()) {
        result.problem = why;
        return result;
    }
    QElapsedTimer clock;
    clock.start();
    QLocalSocket socket;
    // A program that is still starting has its lock before it listens: try again a
    // few times until the time is up.
    for (;;) {
        socket.connectToServer(path);
        if (socket.waitForConnected(Remaining(clock, timeoutMs))) break;
        result.problem = socket.errorString();
        socket.abort();
        if (Remaining(clock, timeoutMs) < 100) return result;
        QThread::msleep(100);
    }
    socket.write(FrameReader::Encode(request));
    FrameReader reader(desktop::kMaxReplyBytes);
    while (reader.state() == FrameReader::State::Incomplete) {
        if (!socket.waitForReadyRead(Remaining(clock, timeoutMs))) {
            result.problem = socket.error() == QLocalSocket::SocketTimeoutError
                                 ? QStringLiteral("no reply in time")
                                 : socket.errorString();
            return result;
        }
        reader.feed(socket.readAll());
    }
    if (reader.state() != FrameReader::State::Complete || !IsWellFormedReply(reader.message())) {
        result.problem = QStringLiteral("its reply was not readable");
        return result;
    }
    result.status = DesktopHandover::Status::Answered;
    result.reply = reader.message();
    return result;
}

}  // namespace vandrel
