#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "platform/faulty_file_system.h"
#include "platform/path_text.h"
#include "platform/posix_file_system.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(PosixFileSystemTest, RenameNeverReplacesFilesOrFolders) {
    TempDir t;
    PosixFileSystem fs;
    WriteFile(t.file("a"), "a");
    WriteFile(t.file("b"), "b");
    test::MakeDir(t.file("d1/x"));
    test::MakeDir(t.file("d2"));
    FsStatus st = fs.renameNoReplace(t.file("a"), t.file("b"));
    EXPECT_TRUE(st.alreadyExists());
    EXPECT_EQ(ReadFile(t.file("b")), "b");
    // An empty folder would be replaced by plain rename(2); not here.
    st = fs.renameNoReplace(t.file("d1"), t.file("d2"));
    EXPECT_TRUE(st.alreadyExists());
    EXPECT_TRUE(QFile::exists(t.file("d1/x")));
    EXPECT_TRUE(fs.renameNoReplace(t.file("a"), t.file("c")).ok());
    EXPECT_EQ(ReadFile(t.file("c")), "a");
    st = fs.renameNoReplace(t.file("missing"), t.file("e"));
    EXPECT_TRUE(st.notFound());
    EXPECT_TRUE(st.message().contains(t.file("missing"))) << st.message().toStdString();
}

TEST(FileSystemTest, HiddenNamesAreThoseOfTheLastPart) {
    EXPECT_TRUE(IsHiddenName(QStringLiteral("/a/.b")));
    EXPECT_TRUE(IsHiddenName(QStringLiteral(".b")));
    EXPECT_FALSE(IsHiddenName(QStringLiteral("/.a/b")));
    EXPECT_FALSE(IsHiddenName(QStringLiteral("/a/b.")));
    EXPECT_FALSE(IsHiddenName(QStringLiteral("/a/")));
    EXPECT_FALSE(IsHiddenName(QString()));
}

TEST(PosixFileSystemTest, StatListAndExclusiveCreate) {
    TempDir t;
    PosixFileSystem fs;
    WriteFile(t.file(".h"), "12345");
    ASSERT_EQ(::mkfifo(QFile::encodeName(t.file("p")).constData(), 0600), 0);
    ASSERT_EQ(::symlink(".h", QFile::encodeName(t.file("l")).constData()), 0);
    FsResult<EntryInfo> info = fs.stat(t.file(".h"));
    ASSERT_TRUE(info.ok());
    EXPECT_TRUE(info.value().hidden);
    EXPECT_EQ(info.value().type, EntryType::kFile);
    EXPECT_EQ(info.value().size, 5);
    EXPECT_EQ(fs.lstat(t.file("l")).value().type, EntryType::kSymlink);
    EXPECT_EQ(fs.stat(t.file("l")).value().type, EntryType::kFile);
    EXPECT_EQ(fs.lstat(t.file("p")).value().type, EntryType::kOther);

    FsResult<std::vector<FolderEntry>> list = fs.listFolder(t.path());
    ASSERT_TRUE(list.ok());
    EXPECT_EQ(list.value().size(), 3u);

    // A FIFO is refused before it is opened (opening it would block).
    FsResult<int> fifo = fs.openRead(t.file("p"));
    EXPECT_FALSE(fifo.ok());
    EXPECT_EQ(fifo.status().error(), EINVAL);

    FsResult<int> fd = fs.createExclusive(t.file(".h"), 0600);
    EXPECT_TRUE(fd.status().alreadyExists());
    fd = fs.createExclusive(t.file("new"), 0600);
    ASSERT_TRUE(fd.ok());
    EXPECT_TRUE(fs.writeData(fd.value(), "data").ok());
    EXPECT_TRUE(fs.syncFile(fd.value()).ok());
    EXPECT_TRUE(fs.closeFile(fd.value()).ok());
    EXPECT_EQ(ReadFile(t.file("new")), "data");
}

