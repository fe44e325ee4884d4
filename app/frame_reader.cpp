#include "app/frame_reader.h"

#include <QJsonDocument>
#include <QtEndian>

namespace vandrel {

namespace {
constexpr int kHeaderBytes = 4;
}

FrameReader::State FrameReader::feed(const QByteArray& bytes) {
    if (state_ != State::Incomplete) return state_;
    buffer_ += bytes;
    if (buffer_.size() < kHeaderBytes) return state_;
    const quint32 length = qFromBigEndian<quint32>(buffer_.constData());
    if (length > maxPayload_) {
        buffer_.clear();
        return state_ = State::TooLarge;
    }
    if (buffer_.size() < kHeaderBytes + qint64(length)) return state_;
    QJsonParseError error{};
    const QJsonDocument doc =
        QJsonDocument::fromJson(buffer_.mid(kHeaderBytes, qsizetype(length)), &error);
    buffer_.clear();
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return state_ = State::Malformed;
    message_ = doc.object();
    return state_ = State::Complete;
}

QByteArray FrameReader::Encode(const QJsonObject& message) {
    const QByteArray payload = QJsonDocument(message).toJson(QJsonDocument::Compact);
    QByteArray frame(kHeaderBytes, Qt::Uninitialized);
    qToBigEndian<quint32>(quint32(payload.size()), frame.data());
    return frame + payload;
}

}  // namespace vandrel
