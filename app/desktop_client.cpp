#include "app/desktop_client.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QThread>

#include "app/desktop_protocol.h"
#include "app/frame_reader.h"
#include "platform/desktop_socket.h"
#include "platform/single_instance.h"
#include "platform/unix_socket.h"

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
    UnixSocket socket;
    // A program that is still starting has its lock before it listens: try again a
    // few times until the time is up.
    for (;;) {
        socket = UnixSocket::Connect(path);
        if (socket.isOpen()) break;
        result.problem = socket.error();
        if (Remaining(clock, timeoutMs) < 100) return result;
        QThread::msleep(100);
    }
    const QByteArray frame = FrameReader::Encode(request);
    for (qsizetype sent = 0; sent < frame.size();) {
        const qint64 n = socket.send(QByteArrayView(frame).sliced(sent));
        if (n < 0) {
            result.problem = socket.error();
            return result;
        }
        if (n == 0 && !socket.waitWritable(Remaining(clock, timeoutMs))) {
            result.problem = QStringLiteral("no reply in time");
            return result;
        }
        sent += static_cast<qsizetype>(n);
    }
    FrameReader reader(desktop::kMaxReplyBytes);
    while (reader.state() == FrameReader::State::Incomplete) {
        if (!socket.waitReadable(Remaining(clock, timeoutMs))) {
            result.problem = QStringLiteral("no reply in time");
            return result;
        }
        const UnixSocket::Received got = socket.receive(64 * 1024);
        if (got.io == UnixSocket::Io::Closed) {
            result.problem = QStringLiteral("it closed the connection without a reply");
            return result;
        }
        if (got.io == UnixSocket::Io::Failed) {
            result.problem = socket.error();
            return result;
        }
        reader.feed(got.bytes);
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
