// Moves to another file system (an injected EXDEV) that change under way, leftovers of
// killed copies, and drives that refuse permission bits.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include "actions/module_file_op.h"
#include "platform/faulty_file_system.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::FaultyFileSystem;
using test::FsCall;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

void SetMtime(const QString& path, time_t mtime) {
    const timespec times[2] = {{mtime, 0}, {mtime, 0}};
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

// "relative path=content" of every file below root, sorted.
QStringList Files(const QString& root) {
    QStringList out;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        out << QDir(root).relativeFilePath(p) + "=" + ReadFile(p);
    }
    out.sort();
    return out;
}

// The change comes once the copy has its name, before the source is removed (at the flush
// of the target folder), or else at the first removal of one of a folder's files.
TEST(CrossDeviceMoveTest, SourceChangedDuringTheMoveIsNeverRemoved) {
    enum { kFolder = 1, kReplace = 2, kAtRemoval = 4 };  // kReplace: Replace, target taken
    // change: "~" replaces the file by write then rename, "*" writes to the folder's file
    // that is not being removed, else the file written to in place (same size) or created.
    const struct {
        const char* what;
        int flags;
        QString change;
        QStringList left;  // in src/ afterwards; empty: only the changed file
    } cases[] = {
        {"file replaced by write then rename", 0, "~", {"a.txt.old=old.", "a.txt=new!"}},
        {"file changed in place", kReplace, "", {"a.txt=new!"}},
        {"folder gains a file",
         kFolder,
         "/sub/c",
         {"d/a.txt=old.", "d/sub/b.txt=old.", "d/sub/c=new!"}},
        {"folder file changed",
         kFolder | kReplace,
         "/sub/b.txt",
         {"d/a.txt=old.", "d/sub/b.txt=new!"}},
        {"folder file changed between removals", kFolder | kAtRemoval, "*", {}},
    };
    for (const auto& c : cases) {
        const bool folder = c.flags & kFolder, replace = c.flags & kReplace;
        TempDir t;
        const QString src = t.file(folder ? "src/d" : "src/a.txt");
        const QString dst = t.file(folder ? "dst/d" : "dst/a.txt");
        for (const QString& f :
             folder ? QStringList{src + "/a.txt", src + "/sub/b.txt"} : QStringList{src}) {
            WriteFile(f, "old.");
            SetMtime(f, 1300000000);  // a write now is sure to move the time
        }
        QDir().mkpath(t.file("dst"));
        if (replace) WriteFile(dst, "there");
        FaultyFileSystem fs;  // the item's own first rename meets another file system
        fs.failWhere(
            FsCall::kRenameNoReplace,
            [&, n = 0](const QString& p) mutable { return p == dst && n++ == 0; }, EXDEV);
        QString changed;
        fs.setBeforeCall([&](FsCall call, const QString& path) {
            if (!changed.isEmpty() ||
                call != (c.flags & kAtRemoval ? FsCall::kRemoveFile : FsCall::kSyncFolder) ||
                (call == FsCall::kSyncFolder && path != t.file("dst")))
                return;
            changed = c.change == "*" ? src + (path.endsWith("a.txt") ? "/sub/b.txt" : "/a.txt")
                                      : src + c.change;
            if (c.change == "~") {
                WriteFile(src + ".tmp", "new!");
                EXPECT_TRUE(QDir().rename(src, src + ".old") && QDir().rename(src + ".tmp", src));
            } else {
                QFile f(changed);
                EXPECT_TRUE(f.open(QIODevice::ReadWrite) && f.write("new!") == 4);
            }
        });
        const int mode = replace ? kConflictReplace : kConflictRename;
        const FsResult<QString> r = folder
                                        ? TrySafeFolderOperation(src, dst, kFileOpMove, mode, &fs)
                                        : TrySafeFileOperation(src, dst, kFileOpMove, mode, &fs);
        EXPECT_EQ(r.status().error(), EBUSY) << c.what;
        const QString changedRel = changed.mid(t.file("src/").size()) + "=new!";
        EXPECT_EQ(Files(t.file("src")), c.left.isEmpty() ? QStringList{changedRel} : c.left)
            << c.what;
        // The target holds what it held, or the complete copy where part of the source went.
        const QStringList target =
            c.flags & kAtRemoval ? QStringList{"d/a.txt=old.", "d/sub/b.txt=old."} : QStringList{};
        EXPECT_EQ(Files(t.file("dst")),
                  replace ? QStringList{dst.mid(t.file("dst/").size()) + "=there"} : target)
            << c.what;
    }
}

