// The source of "now" for everything that depends on the time of day: date conditions,
// log records, schedules. Injected so that tests can set the time. Implementations are
// thread-safe for reading.
#pragma once

#include <QDateTime>
#include <atomic>
#include <limits>

namespace vandrel {

class Clock {
  public:
    virtual ~Clock() = default;
    // The current local date and time.
    virtual QDateTime now() const = 0;
    // The same instant as milliseconds since the epoch. Clocks may answer this without
    // working out local time.
    virtual qint64 nowMSecsSinceEpoch() const { return now().toMSecsSinceEpoch(); }
    // The same without the part below the second, for records that keep no more (the
    // action log). Clocks may answer this more cheaply than now().
    virtual QDateTime nowToTheSecond() const {
        const QDateTime t = now();
        return t.addMSecs(-t.time().msec());
    }
};

class SystemClock final : public Clock {
  public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 nowMSecsSinceEpoch() const override { return QDateTime::currentMSecsSinceEpoch(); }
    // Working out local time asks the system for its time zone each time (a file read on
    // Linux); within one second the answer is the same, so it is worked out once a second.
    QDateTime nowToTheSecond() const override {
        const qint64 ms = QDateTime::currentMSecsSinceEpoch();
        const qint64 second = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
        thread_local qint64 cachedSecond = std::numeric_limits<qint64>::min();
        thread_local QDateTime cached;
        if (second != cachedSecond) {
            cached = QDateTime::fromMSecsSinceEpoch(second * 1000);
            cachedSecond = second;
        }
        return cached;
    }
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
    qint64 nowMSecsSinceEpoch() const override { return msecs_.load(); }
    void set(const QDateTime& t) { msecs_.store(t.toMSecsSinceEpoch()); }
    void advanceSecs(qint64 s) { msecs_.fetch_add(s * 1000); }

  private:
    std::atomic<qint64> msecs_;
};

}  // namespace vandrel
