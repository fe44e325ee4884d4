#include "platform/clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace vandrel {
namespace {

// The second-precise time is local time with nothing below the second, and it follows
// the clock from one second to the next rather than standing still.
TEST(ClockTest, NowToTheSecondIsLocalTimeAndKeepsUp) {
    const SystemClock& clock = SystemClock::instance();
    const QDateTime before = QDateTime::currentDateTime();
    const QDateTime t = clock.nowToTheSecond();
    const QDateTime after = QDateTime::currentDateTime();
    EXPECT_EQ(t.timeSpec(), Qt::LocalTime);
    EXPECT_EQ(t.time().msec(), 0);
    EXPECT_GE(t.toMSecsSinceEpoch(), before.toMSecsSinceEpoch() - 1000);
    EXPECT_LE(t, after);
    EXPECT_EQ(t.toString(Qt::ISODate), t.toLocalTime().toString(Qt::ISODate));

    // Over a second boundary the answer moves on.
    const qint64 start = t.toMSecsSinceEpoch();
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    const QDateTime later = clock.nowToTheSecond();
    EXPECT_GE(later.toMSecsSinceEpoch(), start + 1000);
    EXPECT_EQ(later.time().msec(), 0);

    FakeClock fake(QDateTime(QDate(2020, 2, 29), QTime(23, 59, 58, 750)));
    EXPECT_EQ(fake.nowToTheSecond(), QDateTime(QDate(2020, 2, 29), QTime(23, 59, 58)));
}

}  // namespace
}  // namespace vandrel
