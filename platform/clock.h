// The source of "now" for everything that depends on the time of day: date conditions,
// log records, schedules. Injected so that tests can set the time. Implementations are
// thread-safe for reading.
#pragma once

#include <QDateTime>
#include <atomic>

namespace vandrel {

class Clock {
public:
    virtual ~Clock() = default;
    // The current local date and time.
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    // One shared instance for callers that were handed no clock.
    static const SystemClock& instance() {
        static const SystemClock clock;
        return clock;
    }
};

// Test-only: a clock that says what it is told.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2008, 1, 1), QTime(12, 0)))
        : msecs_(start.toMSecsSinceEpoch()) {}
    QDateTime now() const override { return QDateTime::fromMSecsSinceEpoch(msecs_.load()); }
    void set(const QDateTime& t) { msecs_.store(t.toMSecsSinceEpoch()); }
    void advanceSecs(qint64 s) { msecs_.fetch_add(s * 1000); }

private:
    std::atomic<qint64> msecs_;
};

}  // namespace vandrel
