// A failure deep in the engine reaches the user with its reason: a full disk during a
// copy through the command line, and during a quick move (told through the result the
// basket shows).
#include <gtest/gtest.h>

#include <QDir>
#include <cerrno>

#include "basket/quick_folder_list.h"
#include "platform/faulty_file_system.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

QString Q(const char* s) { return QString::fromUtf8(s); }

TEST(ErrorPath, FullDiskDuringCopyThroughApplyPrintsTheReasonOnceAndExits1) {
    test::Cli cli;
    const QString full = cli.tmp.file(Q("full"));
    test::SmallTmpfs disk(full);
    if (!disk.mounted()) GTEST_SKIP() << "a small file system needs root";
    const QString big = cli.tmp.file(Q("in/big.bin"));
    ASSERT_TRUE(test::WriteFile(big, QByteArray(200000, 'x')));
    ASSERT_TRUE(cli.writeRules({Q("R<|RU|>All<|RU|>Extension<|CP|>is<|CD|>bin<|RU|>Copy to<|AP|>") +
                                full + Q("<|AC|>0<|AC|><|AC|>1<|RU|>")}));
    const auto r = cli.run({Q("apply"), big});
    EXPECT_EQ(r.exitCode, 1);
    // One line, naming the item, the action and the reason; no second report of it.
    EXPECT_EQ(r.err.count(Q("No space left on device")), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(big) && r.err.contains(Q("Copy to"))) << r.err.toStdString();
    EXPECT_EQ(test::ReadFile(big).size(), 200000);
    EXPECT_TRUE(
        QDir(full).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

TEST(ErrorPath, QuickMoveToAFullDiskTellsWhy) {
    test::TempDir tmp;
    const QString item = tmp.file(Q("in/a.txt")), folder = tmp.file(Q("out"));
    ASSERT_TRUE(test::WriteFile(item, "a") && test::MakeDir(folder));
    test::FaultyFileSystem fs;
    fs.failAlways(test::FsCall::kRenameNoReplace, EXDEV);  // another file system: copy, then remove
    fs.failAlways(test::FsCall::kCopyData, ENOSPC);
    const auto results = QuickFolderList::MoveItems(folder, {item}, nullptr, &fs);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_FALSE(results[0].moved());
    EXPECT_TRUE(results[0].problem.contains(Q("No space left on device")))
        << results[0].problem.toStdString();
    EXPECT_EQ(test::ReadFile(item), "a");
}

}  // namespace
}  // namespace vandrel
