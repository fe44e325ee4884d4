#include "platform/trash.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QUrl>

#include "actions/module_file_op.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// Points XDG_DATA_HOME into a temporary folder for one test.
class DataHome {
  public:
    explicit DataHome(const QString& path) : old_(qgetenv("XDG_DATA_HOME")) {
        qputenv("XDG_DATA_HOME", QFile::encodeName(path));
    }
    ~DataHome() { qputenv("XDG_DATA_HOME", old_); }

  private:
    QByteArray old_;
};

TEST(TrashTest, FileLandsInTheTrashWithItsInfoRecord) {
    TempDir t;
    // The data folder does not exist yet: it must be created, not the current folder used.
    const QString data = t.file("home/.local/share");
    DataHome env(data);
    ASSERT_EQ(HomeTrashPath(), data + QStringLiteral("/Trash"));
    WriteFile(t.file("work/my file.txt"), "first");
    WriteFile(t.file("work2/my file.txt"), "second");

    EXPECT_TRUE(RecycleFile(t.file("work/my file.txt")));
    EXPECT_TRUE(RecycleFile(t.file("work2/my file.txt")));
    EXPECT_FALSE(QFile::exists(t.file("work/my file.txt")));
    EXPECT_EQ(ReadFile(data + "/Trash/files/my file.txt"), "first");
    EXPECT_EQ(ReadFile(data + "/Trash/files/my file 2.txt"), "second");

    const QString info = QString::fromUtf8(ReadFile(data + "/Trash/info/my file.txt.trashinfo"));
    EXPECT_TRUE(info.startsWith(QStringLiteral("[Trash Info]\n"))) << info.toStdString();
    const QString encoded =
        QString::fromLatin1(QUrl::toPercentEncoding(t.file("work/my file.txt"), "/"));
    EXPECT_TRUE(info.contains(QStringLiteral("Path=") + encoded + QLatin1Char('\n')))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(
        QStringLiteral("DeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n"))));
    EXPECT_TRUE(QFile::exists(data + "/Trash/info/my file 2.txt.trashinfo"));
    EXPECT_TRUE(QDir(QDir::currentPath() + "/files").entryList(QDir::NoDotAndDotDot).isEmpty());
}

TEST(TrashTest, OnlyExistingVisibleFilesAreRecycled) {
    TempDir t;
    DataHome env(t.file("data"));
    WriteFile(t.file(".hidden"), "h");
    test::MakeDir(t.file("dir"));
    EXPECT_FALSE(RecycleFile(t.file("missing")));
    EXPECT_FALSE(RecycleFile(t.file(".hidden")));
    EXPECT_FALSE(RecycleFile(t.file("dir")));
    EXPECT_TRUE(QFile::exists(t.file(".hidden")));
    // A failure leaves no stray info record.
    const FsStatus st = MoveToTrash(t.file("missing"));
    EXPECT_TRUE(st.notFound());
}

TEST(TrashTest, AcrossFileSystemsTheFileIsCopiedThenRemoved) {
    TempDir t;
    if (!QFile::exists(QStringLiteral("/dev/shm"))) GTEST_SKIP() << "no /dev/shm";
    QTemporaryDir shm(QStringLiteral("/dev/shm/vandrel-test-XXXXXX"));
    ASSERT_TRUE(shm.isValid());
    DataHome env(t.file("data"));
    const QString file = shm.path() + QStringLiteral("/far.txt");
    WriteFile(file, "far away");
    EXPECT_TRUE(MoveToTrash(file).ok());
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(ReadFile(t.file("data/Trash/files/far.txt")), "far away");
    EXPECT_TRUE(QFile::exists(t.file("data/Trash/info/far.txt.trashinfo")));
}

}  // namespace
}  // namespace vandrel
