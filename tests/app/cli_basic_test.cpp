// The command line end to end through the real binary: usage, bad arguments of every
// command, the data folder, test and rules list.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "support/test_util.h"

namespace vandrel {
namespace {

using test::Cli;
using test::WriteFile;

// Every command refuses bad arguments with one line on stderr and status 2, and an item
// or file it cannot use with status 1; nothing goes to stdout either way.
TEST(CliBasic, BadArgumentsAndUnusableItems) {
    Cli cli;
    const QString dir = cli.folder("dir");
    const QString file = cli.tmp.file("dir/file.txt");
    ASSERT_TRUE(WriteFile(file, "x"));
    const QString missing = cli.tmp.file("missing");
    struct Row {
        QStringList args;
        int exit;
        const char* err = "";
    };
    const Row rows[] = {
        {{"frobnicate"}, 2},
        {{"test"}, 2},
        {{"test", "--bogus", "/x"}, 2},
        {{"test", "--yes", file}, 2},  // --yes belongs to the commands that act
        {{"rules", "shuffle"}, 2},
        {{"rules", "import"}, 2},
        {{"rules", "export", "a", "b"}, 2},
        {{"rules", "export", dir}, 1},
        {{"rules", "import", "--yes", missing}, 1},
        {{"log", "--page", "0"}, 2},
        {{"log", "--page", "two"}, 2},
        {{"log", "--page="}, 2},
        {{"log", "--page"}, 2},
        {{"log", "--bogus"}, 2},
        {{"log", "one", "two"}, 2},
        {{"attr", "size", dir}, 2, "unknown attribute 'size'"},
        {{"attr"}, 2},
        {{"attr", "name", "a", "b"}, 2},
        {{"tags"}, 2},
        {{"tags", missing}, 1},
        {{"tags", dir}, 1},
        {{"folders", "add", missing}, 2},
        {{"folders", "add", file}, 2},
        {{"folders", "add", dir, "--every", "3"}, 2},
        {{"folders", "add", dir, "--at", "24:00"}, 2},
        {{"folders", "add", dir, "--at", "12:60"}, 2},
        {{"folders", "add", dir, "--at", "noon"}, 2},
        {{"folders", "add", dir, "--every", "1", "--at", "10:00"}, 2},
        {{"folders", "add", dir, "--rules", "0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C2D"}, 2},
        {{"folders", "add", dir, "--bogus"}, 2},
        {{"folders", "add"}, 2},
        {{"folders", "frobnicate"}, 2},
        {{"folders", "remove", dir}, 2, "not a watched folder"},
        {{"organize", missing}, 2},
        {{"daemon", "--interval-seconds", "0"}, 2},
    };
    for (const Row& row : rows) {
        const std::string what = row.args.join(' ').toStdString();
        const auto r = cli.run(row.args);
        EXPECT_EQ(r.exitCode, row.exit) << what;
        EXPECT_TRUE(r.out.isEmpty()) << what << ": " << r.out.toStdString();
        EXPECT_TRUE(r.err.startsWith("vandrel: ")) << what << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(row.err)) << what << ": " << r.err.toStdString();
        if (row.exit == 2) {
            EXPECT_EQ(r.err.count('\n'), 1) << what << ": " << r.err.toStdString();
        }
    }
    // Nothing of it reached the state files.
    EXPECT_FALSE(QFile::exists(cli.data + "/folders.txt"));
    EXPECT_FALSE(QFile::exists(cli.data + "/rules.txt"));

    auto r = test::RunVandrel({}, cli.home);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("usage: vandrel")) << r.err.toStdString();
    r = test::RunVandrel({"--data-dir"}, cli.home);
    EXPECT_EQ(r.exitCode, 2);
    r = test::RunVandrel({"help"}, cli.home);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains("vandrel test"));
}

TEST(CliBasic, DataFolderDefaultsAndFailures) {
    Cli cli;
    // Default data folder lives under the (redirected) config home and is created.
    auto r = test::RunVandrel({"rules", "list"}, cli.home);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(QDir(cli.home + "/.config/vandrel").exists());
    ASSERT_TRUE(WriteFile(cli.tmp.file("plainfile"), "x"));
    r = test::RunVandrel({"--data-dir", cli.tmp.file("plainfile"), "rules", "list"}, cli.home);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();

    // An unreadable rules file is kept aside, not replaced.
    const QByteArray damaged("Title<|RU|>All\xff\xfe<|RU|>");
    ASSERT_TRUE(WriteFile(cli.data + "/rules.txt", damaged));
    r = cli.run({"rules", "list"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("kept aside")) << r.err.toStdString();
    const QStringList aside = QDir(cli.data).entryList({"rules.txt.unreadable-*"});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(test::ReadFile(cli.data + '/' + aside.first()), damaged);
}

TEST(CliBasic, TestAndRulesListReadRulesTxt) {
    Cli cli;
    ASSERT_TRUE(
        cli.writeRules({"PDFs<|RU|>All<|RU|>Extension<|CP|>is<|CD|>pdf<|RU|><|RU|>"
                        "11111111-1111-1111-1111-111111111111",
                        "Fotos ✓<|RU|>Any<|RU|>Kind<|CP|>Image<|CD|>forkind<|RU|><|RU|>"
                        "22222222-2222-2222-2222-222222222222"}));
    const QString pdf = cli.tmp.file("in/a.pdf"), jpg = cli.tmp.file("in/b.jpg");
    ASSERT_TRUE(WriteFile(pdf, "x"));
    ASSERT_TRUE(WriteFile(jpg, "x"));

    auto r = cli.run({"rules", "list"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out,
              "PDFs\t11111111-1111-1111-1111-111111111111\n"
              "Fotos ✓\t22222222-2222-2222-2222-222222222222\n");
    r = cli.run({"test", "--selection", "<guid>22222222-2222-2222-2222-222222222222</guid>", pdf,
                 jpg, cli.tmp.file("in/missing.pdf")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    // A rule outside the selection and a missing path are simply unmatched.
    EXPECT_EQ(r.out, QString("no matched rule\t%1\nFotos ✓\t%2\nno matched rule\t%3\n")
                         .arg(pdf, jpg, cli.tmp.file("in/missing.pdf")));
    // test never acts: the files are still there.
    EXPECT_TRUE(QFile::exists(pdf));
    EXPECT_TRUE(QFile::exists(jpg));
}

}  // namespace
}  // namespace vandrel
