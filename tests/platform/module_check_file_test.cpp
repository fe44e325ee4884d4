#include "platform/module_check_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>

#include "platform/file_in_use.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::Holder;

using test::MakeDir;
using test::TempDir;
using test::WriteFile;

TEST(ListFolderEntriesTest, SameEntriesWhateverTheSpellingOfTheFolder) {
    TempDir t;
    WriteFile(t.file("b.txt"), "b");
    WriteFile(t.file("a.txt"), "a");
    WriteFile(t.file(".dotfile"), "d");
    WriteFile(t.file("noext"), "n");
    MakeDir(t.file("sub"));
    MakeDir(t.file(".cache"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(t.file("pipe")).constData(), 0600), 0);
    ASSERT_EQ(::symlink("sub", QFile::encodeName(t.file("linkdir")).constData()), 0);
    ASSERT_EQ(::symlink("a.txt", QFile::encodeName(t.file("linkfile")).constData()), 0);
    ASSERT_EQ(::symlink("gone", QFile::encodeName(t.file("dangling")).constData()), 0);

    const QString dir = t.path() + QLatin1Char('/');
    const QStringList expectedFiles = {dir + ".dotfile", dir + "a.txt", dir + "b.txt",
                                       dir + "linkfile", dir + "noext"};
    const QStringList expectedFolders = {dir + "linkdir/", dir + "sub/"};
    for (const QString& spelling : {t.path(), t.path() + "/"}) {
        QStringList files, folders;
        ListFolderEntries(spelling, QStringLiteral("*.*"), files, folders);
        EXPECT_EQ(files, expectedFiles) << spelling.toStdString();
        EXPECT_EQ(folders, expectedFolders) << spelling.toStdString();
    }
    QStringList files, folders;
    ListFolderEntries(t.path(), QStringLiteral("*.TXT"), files, folders);
    EXPECT_EQ(files, QStringList({dir + "a.txt", dir + "b.txt"}));
    EXPECT_TRUE(folders.isEmpty());

    files.clear();
    folders.clear();
    ListFolderItems(t.path(), files, folders);
    EXPECT_EQ(files, expectedFiles);
    EXPECT_EQ(folders, QStringList({dir + "linkdir", dir + "sub"}));
}

TEST(ListFolderEntriesTest, EmptyMissingOrUnreadableFoldersListNothing) {
    TempDir t;
    MakeDir(t.file("empty"));
    WriteFile(t.file("file"), "f");
    for (const QString& folder :
         {t.file("empty"), t.file("missing"), t.file("file"), QString(), QStringLiteral("   ")}) {
        QStringList files{"kept"}, folders{"kept/"};
        ListFolderItems(folder, files, folders);
        EXPECT_EQ(files, QStringList{"kept"}) << folder.toStdString();  // appended to, not reset
        EXPECT_EQ(folders, QStringList{"kept/"}) << folder.toStdString();
    }
}

TEST(ListAllFilesTest, BreadthFirstSkippingDotFoldersAndLinks) {
    TempDir t;
    WriteFile(t.file("sub1/sub2/c.txt"), "c");
    WriteFile(t.file("sub1/b.txt"), "b");
    WriteFile(t.file("a.txt"), "a");
    WriteFile(t.file("sub0/z.txt"), "z");
    WriteFile(t.file(".cache/hidden.txt"), "h");
    WriteFile(t.file("sub1/.env"), "e");
    // A link back up would loop forever if it were followed.
    ASSERT_EQ(::symlink("..", QFile::encodeName(t.file("sub1/up")).constData()), 0);
    EXPECT_EQ(ListAllFiles(t.path()),
              QStringList({t.file("a.txt"), t.file("sub0/z.txt"), t.file("sub1/.env"),
                           t.file("sub1/b.txt"), t.file("sub1/sub2/c.txt")}));
    EXPECT_TRUE(ListAllFiles(t.file("missing")).isEmpty());
}

TEST(TrimAtNulTest, CutsAtTheFirstNulFromTheSecondCharacterOn) {
    struct Case {
        QString in;
        QString out;
    };
    const Case cases[] = {
        {QStringLiteral("abc"), QStringLiteral("abc")},
        {QString::fromUtf16(u"ab\0cd", 5), QStringLiteral("ab")},
        {QString::fromUtf16(u"a\0b", 3), QStringLiteral("a")},
        {QString::fromUtf16(u"\0abc", 4), QString::fromUtf16(u"\0abc", 4)},
        {QString(), QString()},
    };
    for (const Case& c : cases) EXPECT_EQ(TrimAtNul(c.in), c.out);
}

TEST(IsFileFreeTest, FileHeldByAnotherProcessIsNotFreeNorAreItsFolders) {
    TempDir t;
    WriteFile(t.file("top/mid/held.txt"), "h");
    WriteFile(t.file("top/mid/other.txt"), "o");
    WriteFile(t.file("top/side/s.txt"), "s");
    WriteFile(t.file("top/mine.txt"), "m");
    MakeDir(t.file("empty"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(t.file("top/side/pipe")).constData(), 0600), 0);
    QFile mine(t.file("top/mine.txt"));
    ASSERT_TRUE(mine.open(QIODevice::ReadOnly));  // our own open files do not count

    {
        Holder holder(t.file("top/mid/held.txt"));
        ASSERT_TRUE(holder.started());
        FileInUseProbe probe;
        EXPECT_FALSE(IsFileFree(t.file("top/mid/held.txt"), &probe));
        EXPECT_FALSE(IsFileFree(t.file("top/mid/held.txt")));  // one-off probe
        EXPECT_TRUE(IsFileFree(t.file("top/mid/other.txt"), &probe));
        EXPECT_TRUE(IsFileFree(t.file("top/mine.txt"), &probe));
        EXPECT_FALSE(IsFolderFree(t.file("top/mid"), &probe));
        EXPECT_FALSE(IsFolderFree(t.file("top"), &probe));
        EXPECT_FALSE(IsFolderFree(t.file("top")));
        EXPECT_TRUE(IsFolderFree(t.file("top/side"), &probe));  // the FIFO is never opened
        EXPECT_TRUE(IsFolderFree(t.file("empty"), &probe));
    }
    FileInUseProbe fresh;
    EXPECT_TRUE(IsFileFree(t.file("top/mid/held.txt"), &fresh));
    EXPECT_TRUE(IsFolderFree(t.file("top"), &fresh));
    EXPECT_FALSE(IsFileFree(t.file("missing.txt"), &fresh));
    EXPECT_FALSE(IsFolderFree(t.file("missing"), &fresh));
}

}  // namespace
}  // namespace vandrel
