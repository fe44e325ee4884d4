#include "actions/module_file_op.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <map>
#include <random>
#include <thread>

#include "platform/faulty_file_system.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::FaultyFileSystem;
using test::FsCall;
using test::MakeDir;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// Relative path -> content of every file below root (hidden ones included); folders
// appear as "name/" with an empty content.
std::map<QString, QByteArray> Tree(const QString& root) {
    std::map<QString, QByteArray> out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        const QString rel = QDir(root).relativeFilePath(p);
        if (it.fileInfo().isDir() && !it.fileInfo().isSymLink())
            out[rel + QLatin1Char('/')] = QByteArray();
        else
            out[rel] = ReadFile(p);
    }
    return out;
}

// Names of leftover temporary copies below root.
QStringList Leftovers(const QString& root) {
    QStringList out;
    for (const auto& [rel, content] : Tree(root))
        if (rel.contains(QLatin1String(".vandrel-"))) out << rel;
    return out;
}

bool Exists(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

struct stat StatOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

void SetModeAndMtime(const QString& path, mode_t mode, time_t mtime) {
    ::chmod(QFile::encodeName(path).constData(), mode);
    const timespec times[2] = {{mtime, 0}, {mtime, 123456789}};
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

TEST(UniqueNameTest, NumbersFilesBeforeTheExtensionAndFoldersAtTheEnd) {
    TempDir t;
    struct Case {
        const char* taken;
        std::vector<const char*> existing;  // entries present besides the taken one
        const char* expected;
        int counter;
    };
    const std::vector<Case> files = {
        {"pic.bmp", {}, "pic1.bmp", 1},
        {"pic.bmp", {"pic1.bmp", "pic2.bmp"}, "pic3.bmp", 3},
        {"pic1.bmp", {}, "pic11.bmp", 1},
        {"README", {"README1"}, "README2", 2},
        {"archive.tar.gz", {}, "archive.tar1.gz", 1},
        {".profile", {}, ".profile1", 1},  // a leading dot is not an extension
        {".notes.txt", {}, ".notes1.txt", 1},
        {"pic.bmp", {"pic1.bmp/"}, "pic2.bmp", 2},  // a folder holds the number
        {"pic.bmp", {"pic1.bmp@"}, "pic2.bmp", 2},  // so does a dangling link
    };
    for (size_t i = 0; i < files.size(); ++i) {
        const QString dir = t.file(QStringLiteral("f%1").arg(i));
        MakeDir(dir);
        for (const char* e : files[i].existing) {
            QString name = QString::fromUtf8(e);
            if (name.endsWith(QLatin1Char('/'))) {
                MakeDir(dir + QLatin1Char('/') + name);
            } else if (name.endsWith(QLatin1Char('@'))) {
                name.chop(1);
                ASSERT_EQ(::symlink("nowhere", QFile::encodeName(dir + "/" + name).constData()), 0);
            } else {
                WriteFile(dir + QLatin1Char('/') + name, "x");
            }
        }
        int counter = 0;
        EXPECT_EQ(UniqueFileName(dir + "/" + files[i].taken, counter),
                  dir + "/" + files[i].expected)
            << files[i].taken;
        EXPECT_EQ(counter, files[i].counter) << files[i].taken;
    }

    // Folders: the number goes at the end; a plain file (or a hidden entry) holding a
    // number is skipped as well.
    WriteFile(t.file("dir21"), "plain file");
    MakeDir(t.file("dir22"));
    int counter = 0;
    EXPECT_EQ(UniqueFolderName(t.file("dir2"), counter), t.file("dir23"));
    EXPECT_EQ(counter, 3);
    counter = 5;  // the counter continues from where the caller left it
    EXPECT_EQ(UniqueFolderName(t.file("dir2/"), counter), t.file("dir26"));
}

TEST(ExistsTest, FilesAndFoldersButNeitherHiddenNorSpecialEntries) {
    TempDir t;
    WriteFile(t.file("a.txt"), "a");
    WriteFile(t.file(".hidden.txt"), "h");
    MakeDir(t.file("dir"));
    MakeDir(t.file(".cache"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(t.file("pipe")).constData(), 0600), 0);
    ASSERT_EQ(::symlink("a.txt", QFile::encodeName(t.file("link.txt")).constData()), 0);
    ASSERT_EQ(::symlink("gone", QFile::encodeName(t.file("dangling")).constData()), 0);
    ASSERT_EQ(::symlink("dir", QFile::encodeName(t.file("dirlink")).constData()), 0);
    struct Case {
        const char* name;
        bool file;
        bool folder;      // FolderExists: any visible entry
        bool realFolder;  // VisibleFolderExists: a folder only
    };
    const Case cases[] = {
        {"a.txt", true, true, false},      {".hidden.txt", false, false, false},
        {"dir", false, true, true},        {"dir/", false, true, true},
        {"dirlink", false, true, true},    {".cache", false, false, false},
        {"pipe", false, false, false},     {"link.txt", true, true, false},
        {"dangling", false, false, false}, {"missing", false, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileExists(t.file(c.name)), c.file) << c.name;
        EXPECT_EQ(FolderExists(t.file(c.name)), c.folder) << c.name;
        EXPECT_EQ(VisibleFolderExists(t.file(c.name)), c.realFolder) << c.name;
    }
    EXPECT_FALSE(FileExists(QString()));
    EXPECT_FALSE(FolderExists(QString()));
    EXPECT_FALSE(VisibleFolderExists(QString()));
}

TEST(SafeFileOperationTest, NumberedNamesAndReplaceKeepEveryFile) {
    TempDir t;
    WriteFile(t.file("hello.txt"), "hello");
    WriteFile(t.file("pic.bmp"), "pic");
    // Rename onto a taken name: the incoming file is numbered.
    EXPECT_EQ(
        SafeFileOperation(t.file("hello.txt"), t.file("pic.bmp"), kFileOpRename, kConflictRename),
        t.file("pic1.bmp"));
    EXPECT_FALSE(Exists(t.file("hello.txt")));
    EXPECT_EQ(ReadFile(t.file("pic.bmp")), "pic");
    EXPECT_EQ(ReadFile(t.file("pic1.bmp")), "hello");

    // The counter goes on the base name of the taken target.
    EXPECT_EQ(
        SafeFileOperation(t.file("pic.bmp"), t.file("pic1.bmp"), kFileOpCopy, kConflictRename),
        t.file("pic11.bmp"));
    EXPECT_EQ(ReadFile(t.file("pic11.bmp")), "pic");
    EXPECT_EQ(ReadFile(t.file("pic.bmp")), "pic");
    EXPECT_EQ(
        SafeFileOperation(t.file("pic.bmp"), t.file("pic1.bmp"), kFileOpMove, kConflictRename),
        t.file("pic12.bmp"));
    EXPECT_FALSE(Exists(t.file("pic.bmp")));

    // Replace: the file at the target steps aside to the next free number.
    WriteFile(t.file("123.txt"), "new");
    WriteFile(t.file("test.txt"), "old");
    EXPECT_EQ(
        SafeFileOperation(t.file("123.txt"), t.file("test.txt"), kFileOpRename, kConflictReplace),
        t.file("test.txt"));
    EXPECT_EQ(ReadFile(t.file("test.txt")), "new");
    EXPECT_EQ(ReadFile(t.file("test1.txt")), "old");
    EXPECT_EQ(
        SafeFileOperation(t.file("test1.txt"), t.file("test.txt"), kFileOpCopy, kConflictReplace),
        t.file("test.txt"));
    EXPECT_EQ(ReadFile(t.file("test.txt")), "old");
    EXPECT_EQ(ReadFile(t.file("test1.txt")), "old");
    EXPECT_EQ(ReadFile(t.file("test2.txt")), "new");

    // Unknown kinds copy; unknown modes replace.
    WriteFile(t.file("k.txt"), "k");
    EXPECT_EQ(SafeFileOperation(t.file("k.txt"), t.file("k2.txt"), 0, 0), t.file("k2.txt"));
    EXPECT_EQ(ReadFile(t.file("k.txt")), "k");
    EXPECT_EQ(SafeFileOperation(t.file("k.txt"), t.file("k2.txt"), 7, 9), t.file("k2.txt"));
    EXPECT_EQ(ReadFile(t.file("k21.txt")), "k");  // the earlier copy stepped aside
    // A trailing dot stays in the name.
    EXPECT_EQ(SafeFileOperation(t.file("k.txt"), t.file("k.txt."), kFileOpRename, kConflictRename),
              t.file("k.txt."));
    EXPECT_TRUE(Leftovers(t.path()).isEmpty());
}

TEST(SafeFileOperationTest, NothingDoneReturnsTheSource) {
    TempDir t;
    WriteFile(t.file("a.txt"), "a");
    WriteFile(t.file(".hidden"), "h");
    MakeDir(t.file("dir"));
    const auto before = Tree(t.path());
    struct Case {
        QString source;
        QString target;
    };
    const Case cases[] = {
        {t.file("a.txt"), t.file("a.txt")},          // target is the source
        {t.file("a.txt"), t.file("./a.txt")},        // the same entry by another path
        {t.file("missing.txt"), t.file("b.txt")},    // no source
        {t.file(".hidden"), t.file("b.txt")},        // hidden sources are not items
        {t.file("dir"), t.file("b")},                // a folder is no file
        {t.file("a.txt"), t.file("nowhere/b.txt")},  // target folder missing
        {t.file("a.txt"), t.file("dir/")},           // no file name
        {t.file("a.txt"), t.file("..")},
        {t.file("a.txt"), QString()},
    };
    for (const Case& c : cases) {
        for (int kind : {kFileOpCopy, kFileOpMove, kFileOpRename}) {
            for (int mode : {kConflictRename, kConflictReplace}) {
                EXPECT_EQ(SafeFileOperation(c.source, c.target, kind, mode), c.source)
                    << c.source.toStdString() << " -> " << c.target.toStdString();
            }
        }
    }
    EXPECT_EQ(Tree(t.path()), before);
}

TEST(SafeFileOperationTest, HiddenOrOddTargetsAreConflictsNeverOverwritten) {
    TempDir t;
    WriteFile(t.file(".conf"), "precious");
    WriteFile(t.file("a"), "a");
    EXPECT_EQ(SafeFileOperation(t.file("a"), t.file(".conf"), kFileOpMove, kConflictRename),
              t.file(".conf1"));
    EXPECT_EQ(ReadFile(t.file(".conf")), "precious");
    EXPECT_EQ(ReadFile(t.file(".conf1")), "a");

    WriteFile(t.file("b"), "b");
    EXPECT_EQ(SafeFileOperation(t.file("b"), t.file(".conf"), kFileOpMove, kConflictReplace),
              t.file(".conf"));
    EXPECT_EQ(ReadFile(t.file(".conf")), "b");
    EXPECT_EQ(ReadFile(t.file(".conf2")), "precious");  // .conf1 was taken

    // A folder or a dangling link at the target is kept as well.
    MakeDir(t.file("box"));
    WriteFile(t.file("box/inside"), "in");
    ASSERT_EQ(::symlink("gone", QFile::encodeName(t.file("dangling.txt")).constData()), 0);
    WriteFile(t.file("c.txt"), "c");
    EXPECT_EQ(SafeFileOperation(t.file("c.txt"), t.file("box"), kFileOpCopy, kConflictRename),
              t.file("box1"));
    EXPECT_EQ(ReadFile(t.file("box/inside")), "in");
    EXPECT_EQ(
        SafeFileOperation(t.file("c.txt"), t.file("dangling.txt"), kFileOpMove, kConflictRename),
        t.file("dangling1.txt"));
    EXPECT_EQ(QFileInfo(t.file("dangling.txt")).symLinkTarget(), t.file("gone"));
}

// Both ways of staging a copy: a file without a name, and (where the file system cannot
// make one) a hidden temporary name. Neither shows a real name before the copy is whole.
// A move to another file system copies the same way, then removes the source.
TEST(SafeFileOperationTest, CopyKeepsModeAndTimeAndClaimsTheNameOnlyWhenComplete) {
    for (const auto& [unnamed, kind] : {std::pair{true, kFileOpCopy}, std::pair{false, kFileOpCopy},
                                        std::pair{true, kFileOpMove}}) {
        TempDir t;
        WriteFile(t.file("src.sh"), QByteArray(300000, 'z'));
        SetModeAndMtime(t.file("src.sh"), 0751, 1200000000);
        MakeDir(t.file("out"));
        FaultyFileSystem fs;
        if (!unnamed) fs.failAlways(FsCall::kCreateUnnamed, EOPNOTSUPP);
        if (kind == kFileOpMove) fs.failNth(FsCall::kRenameNoReplace, 1, EXDEV);
        std::vector<std::pair<QString, QByteArray>> whenNamed;
        fs.setBeforeCall([&](FsCall call, const QString&) {
            if (call == FsCall::kLinkNoReplace || call == FsCall::kRenameNoReplace)
                for (const auto& entry : Tree(t.file("out"))) whenNamed.push_back(entry);
        });
        EXPECT_EQ(
            SafeFileOperation(t.file("src.sh"), t.file("out/src.sh"), kind, kConflictRename, &fs),
            t.file("out/src.sh"));
        EXPECT_EQ(Exists(t.file("src.sh")), kind == kFileOpCopy);
        if (kind == kFileOpMove) {
            EXPECT_GE(fs.calls(FsCall::kCopyData), 1);
        }
        const struct stat st = StatOf(t.file("out/src.sh"));
        EXPECT_EQ(st.st_mode & 07777, 0751u);
        EXPECT_EQ(st.st_mtim.tv_sec, 1200000000);
        EXPECT_EQ(st.st_mtim.tv_nsec, 123456789);
        EXPECT_EQ(ReadFile(t.file("out/src.sh")), QByteArray(300000, 'z'));
        EXPECT_TRUE(Leftovers(t.path()).isEmpty());
        EXPECT_EQ(fs.calls(FsCall::kCreateExclusive), unnamed ? 0 : 1);
        // Just before naming: nothing at all (unnamed), or only the hidden whole copy.
        ASSERT_EQ(whenNamed.size(), unnamed ? 0 : 1);
        if (!unnamed) {
            EXPECT_TRUE(whenNamed[0].first.startsWith(QLatin1String(".vandrel-")));
            EXPECT_EQ(whenNamed[0].second, QByteArray(300000, 'z'));
        }
    }
}

TEST(SafeFolderOperationTest, NumberedFoldersAndContentCopies) {
    TempDir t;
    WriteFile(t.file("dir1/a.txt"), "a");
    WriteFile(t.file("dir1/sub/b.txt"), "b");
    WriteFile(t.file("dir2/z.txt"), "z");
    EXPECT_EQ(SafeFolderOperation(t.file("dir1"), t.file("dir2"), kFileOpRename, kConflictRename),
              t.file("dir21"));
    EXPECT_FALSE(Exists(t.file("dir1")));
    EXPECT_EQ(ReadFile(t.file("dir21/sub/b.txt")), "b");

    EXPECT_EQ(SafeFolderOperation(t.file("dir21"), t.file("dir2"), kFileOpCopy, kConflictRename),
              t.file("dir22"));
    EXPECT_EQ(Tree(t.file("dir22")), Tree(t.file("dir21")));
    EXPECT_EQ(SafeFolderOperation(t.file("dir21"), t.file("dir2"), kFileOpMove, kConflictRename),
              t.file("dir23"));
    EXPECT_FALSE(Exists(t.file("dir21")));
    EXPECT_EQ(ReadFile(t.file("dir2/z.txt")), "z");

    // Replace: the folder at the target steps aside.
    EXPECT_EQ(SafeFolderOperation(t.file("dir23"), t.file("dir2"), kFileOpMove, kConflictReplace),
              t.file("dir2"));
    EXPECT_EQ(ReadFile(t.file("dir2/a.txt")), "a");
    EXPECT_EQ(ReadFile(t.file("dir21/z.txt")), "z");  // dir21 became free again

    // Trailing dot and trailing slash.
    EXPECT_EQ(SafeFolderOperation(t.file("dir22/"), t.file("dirdottest."), kFileOpRename,
                                  kConflictRename),
              t.file("dirdottest."));
    EXPECT_EQ(ReadFile(t.file("dirdottest./a.txt")), "a");

    // An empty folder copies to an empty folder.
    MakeDir(t.file("empty"));
    EXPECT_EQ(SafeFolderOperation(t.file("empty"), t.file("e"), kFileOpCopy, kConflictRename),
              t.file("e"));
    EXPECT_TRUE(QFileInfo(t.file("e")).isDir());
    EXPECT_TRUE(Leftovers(t.path()).isEmpty());
}

TEST(SafeFolderOperationTest, RefusesToCopyOrMoveIntoItselfAndOddSources) {
    TempDir t;
    WriteFile(t.file("d/a.txt"), "a");
    WriteFile(t.file("file.txt"), "f");
    MakeDir(t.file(".hidden"));
    const auto before = Tree(t.path());
    const std::pair<const char*, const char*> cases[] = {
        {"d", "d/inner"}, {"d", "d/../d/x/y"}, {"file.txt", "x"}, {".hidden", "x"}, {"none", "x"}};
    for (int kind : {kFileOpCopy, kFileOpMove, kFileOpRename})
        for (const auto& [src, dst] : cases)
            EXPECT_EQ(SafeFolderOperation(t.file(src), t.file(dst), kind, kConflictRename),
                      t.file(src))
                << src << " -> " << dst;
    EXPECT_EQ(Tree(t.path()), before);
}

TEST(SafeFolderOperationTest, CopySkipsFifosWithoutOpeningThem) {
    TempDir t;
    WriteFile(t.file("d/a.txt"), "a");
    ASSERT_EQ(::mkfifo(QFile::encodeName(t.file("d/pipe")).constData(), 0600), 0);
    ASSERT_EQ(::symlink("a.txt", QFile::encodeName(t.file("d/link")).constData()), 0);
    // A FIFO opened for reading would block this test forever.
    EXPECT_EQ(SafeFolderOperation(t.file("d"), t.file("c"), kFileOpCopy, kConflictRename),
              t.file("c"));
    EXPECT_EQ(ReadFile(t.file("c/a.txt")), "a");
    EXPECT_FALSE(Exists(t.file("c/pipe")));
    EXPECT_EQ(QFileInfo(t.file("c/link")).symLinkTarget(), t.file("c/a.txt"));
}

TEST(MakeFolderPathTest, CreatesChainsAndFailsCleanly) {
    TempDir t;
    const QString deep = t.file("dir1/1/22/333/4444");
    EXPECT_EQ(MakeFolderPath(deep), deep);
    EXPECT_TRUE(QFileInfo(deep).isDir());
    EXPECT_EQ(MakeFolderPath(deep), deep);  // already there
    EXPECT_EQ(MakeFolderPath(t.file(".config/app")), t.file(".config/app"));
    WriteFile(t.file("plain"), "p");
    EXPECT_EQ(MakeFolderPath(t.file("plain")), QString());
    EXPECT_EQ(MakeFolderPath(t.file("plain/sub")), QString());
    EXPECT_EQ(MakeFolderPath(QStringLiteral("relative/path")), QString());
    EXPECT_EQ(MakeFolderPath(QString()), QString());

    FaultyFileSystem fs;
    fs.failAlways(FsCall::kMakeFolder, EACCES);
    EXPECT_EQ(MakeFolderPath(t.file("denied/x"), &fs), QString());
    EXPECT_FALSE(Exists(t.file("denied")));
}

// A process killed in the middle of a copy (data written, not yet named) leaves nothing
// in the target folder when copies wait unnamed; with the hidden temporary name only that
// hidden name can remain. Either way no real name holds a partial file.
TEST(SafeFileOperationTest, KilledMidCopyLeavesNoPartialFile) {
    for (const bool unnamed : {true, false}) {
        TempDir t;
        WriteFile(t.file("src/a.txt"), QByteArray(200000, 'k'));
        MakeDir(t.file("dst"));
        const pid_t pid = ::fork();
        if (pid == 0) {
            FaultyFileSystem fs;
            if (!unnamed) fs.failAlways(FsCall::kCreateUnnamed, EOPNOTSUPP);
            fs.setBeforeCall([](FsCall call, const QString&) {
                if (call == FsCall::kKeepMode) ::kill(::getpid(), SIGKILL);
            });
            (void)SafeFileOperation(t.file("src/a.txt"), t.file("dst/a.txt"), kFileOpCopy,
                                    kConflictRename, &fs);
            ::_exit(0);  // not reached when the kill happened
        }
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        const auto left = Tree(t.file("dst"));
        if (unnamed) {
            EXPECT_TRUE(left.empty());
        } else {
            ASSERT_EQ(left.size(), 1u);
            EXPECT_TRUE(left.begin()->first.startsWith(QLatin1String(".vandrel-")));
        }
        EXPECT_EQ(ReadFile(t.file("src/a.txt")), QByteArray(200000, 'k'));
    }
}

// Failures must return the source, leave it intact and leave no partial copy behind,
// whether copies are staged without a name or under a hidden temporary one.
TEST(SafeFileOperationTest, InjectedFailuresReturnTheSourceIntact) {
    enum Staging { kEither, kNamedOnly, kUnnamedOnly };
    struct Case {
        const char* what;
        int kind;
        int mode;
        FsCall call;
        int n;
        int error;
        bool crossDevice;  // make the move's first rename fail with EXDEV
        Staging staging;   // the way of staging the case applies to
    };
    constexpr int C = kFileOpCopy, M = kFileOpMove, R = kConflictRename, X = kConflictReplace;
    using F = FsCall;
    const Case cases[] = {
        {"copy: disk full while copying", C, R, F::kCopyData, 1, ENOSPC, false, kEither},
        {"cross-device move: flush fails", M, R, F::kSyncFile, 1, EIO, true, kEither},
        {"copy: temp not creatable", C, R, F::kCreateExclusive, 1, EACCES, false, kNamedOnly},
        {"copy: final rename refused", C, R, F::kRenameNoReplace, 1, EACCES, false, kNamedOnly},
        {"copy: naming refused", C, R, F::kLinkNoReplace, 1, EACCES, false, kUnnamedOnly},
        {"move: rename refused", M, R, F::kRenameNoReplace, 1, EACCES, false, kEither},
        {"move: replace, rename refused", M, X, F::kRenameNoReplace, 2, EACCES, false, kEither},
        {"copy: replace, rename refused", C, X, F::kRenameNoReplace, 2, EACCES, false, kNamedOnly},
        {"copy: replace, naming refused", C, X, F::kLinkNoReplace, 1, EACCES, false, kUnnamedOnly},
        {"cross-device move: disk full", M, R, F::kCopyData, 1, ENOSPC, true, kEither},
        {"cross-device move: naming refused", M, R, F::kLinkNoReplace, 1, EIO, true, kUnnamedOnly},
        {"cross-device move: source not removable", M, R, F::kRemoveFile, 1, EACCES, true, kEither},
        {"cross-device replace: disk full", M, X, F::kCopyData, 1, ENOSPC, true, kEither},
        {"source unreadable", C, R, F::kOpenRead, 1, EACCES, false, kEither},
    };
    for (const bool unnamed : {true, false}) {
        for (const Case& c : cases) {
            if (c.staging == (unnamed ? kNamedOnly : kUnnamedOnly)) continue;
            const std::string what = std::string(c.what) + (unnamed ? " (unnamed)" : " (named)");
            TempDir t;
            WriteFile(t.file("src/a.txt"), QByteArray(100000, 's'));
            WriteFile(t.file("dst/a.txt"), "already here");
            const auto before = Tree(t.path());
            FaultyFileSystem fs;
            if (!unnamed) fs.failAlways(FsCall::kCreateUnnamed, EOPNOTSUPP);
            if (c.crossDevice)
                fs.failNth(FsCall::kRenameNoReplace,
                           c.kind == kFileOpMove && c.mode == kConflictReplace ? 2 : 1, EXDEV);
            fs.failNth(c.call, c.n, c.error);
            EXPECT_EQ(
                SafeFileOperation(t.file("src/a.txt"), t.file("dst/a.txt"), c.kind, c.mode, &fs),
                t.file("src/a.txt"))
                << what;
            EXPECT_EQ(Tree(t.path()), before) << what;
            EXPECT_TRUE(Leftovers(t.path()).isEmpty()) << what;
            EXPECT_EQ(fs.calls(c.call) >= c.n, true) << what << ": the failure was not reached";
        }
    }
}

TEST(SafeFolderOperationTest, InjectedFailuresInTreeCopiesLeaveNoTrace) {
    struct Case {
        const char* what;
        int kind;
        FsCall call;
        int n;  // 0: every call on the original fails
        int error;
    };
    const Case cases[] = {
        {"copy: third file fails", kFileOpCopy, FsCall::kCopyData, 3, ENOSPC},
        {"copy: subfolder not creatable", kFileOpCopy, FsCall::kMakeFolder, 2, EACCES},
        {"copy: final rename refused", kFileOpCopy, FsCall::kRenameNoReplace, 1, EACCES},
        {"cross-device move: third file fails", kFileOpMove, FsCall::kCopyData, 3, ENOSPC},
        {"cross-device move: source not removable", kFileOpMove, FsCall::kRemoveFile, 0, EACCES},
    };
    for (const Case& c : cases) {
        TempDir t;
        WriteFile(t.file("src/d/a.txt"), "a");
        WriteFile(t.file("src/d/b.txt"), "b");
        WriteFile(t.file("src/d/sub/c.txt"), "c");
        WriteFile(t.file("src/d/sub/deeper/e.txt"), "e");
        MakeDir(t.file("dst"));
        const auto before = Tree(t.path());
        FaultyFileSystem fs;
        if (c.kind == kFileOpMove) fs.failNth(FsCall::kRenameNoReplace, 1, EXDEV);
        if (c.n == 0)  // only the original refuses; the copy can still be taken back
            fs.failWhere(
                c.call, [&](const QString& p) { return p.startsWith(t.file("src")); }, c.error);
        else
            fs.failNth(c.call, c.n, c.error);
        EXPECT_EQ(
            SafeFolderOperation(t.file("src/d"), t.file("dst/d"), c.kind, kConflictRename, &fs),
            t.file("src/d"))
            << c.what;
        EXPECT_EQ(Tree(t.path()), before) << c.what;
    }
}

// Once part of the original is gone, the complete copy is the item: it stays, and what
// could not be removed of the original stays too.
TEST(SafeFolderOperationTest, CrossDeviceMoveWithPartlyRemovableSourceKeepsTheCopy) {
    TempDir t;
    WriteFile(t.file("src/d/a.txt"), "a");
    WriteFile(t.file("src/d/sub/b.txt"), "b");
    MakeDir(t.file("dst"));
    const auto before = Tree(t.file("src/d"));
    FaultyFileSystem fs;
    fs.failNth(FsCall::kRenameNoReplace, 1, EXDEV);
    fs.failNth(FsCall::kRemoveFile, 1, EACCES);
    EXPECT_EQ(
        SafeFolderOperation(t.file("src/d"), t.file("dst/d"), kFileOpMove, kConflictRename, &fs),
        t.file("dst/d"));
    EXPECT_EQ(Tree(t.file("dst/d")), before);
    int filesLeft = 0;
    for (const auto& [rel, content] : Tree(t.file("src/d")))
        filesLeft += rel.endsWith(QLatin1Char('/')) ? 0 : 1;
    EXPECT_EQ(filesLeft, 1);
}

TEST(SafeFolderOperationTest, CrossDeviceMoveRefusesToDropSpecialFiles) {
    TempDir t;
    WriteFile(t.file("src/d/a.txt"), "a");
    ASSERT_EQ(::mkfifo(QFile::encodeName(t.file("src/d/pipe")).constData(), 0600), 0);
    MakeDir(t.file("dst"));
    FaultyFileSystem fs;
    fs.failNth(FsCall::kRenameNoReplace, 1, EXDEV);
    EXPECT_EQ(
        SafeFolderOperation(t.file("src/d"), t.file("dst/d"), kFileOpMove, kConflictRename, &fs),
        t.file("src/d"));
    EXPECT_TRUE(Exists(t.file("src/d/pipe")));
    EXPECT_TRUE(Tree(t.file("dst")).empty());
}

// A name taken between the check and the move: Rename takes the next number, Replace
// moves the newcomer aside as well. Nothing is overwritten either way.
TEST(SafeFileOperationTest, TargetAppearingMidOperationIsNotOverwritten) {
    for (int mode : {kConflictRename, kConflictReplace}) {
        for (int kind : {kFileOpMove, kFileOpCopy}) {
            TempDir t;
            WriteFile(t.file("a.txt"), "mine");
            MakeDir(t.file("dst"));
            FaultyFileSystem fs;
            bool raced = false;
            fs.setBeforeCall([&](FsCall call, const QString& path) {
                const bool naming =
                    call == FsCall::kRenameNoReplace || call == FsCall::kLinkNoReplace;
                if (naming && path == t.file("dst/a.txt") && !raced) {
                    raced = true;
                    WriteFile(t.file("dst/a.txt"), "theirs");
                }
            });
            const QString got =
                SafeFileOperation(t.file("a.txt"), t.file("dst/a.txt"), kind, mode, &fs);
            ASSERT_TRUE(raced);
            if (mode == kConflictRename) {
                EXPECT_EQ(got, t.file("dst/a1.txt"));
                EXPECT_EQ(ReadFile(t.file("dst/a.txt")), "theirs");
            } else {
                EXPECT_EQ(got, t.file("dst/a.txt"));
                EXPECT_EQ(ReadFile(t.file("dst/a1.txt")), "theirs");
            }
            EXPECT_EQ(ReadFile(got), "mine");
            EXPECT_EQ(Exists(t.file("a.txt")), kind == kFileOpCopy);
        }
    }
}

// The source disappears after the checks, or is written to while it is being copied (also
// for a move to another file system): nothing is reported as done, nothing is left.
TEST(SafeFileOperationTest, SourceVanishingOrChangingMidOperationReturnsTheSource) {
    const struct {
        int kind;
        bool crossDevice;
        FsCall when;
        bool grow;  // append to the source instead of removing it
    } cases[] = {
        {kFileOpCopy, false, FsCall::kOpenRead, false},
        {kFileOpMove, false, FsCall::kRenameNoReplace, false},
        {kFileOpRename, false, FsCall::kRenameNoReplace, false},
        {kFileOpCopy, false, FsCall::kCopyData, true},
        {kFileOpMove, true, FsCall::kCopyData, true},
    };
    for (const auto& c : cases) {
        TempDir t;
        WriteFile(t.file("a.txt"), QByteArray(5000, 'a'));
        MakeDir(t.file("dst"));
        FaultyFileSystem fs;
        if (c.crossDevice) fs.failNth(FsCall::kRenameNoReplace, 1, EXDEV);
        fs.setBeforeCall([&](FsCall call, const QString&) {
            QFile f(t.file("a.txt"));
            if (call != c.when) return;
            if (c.grow && f.open(QIODevice::Append)) f.write("more");
            if (!c.grow) f.remove();
        });
        const std::string what = std::to_string(c.kind) + (c.grow ? " grow" : " vanish");
        EXPECT_EQ(
            SafeFileOperation(t.file("a.txt"), t.file("dst/a.txt"), c.kind, kConflictRename, &fs),
            t.file("a.txt"))
            << what;
        EXPECT_TRUE(Tree(t.file("dst")).empty()) << what;
        EXPECT_EQ(ReadFile(t.file("a.txt")).size(), c.grow ? 5004 : 0) << what;
    }
}

QByteArray Hash(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// 1,000 moves onto one name while another thread grabs the numbered names as fast as it
// can: every byte of every file must still be somewhere, nothing replaced.
TEST(SafeFileOperationTest, RacingCreatorLosesNothing) {
    for (int mode : {kConflictRename, kConflictReplace}) {
        TempDir t;
        MakeDir(t.file("dst"));
        constexpr int kFiles = 1000;
        std::multiset<QByteArray> expected;
        for (int i = 0; i < kFiles; ++i) {
            const QByteArray content = "source " + QByteArray::number(i);
            WriteFile(t.file(QStringLiteral("src/f%1.txt").arg(i)), content);
            expected.insert(Hash(content));
        }
        std::atomic<bool> stop{false};
        std::atomic<int> created{0};
        // After every other move the racer claims the first free name, the very one the
        // next move is choosing, at a random moment, so the two keep running into each
        // other over the whole batch.
        std::atomic<int> done{0};
        std::thread racer([&] {
            int low = 0;
            int seen = 0;
            std::mt19937 random(42);
            while (!stop.load()) {
                if (done.load() < seen + 2) {
                    std::this_thread::yield();
                    continue;
                }
                seen = done.load();
                std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
                for (int n = low;; ++n) {
                    const QString name = n == 0 ? t.file("dst/item.txt")
                                                : t.file(QStringLiteral("dst/item%1.txt").arg(n));
                    const int fd = ::open(QFile::encodeName(name).constData(),
                                          O_WRONLY | O_CREAT | O_EXCL, 0644);
                    if (fd < 0) continue;
                    const QByteArray content = "racer " + QByteArray::number(created.fetch_add(1));
                    EXPECT_EQ(::write(fd, content.constData(), content.size()), content.size());
                    ::close(fd);
                    low = n;
                    break;
                }
            }
        });
        FaultyFileSystem fs;  // passes everything through
        QStringList results;
        for (int i = 0; i < kFiles; ++i) {
            results << SafeFileOperation(t.file(QStringLiteral("src/f%1.txt").arg(i)),
                                         t.file("dst/item.txt"), kFileOpMove, mode, &fs);
            done = i + 1;
        }
        stop = true;
        racer.join();
        for (int i = 0; i < created.load(); ++i)
            expected.insert(Hash("racer " + QByteArray::number(i)));
        std::multiset<QByteArray> found;
        for (const auto& [rel, content] : Tree(t.file("dst"))) found.insert(Hash(content));
        EXPECT_EQ(found, expected) << "mode " << mode;
        EXPECT_TRUE(Tree(t.file("src")).empty());
        // Every result names a file in dst (Replace results may since have stepped aside).
        for (const QString& r : results)
            EXPECT_TRUE(r.startsWith(t.file("dst/item"))) << r.toStdString();
        EXPECT_GT(created.load(), 10);  // the racer really did take names
        if (mode == kConflictRename) {
            QSet<QString> unique(results.begin(), results.end());
            EXPECT_EQ(unique.size(), kFiles);
            for (int i = 0; i < kFiles; ++i)
                EXPECT_EQ(ReadFile(results[i]), "source " + QByteArray::number(i));
        }
    }
}

// A folder on another file system: /dev/shm is a tmpfs on most machines.
QString OtherDevice(const QString& than) {
    const QString shm = QStringLiteral("/dev/shm");
    if (!QFileInfo(shm).isDir() || !QFileInfo(shm).isWritable()) return QString();
    if (StatOf(shm).st_dev == StatOf(than).st_dev) return QString();
    return shm;
}

// (A single file's move across file systems is the injected-EXDEV case of the copy test.)
TEST(CrossDeviceTest, MovesFolderTreeKeepingModeAndTime) {
    TempDir t;
    const QString other = OtherDevice(t.path());
    if (other.isEmpty()) GTEST_SKIP() << "no second file system (/dev/shm) to move across";
    QTemporaryDir otherDir(other + QStringLiteral("/vandrel-test-XXXXXX"));
    ASSERT_TRUE(otherDir.isValid());
    const QString dst = otherDir.path();

    WriteFile(t.file("tree/big.bin"), QByteArray(3 * 1024 * 1024 + 7, 'b'));
    WriteFile(t.file("tree/a.txt"), "a");
    WriteFile(t.file("tree/sub/b.txt"), "b");
    WriteFile(t.file("tree/sub/deep/c.sh"), "c");
    ASSERT_EQ(::symlink("../a.txt", QFile::encodeName(t.file("tree/sub/link")).constData()), 0);
    SetModeAndMtime(t.file("tree/sub/deep/c.sh"), 0755, 1000000000);
    SetModeAndMtime(t.file("tree/sub"), 0750, 1000000001);
    const auto before = Tree(t.file("tree"));
    WriteFile(dst + "/tree/taken.txt", "taken");
    EXPECT_EQ(SafeFolderOperation(t.file("tree"), dst + "/tree", kFileOpMove, kConflictRename),
              dst + "/tree1");
    EXPECT_FALSE(Exists(t.file("tree")));
    EXPECT_EQ(Tree(dst + "/tree1"), before);
    EXPECT_EQ(ReadFile(dst + "/tree/taken.txt"), "taken");
    EXPECT_EQ(StatOf(dst + "/tree1/sub/deep/c.sh").st_mode & 07777, 0755u);
    EXPECT_EQ(StatOf(dst + "/tree1/sub/deep/c.sh").st_mtim.tv_sec, 1000000000);
    EXPECT_EQ(StatOf(dst + "/tree1/sub").st_mode & 07777, 0750u);
    EXPECT_EQ(StatOf(dst + "/tree1/sub").st_mtim.tv_sec, 1000000001);
    EXPECT_EQ(QFileInfo(dst + "/tree1/sub/link").symLinkTarget(), dst + "/tree1/a.txt");
    EXPECT_TRUE(Leftovers(dst).isEmpty());
}

TEST(CrossDeviceTest, CopyOrMoveIntoAFullDiskLeavesTheSourceAndNoPartialFile) {
    TempDir t;
    test::SmallTmpfs disk(t.file("tiny"));
    if (!disk.mounted()) GTEST_SKIP() << "cannot mount a small tmpfs (needs root)";
    const QByteArray big(1024 * 1024, 'x');
    WriteFile(t.file("big.bin"), big);
    WriteFile(t.file("tree/small.txt"), "small");
    WriteFile(t.file("tree/big.bin"), big);
    for (int kind : {kFileOpCopy, kFileOpMove}) {
        EXPECT_EQ(
            SafeFileOperation(t.file("big.bin"), t.file("tiny/big.bin"), kind, kConflictRename),
            t.file("big.bin"));
        EXPECT_EQ(ReadFile(t.file("big.bin")), big);
        EXPECT_EQ(SafeFolderOperation(t.file("tree"), t.file("tiny/tree"), kind, kConflictRename),
                  t.file("tree"));
        EXPECT_EQ(ReadFile(t.file("tree/big.bin")), big);
        EXPECT_EQ(ReadFile(t.file("tree/small.txt")), "small");
        EXPECT_TRUE(QDir(t.file("tiny"))
                        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                        .isEmpty());
    }
    // What fits still goes.
    WriteFile(t.file("fits.txt"), "fits");
    EXPECT_EQ(SafeFileOperation(t.file("fits.txt"), t.file("tiny/fits.txt"), kFileOpMove,
                                kConflictRename),
              t.file("tiny/fits.txt"));
    EXPECT_EQ(ReadFile(t.file("tiny/fits.txt")), "fits");
}

}  // namespace
}  // namespace vandrel
