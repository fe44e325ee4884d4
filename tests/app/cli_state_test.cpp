// State files through the command line: an empty data folder name, imports that would
// store a NUL or a cut-short rule, and a stored date that cannot be read.
#include <gtest/gtest.h>

#include "support/test_util.h"

namespace vandrel {
namespace {

const QByteArray kDateRule =
    "Old<|RU|>All<|RU|>Date Last Modified<|CP|>is after<|CD|>1<|CD|>Day<|CD|>31.02.X<|RU|>"
    "Open<|AP|>0<|RU|>0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C2D";

TEST(CliState, BadDataDirImportsAndUnreadableDates) {
    struct Case {
        const char* name;
        QStringList args;  // "DATA" and "FILE" are replaced
        QByteArray rulesTxt, importFile;
        int exit;
        const char* errHas;  // must occur exactly once on stderr
        const char* outHas;
        QByteArray rulesTxtAfter;
    } cases[] = {
        {"empty --data-dir", {"--data-dir", "", "rules", "list"}, {}, {}, 2, "empty name", "", {}},
        {"empty --data-dir=", {"--data-dir=", "rules", "list"}, {}, {}, 2, "empty name", "", {}},
        {"import with a NUL",
         {"rules", "import", "FILE"},
         {},
         QByteArray("a<|RU|>All<|RU|>\0", 17),
         1,
         "NUL byte",
         "",
         {}},
        {"import cut short",
         {"rules", "import", "FILE"},
         {},
         "a<|RU|>All",
         1,
         "2 of the five",
         "",
         {}},
        {"unreadable date is false",
         {"test", "FILE"},
         kDateRule,
         "x",
         0,
         "rule \"Old\": the date",
         "no matched rule",
         kDateRule},
        {"unreadable date is saved as it was",
         {"rules", "import", "FILE"},
         {},
         kDateRule,
         0,
         "rule \"Old\": the date",
         "Import Successfully",
         kDateRule + "\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir tmp;
        const QString data = tmp.file(QStringLiteral("data")), file = tmp.file("f.txt");
        ASSERT_TRUE(c.rulesTxt.isEmpty() || test::WriteFile(data + "/rules.txt", c.rulesTxt));
        ASSERT_TRUE(c.importFile.isEmpty() || test::WriteFile(file, c.importFile));
        QStringList args = c.args;
        args.replaceInStrings(QStringLiteral("FILE"), file);
        if (!args.first().startsWith(QStringLiteral("--data-dir")))
            args = QStringList{"--data-dir", data} + args;
        const auto r = test::RunVandrel(args, tmp.file(QStringLiteral("home")));
        EXPECT_EQ(r.exitCode, c.exit) << r.err.toStdString();
        EXPECT_EQ(r.err.count(QString::fromUtf8(c.errHas)), 1) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(c.outHas))) << r.out.toStdString();
        EXPECT_EQ(test::ReadFile(data + "/rules.txt"), c.rulesTxtAfter);
        EXPECT_FALSE(QFileInfo::exists(tmp.file("home/.config/vandrel")));
    }
}

}  // namespace
}  // namespace vandrel
