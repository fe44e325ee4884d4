// The framing of the desktop program's local channel: each message is a 4-byte
// big-endian length followed by that many bytes of a JSON object. The reader gathers
// bytes as they arrive and refuses a frame longer than its limit before reading it, so
// a peer can never make the program hold more than the limit in memory. No Qt event
// loop needed; use from one thread.
#pragma once

#include <QByteArray>
#include <QJsonObject>

namespace vandrel {

class FrameReader {
  public:
    enum class State { Incomplete, Complete, TooLarge, Malformed };

    // maxPayload: the largest JSON text accepted, in bytes.
    explicit FrameReader(qint64 maxPayload) : maxPayload_(maxPayload) {}

    // Adds received bytes; returns the state after them. Complete: message() holds the
    // object (bytes after the frame are ignored: one message per connection). TooLarge
    // and Malformed are final.
    State feed(const QByteArray& bytes);
    State state() const { return state_; }
    const QJsonObject& message() const { return message_; }

    // The frame of one message.
    static QByteArray Encode(const QJsonObject& message);

  private:
    qint64 maxPayload_;
    QByteArray buffer_;
    State state_ = State::Incomplete;
    QJsonObject message_;
};

}  // namespace vandrel
