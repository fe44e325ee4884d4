#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "platform/ini_file.h"
#include "platform/single_instance.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(IniFile, ProfileReadAndWrite) {
    TempDir tmp;
    const QString p = tmp.file(QStringLiteral("a.ini"));
    EXPECT_EQ(
        ReadProfileString(p, QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("dflt")),
        QStringLiteral("dflt"));
    ASSERT_TRUE(
        WriteProfileString(p, QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v1")));
    ASSERT_TRUE(
        WriteProfileString(p, QStringLiteral("s"), QStringLiteral("a"), QStringLiteral("v2")));
    ASSERT_TRUE(
        WriteProfileString(p, QStringLiteral("t"), QStringLiteral("k"), QStringLiteral("v3")));
    ASSERT_TRUE(
        WriteProfileString(p, QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v4")));
    EXPECT_EQ(QString::fromUtf8(ReadFile(p)), QStringLiteral("[s]\nk=v4\na=v2\n[t]\nk=v3\n"));
    EXPECT_EQ(ReadProfileString(p, QStringLiteral("T"), QStringLiteral("K")), QStringLiteral("v3"));
    EXPECT_EQ(ReadProfileString(p, QStringLiteral("s"), QStringLiteral("missing")), QString());
    // A value with a line break cannot split into a second key.
    ASSERT_TRUE(WriteProfileString(p, QStringLiteral("s"), QStringLiteral("k"),
                                   QStringLiteral("x\nevil=1")));
    EXPECT_EQ(ReadProfileString(p, QStringLiteral("s"), QStringLiteral("evil")), QString());
}

TEST(IniFile, ParsesDamagedAndForeignText) {
    const IniFile ini = IniFile::Parse(QStringLiteral(
        "top=1\n; comment\n# another\n[a]\r\n  key  =  \"quoted value\"  \r\nnoequals\n=novalue\n"
        "[broken\nk2=v2\n[a]\nkey=second\ndup=1\nDUP=2\n"));
    EXPECT_EQ(ini.value(QString(), QStringLiteral("top")).value_or(QString()), QStringLiteral("1"));
    EXPECT_EQ(ini.value(QStringLiteral("a"), QStringLiteral("key")).value_or(QString()),
              QStringLiteral("quoted value"));
    // The broken header is ignored, so k2 belongs to [a]; repeated keys keep the first value.
    EXPECT_EQ(ini.value(QStringLiteral("a"), QStringLiteral("k2")).value_or(QString()),
              QStringLiteral("v2"));
    EXPECT_EQ(ini.value(QStringLiteral("a"), QStringLiteral("dup")).value_or(QString()),
              QStringLiteral("1"));
    EXPECT_FALSE(ini.value(QStringLiteral("a"), QStringLiteral("noequals")).has_value());
    EXPECT_EQ(ini.keys(QStringLiteral("A")), (QStringList{"key", "k2", "dup"}));
}

TEST(IniFile, FailedWriteKeepsOldFile) {
    TempDir tmp;
    const QString dir = tmp.file(QStringLiteral("ro"));
    ASSERT_TRUE(test::MakeDir(dir));
    const QString p = dir + QStringLiteral("/a.ini");
    ASSERT_TRUE(WriteFile(p, "[s]\nk=old\n"));
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFile(dir + QStringLiteral("/probe")).open(QIODevice::WriteOnly)) {
        QFile::setPermissions(
            dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        GTEST_SKIP() << "running as root: folder permissions are not enforced";
    }
    EXPECT_FALSE(
        WriteProfileString(p, QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("new")));
    QFile::setPermissions(dir,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(ReadFile(p), QByteArray("[s]\nk=old\n"));
}

TEST(IniFile, FullDiskKeepsOldFile) {
    TempDir tmp;
    test::SmallTmpfs fs(tmp.file(QStringLiteral("small")));
    if (!fs.mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
    const QString p = tmp.file(QStringLiteral("small/options.ini"));
    ASSERT_TRUE(WriteProfileString(p, QStringLiteral("startup"), QStringLiteral("StartWin"),
                                   QStringLiteral("True")));
    const QByteArray before = ReadFile(p);
    // Fill the rest of the disk.
    QFile filler(tmp.file(QStringLiteral("small/filler")));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();
    EXPECT_FALSE(WriteProfileString(p, QStringLiteral("startup"), QStringLiteral("basketTop"),
                                    QString(8192, QLatin1Char('9'))));
    EXPECT_EQ(ReadFile(p), before);
    EXPECT_EQ(ReadProfileString(p, QStringLiteral("startup"), QStringLiteral("StartWin")),
              QStringLiteral("True"));
}

TEST(SingleInstance, OneHolderPerDataFolder) {
    TempDir a, b;
    SingleInstance first(a.path());
    ASSERT_TRUE(first.tryAcquire());
    EXPECT_TRUE(first.tryAcquire());  // taking it again is harmless
    // Another folder has its own lock.
    SingleInstance other(b.path());
    EXPECT_TRUE(other.tryAcquire());
    first.release();
    SingleInstance again(a.path());
    EXPECT_TRUE(again.tryAcquire());
    // A folder that cannot hold the lock is an error, not a lock taken.
    SingleInstance missing(a.file(QStringLiteral("missing/folder")));
    EXPECT_FALSE(missing.tryAcquire());
    EXPECT_FALSE(missing.error().isEmpty());
}

TEST(SingleInstance, LockHeldByAnotherLiveProcess) {
    TempDir a;
    SingleInstance probe(a.path());
    // A child process holds a lock file at the same place, as a running scheduler would.
    QProcess holder;
    holder.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(holder.waitForStarted());
    ASSERT_TRUE(WriteFile(probe.lockPath(), QByteArray::number(holder.processId()) + "\nsleep\n" +
                                                QSysInfo::machineHostName().toUtf8() + "\n"));
    EXPECT_FALSE(probe.tryAcquire());
    EXPECT_TRUE(probe.error().isEmpty());
    EXPECT_EQ(probe.holderPid(), holder.processId());
    holder.kill();
    holder.waitForFinished();
    // The holder is gone: its lock is stale and taken over.
    EXPECT_TRUE(probe.tryAcquire());
}

}  // namespace
}  // namespace vandrel