TEST(StagingLeftoversTest, RemovedOnlyWhenNoLivingProcessHoldsThem) {
    TempDir t;
    const QString dead = ".vandrel-2147483646-";  // above any pid_max
    const struct {
        QString name;
        bool locked, dayOld, removed;
    } cases[] = {
        {dead + "k1.part", false, false, true},
        {".vandrel-" + QString::number(::getpid()) + "-k2.part", false, false, false},
        {dead + "k3.part", true, false, false},  // held in another pid namespace
        {".vandrel-k4.part", false, false, false},
        {".vandrel-k5.part", false, true, true},  // of the older kind, a day old
        {dead + "K6.part", false, false, false},
    };
    std::vector<int> locks;
    for (const auto& c : cases) {
        WriteFile(t.file("dst/" + c.name + "/sub/part"), "partial");
        if (c.dayOld) SetMtime(t.file("dst/" + c.name), ::time(nullptr) - 2 * 24 * 3600);
        if (c.locked)
            locks.push_back(DefaultFileSystem().lockEntry(t.file("dst/" + c.name)).value());
    }
    EXPECT_EQ(RemoveStagingLeftovers(t.file("dst")), 2);
    for (const auto& c : cases)
        EXPECT_EQ(QFileInfo::exists(t.file("dst/" + c.name)), !c.removed) << c.name.toStdString();
    for (int fd : locks) ::close(fd);

    // A copy into a folder clears it of leftovers first.
    WriteFile(t.file("in/x.txt"), "x");
    WriteFile(t.file("out/" + dead + "k7.part"), "partial");
    EXPECT_TRUE(
        TrySafeFileOperation(t.file("in/x.txt"), t.file("out/x.txt"), kFileOpCopy, kConflictRename)
            .ok());
    EXPECT_EQ(Files(t.file("out")), QStringList{"x.txt=x"});
}

// FAT and exFAT refuse permission bits: copies and moves still go and keep the time.
TEST(RemovableDriveTest, RefusedModeIsBestEffortButTimesCount) {
    const struct {
        const char* what;
        bool folder;
        int kind;
        FsCall call;
        int error;
        bool ok;
    } cases[] = {
        {"file copy", false, kFileOpCopy, FsCall::kKeepMode, EPERM, true},
        {"folder move", true, kFileOpMove, FsCall::kKeepFolderMode, EOPNOTSUPP, true},
        {"times refused", false, kFileOpMove, FsCall::kKeepTimes, EPERM, false},
        {"mode I/O error", true, kFileOpCopy, FsCall::kKeepFolderMode, EIO, false},
    };
    for (const auto& c : cases) {
        TempDir t;
        const QString item = c.folder ? "/d" : "/a.txt", file = c.folder ? "/d/a.txt" : "/a.txt";
        WriteFile(t.file("src" + file), "data");
        SetMtime(t.file("src" + file), 1200000000);
        QDir().mkpath(t.file("dst"));
        FaultyFileSystem fs;
        if (c.kind == kFileOpMove) fs.failNth(FsCall::kRenameNoReplace, 1, EXDEV);
        fs.failAlways(FsCall::kKeepMode, c.error == EIO ? 0 : c.error);
        fs.failAlways(c.call, c.error);
        const auto op = c.folder ? TrySafeFolderOperation : TrySafeFileOperation;
        EXPECT_EQ(op(t.file("src") + item, t.file("dst") + item, c.kind, kConflictRename, &fs).ok(),
                  c.ok)
            << c.what;
        const QStringList data{file.mid(1) + "=data"};
        EXPECT_EQ(Files(t.file("src")), c.ok && c.kind == kFileOpMove ? QStringList{} : data);
        EXPECT_EQ(Files(t.file("dst")), c.ok ? data : QStringList{}) << c.what;
        EXPECT_TRUE(!c.ok ||
                    QFileInfo(t.file("dst" + file)).lastModified().toSecsSinceEpoch() == 1200000000)
            << c.what;
    }
}

}  // namespace
}  // namespace vandrel
