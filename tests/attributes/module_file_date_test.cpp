#include "attributes/module_file_date.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <time.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "attributes/attribute_test_util.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::TempDir;

TEST(GetFileTimes, GivesAccessAndWriteTimesToTheSecond) {
    TempDir dir;
    const QString file = dir.file("a.txt");
    ASSERT_TRUE(test::WriteFile(file, "x"));
    const QDateTime written(QDate(2006, 11, 5), QTime(23, 59, 30));
    const QDateTime read(QDate(2007, 2, 28), QTime(6, 7, 8));
    ASSERT_TRUE(test::SetFileTimes(file, read.toSecsSinceEpoch(), 999999999,
                                   written.toSecsSinceEpoch(), 123456789));
    const auto times = GetFileTimes(file);
    ASSERT_TRUE(times);
    EXPECT_EQ(times->modified, written);
    EXPECT_EQ(times->accessed, read);
    EXPECT_EQ(times->modified.timeSpec(), Qt::LocalTime);
    EXPECT_EQ(times->created.time().msec(), 0);

    // Folders have times too; the attribute layer decides what to do with them.
    EXPECT_TRUE(GetFileTimes(dir.path()));
    EXPECT_FALSE(GetFileTimes(dir.file("missing")));
    EXPECT_FALSE(GetFileTimes(QString()));
}

// Checks that a file just made in folder has a birth time of "now".
void ExpectBirthTimeNow(const QString& folder) {
    const QString file = folder + QStringLiteral("/born.txt");
    const qint64 before = QDateTime::currentSecsSinceEpoch();
    ASSERT_TRUE(test::WriteFile(file, "x"));
    const qint64 after = QDateTime::currentSecsSinceEpoch();
    struct statx sx {};
    ASSERT_EQ(::statx(AT_FDCWD, QFile::encodeName(file).constData(), 0, STATX_BTIME, &sx), 0);
    if (!(sx.stx_mask & STATX_BTIME))
        GTEST_SKIP() << folder.toStdString() << " keeps no birth time";

    // Move the write time far into the past: the creation time must not follow it.
    ASSERT_TRUE(test::SetFileTimes(file, 1000000000, 0, 1000000000, 0));
    const auto times = GetFileTimes(file);
    ASSERT_TRUE(times);
    // The file system stamps with the kernel's coarse clock, which may lag a tick behind.
    EXPECT_GE(times->created.toSecsSinceEpoch(), before - 1);
    EXPECT_LE(times->created.toSecsSinceEpoch(), after + 1);
    EXPECT_EQ(times->modified.toSecsSinceEpoch(), 1000000000);
}

// On the temporary folder's file system and on tmpfs (/dev/shm, where present).
TEST(GetFileTimes, BirthTime) {
    TempDir dir;
    ExpectBirthTimeNow(dir.path());
    QTemporaryDir shm(QStringLiteral("/dev/shm/vandrel-test-XXXXXX"));
    if (!shm.isValid()) GTEST_SKIP() << "no writable /dev/shm";
    ExpectBirthTimeNow(shm.path());
}

// Sets TZ for the life of the object and restores it afterwards.
class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* tz)
        : had_(qEnvironmentVariableIsSet("TZ")), old_(qgetenv("TZ")) {
        qputenv("TZ", tz);
        ::tzset();
    }
    ~ScopedTimeZone() {
        if (had_)
            qputenv("TZ", old_);
        else
            qunsetenv("TZ");
        ::tzset();
    }

  private:
    bool had_;
    QByteArray old_;
};

TEST(GetFileTimes, EachTimeUsesTheZoneOffsetOfItsOwnDate) {
    ScopedTimeZone berlin("Europe/Berlin");
    TempDir dir;
    const QString file = dir.file("a.txt");
    ASSERT_TRUE(test::WriteFile(file, "x"));
    // 12:00 UTC in summer (CEST, +2) and in winter (CET, +1).
    const qint64 summer = QDateTime(QDate(2007, 7, 1), QTime(12, 0), Qt::UTC).toSecsSinceEpoch();
    const qint64 winter = QDateTime(QDate(2007, 1, 1), QTime(12, 0), Qt::UTC).toSecsSinceEpoch();
    ASSERT_TRUE(test::SetFileTimes(file, winter, 0, summer, 0));
    const auto times = GetFileTimes(file);
    ASSERT_TRUE(times);
    if (times->modified.offsetFromUtc() == 0)
        GTEST_SKIP() << "time zone data for Europe/Berlin is not installed";
    EXPECT_EQ(times->modified.time(), QTime(14, 0));
    EXPECT_EQ(times->accessed.time(), QTime(13, 0));
    EXPECT_EQ(times->accessed.date(), QDate(2007, 1, 1));
}

}  // namespace
}  // namespace vandrel
