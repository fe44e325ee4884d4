// The command line end to end through the real binary: usage, data folder, test, rules list.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "support/test_util.h"

namespace vandrel {
namespace {

using test::RunVandrel;
using test::TempDir;

TEST(CliBasic, UsageAndBadArguments) {
    TempDir home;
    auto r = RunVandrel({}, home.path());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("usage: vandrel"))) << r.err.toStdString();

    r = RunVandrel({QStringLiteral("frobnicate")}, home.path());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();

    r = RunVandrel({QStringLiteral("--data-dir")}, home.path());
    EXPECT_EQ(r.exitCode, 2);

    r = RunVandrel({QStringLiteral("--data-dir"), home.path(), QStringLiteral("test")}, home.path());
    EXPECT_EQ(r.exitCode, 2);  // no PATH
    r = RunVandrel({QStringLiteral("--data-dir"), home.path(), QStringLiteral("test"),
                    QStringLiteral("--bogus"), QStringLiteral("/x")},
                   home.path());
    EXPECT_EQ(r.exitCode, 2);
    r = RunVandrel({QStringLiteral("--data-dir"), home.path(), QStringLiteral("rules"), QStringLiteral("shuffle")},
                   home.path());
    EXPECT_EQ(r.exitCode, 2);

    r = RunVandrel({QStringLiteral("help")}, home.path());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("vandrel test")));
}

TEST(CliBasic, DataFolderDefaultsAndFailures) {
    TempDir home;
    // Default data folder lives under the (redirected) config home and is created.
    auto r = RunVandrel({QStringLiteral("rules"), QStringLiteral("list")}, home.path());
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(QDir(home.file(QStringLiteral(".config/vandrel"))).exists());

    ASSERT_TRUE(test::WriteFile(home.file(QStringLiteral("plainfile")), "x"));
    r = RunVandrel({QStringLiteral("--data-dir"), home.file(QStringLiteral("plainfile")),
                    QStringLiteral("rules"), QStringLiteral("list")},
                   home.path());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
}

TEST(CliBasic, TestAndRulesListReadRulesTxt) {
    TempDir home;
    const QString data = home.file(QStringLiteral("data"));
    const QString rules = QStringLiteral(
        "PDFs<|RU|>All<|RU|>Extension<|CP|>is<|CD|>pdf<|RU|><|RU|>11111111-1111-1111-1111-111111111111"
        "<|RP|>Fotos ✓<|RU|>Any<|RU|>Kind<|CP|>Image<|CD|>forkind<|RU|><|RU|>"
        "22222222-2222-2222-2222-222222222222\r\n");
    ASSERT_TRUE(test::WriteFile(data + QStringLiteral("/rules.txt"), rules.toUtf8()));
    ASSERT_TRUE(test::WriteFile(home.file(QStringLiteral("in/a.pdf")), "x"));
    ASSERT_TRUE(test::WriteFile(home.file(QStringLiteral("in/b.jpg")), "x"));
    ASSERT_TRUE(test::WriteFile(home.file(QStringLiteral("in/c.txt")), "x"));

    auto r = RunVandrel({QStringLiteral("--data-dir"), data, QStringLiteral("rules"), QStringLiteral("list")},
                        home.path());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QStringLiteral("PDFs\t11111111-1111-1111-1111-111111111111\n"
                                    "Fotos ✓\t22222222-2222-2222-2222-222222222222\n"));

    r = RunVandrel({QStringLiteral("--data-dir"), data, QStringLiteral("test"), QStringLiteral("--selection"),
                    QStringLiteral("<guid>22222222-2222-2222-2222-222222222222</guid>"),
                    home.file(QStringLiteral("in/a.pdf")), home.file(QStringLiteral("in/b.jpg"))},
                   home.path());
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("no matched rule\t%1\nFotos ✓\t%2\n")
                         .arg(home.file(QStringLiteral("in/a.pdf")), home.file(QStringLiteral("in/b.jpg"))));

    // A missing path is simply unmatched.
    r = RunVandrel({QStringLiteral("--data-dir"), data, QStringLiteral("test"), home.file(QStringLiteral("in/c.txt")),
                    home.file(QStringLiteral("in/missing.pdf"))},
                   home.path());
    EXPECT_EQ(r.out, QStringLiteral("no matched rule\t%1\nno matched rule\t%2\n")
                         .arg(home.file(QStringLiteral("in/c.txt")), home.file(QStringLiteral("in/missing.pdf"))));
    // test never acts: the files are still there.
    EXPECT_TRUE(QFile::exists(home.file(QStringLiteral("in/a.pdf"))));
}

TEST(CliBasic, UnreadableRulesFileIsKeptAsideNotReplaced) {
    TempDir home;
    const QString data = home.file(QStringLiteral("data"));
    const QByteArray damaged("Title<|RU|>All\xff\xfe<|RU|>");
    ASSERT_TRUE(test::WriteFile(data + QStringLiteral("/rules.txt"), damaged));
    auto r = RunVandrel({QStringLiteral("--data-dir"), data, QStringLiteral("rules"), QStringLiteral("list")},
                        home.path());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("kept aside"))) << r.err.toStdString();
    const QStringList aside = QDir(data).entryList({QStringLiteral("rules.txt.unreadable-*")});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(test::ReadFile(data + QLatin1Char('/') + aside.first()), damaged);
}

}  // namespace
}  // namespace vandrel