// Opening what was examined a moment ago: another file or a FIFO under the name by now
// is refused, never read (and the FIFO never blocks).
TEST(PosixFileSystemTest, OpenReadExaminedRefusesWhatChangedMeanwhile) {
    TempDir t;
    PosixFileSystem fs;
    WriteFile(t.file("a"), "first");
    const EntryInfo examined = fs.stat(t.file("a")).value();
    FsResult<int> fd = fs.openReadExamined(t.file("a"), examined);
    ASSERT_TRUE(fd.ok());
    EXPECT_TRUE(fs.closeFile(fd.value()).ok());

    WriteFile(t.file("b"), "second");
    ASSERT_EQ(::rename(QFile::encodeName(t.file("b")).constData(),
                       QFile::encodeName(t.file("a")).constData()),
              0);
    EXPECT_EQ(fs.openReadExamined(t.file("a"), examined).status().error(), ESTALE);

    ASSERT_EQ(::unlink(QFile::encodeName(t.file("a")).constData()), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(t.file("a")).constData(), 0600), 0);
    EXPECT_EQ(fs.openReadExamined(t.file("a"), examined).status().error(), EINVAL);
    EntryInfo folder = examined;
    folder.type = EntryType::kFolder;
    EXPECT_EQ(fs.openReadExamined(t.path(), folder).status().error(), EINVAL);
}

TEST(PosixFileSystemTest, UnnamedFileAppearsOnlyWhenNamedAndNeverReplaces) {
    TempDir t;
    PosixFileSystem fs;
    WriteFile(t.file("taken"), "theirs");
    FsResult<int> fd = fs.createUnnamed(t.path(), 0600);
    if (!fd.ok()) GTEST_SKIP() << "no unnamed files here: " << fd.status().message().toStdString();
    EXPECT_TRUE(fs.writeData(fd.value(), "mine").ok());
    EXPECT_EQ(fs.listFolder(t.path()).value().size(), 1u);  // nothing shows yet
    EXPECT_TRUE(fs.linkNoReplace(fd.value(), t.file("taken")).alreadyExists());
    EXPECT_EQ(ReadFile(t.file("taken")), "theirs");
    EXPECT_TRUE(fs.linkNoReplace(fd.value(), t.file("missing/x")).notFound());
    EXPECT_TRUE(fs.linkNoReplace(fd.value(), t.file("mine")).ok());
    EXPECT_TRUE(fs.closeFile(fd.value()).ok());
    EXPECT_EQ(ReadFile(t.file("mine")), "mine");

    // Closed without a name: it leaves nothing behind.
    fd = fs.createUnnamed(t.path(), 0600);
    ASSERT_TRUE(fd.ok());
    EXPECT_TRUE(fs.writeData(fd.value(), QByteArray(1 << 20, 'x')).ok());
    EXPECT_TRUE(fs.closeFile(fd.value()).ok());
    EXPECT_EQ(fs.listFolder(t.path()).value().size(), 2u);
    EXPECT_TRUE(fs.createUnnamed(t.file("missing"), 0600).status().notFound());
}

TEST(PosixFileSystemTest, CopyDataCopiesEveryByteAcrossFileSystems) {
    TempDir t;
    PosixFileSystem fs;
    QByteArray data(5 * 1024 * 1024 + 13, '\0');
    for (qsizetype i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + i / 4096);
    WriteFile(t.file("src"), data);
    for (const QString& dir : {t.path(), QStringLiteral("/dev/shm")}) {
        if (!QFile::exists(dir)) continue;
        const QString dest =
            dir + QStringLiteral("/vandrel-copy-test-") + QString::number(::getpid());
        FsResult<int> in = fs.openRead(t.file("src"));
        FsResult<int> out = fs.createExclusive(dest, 0600);
        ASSERT_TRUE(in.ok() && out.ok()) << dest.toStdString();
        FsResult<std::int64_t> n = fs.copyData(in.value(), out.value());
        ASSERT_TRUE(n.ok()) << n.status().message().toStdString();
        EXPECT_EQ(n.value(), data.size());
        (void)fs.closeFile(in.value());
        (void)fs.closeFile(out.value());
        EXPECT_EQ(ReadFile(dest), data);
        QFile::remove(dest);
    }
}

TEST(FaultyFileSystemTest, FailsExactlyTheChosenCall) {
    TempDir t;
    test::FaultyFileSystem fs;
    WriteFile(t.file("a"), "a");
    fs.failNth(test::FsCall::kStat, 2, EACCES);
    EXPECT_TRUE(fs.stat(t.file("a")).ok());
    FsResult<EntryInfo> second = fs.stat(t.file("a"));
    EXPECT_EQ(second.status().error(), EACCES);
    EXPECT_TRUE(fs.stat(t.file("a")).ok());
    EXPECT_EQ(fs.calls(test::FsCall::kStat), 3);
    fs.failAlways(test::FsCall::kRenameNoReplace, EXDEV);
    EXPECT_TRUE(fs.renameNoReplace(t.file("a"), t.file("b")).crossDevice());
    EXPECT_TRUE(QFile::exists(t.file("a")));
}

}  // namespace
}  // namespace vandrel
