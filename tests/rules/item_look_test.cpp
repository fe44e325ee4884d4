// One look at an item per evaluation: however many rules ask about its dates and size,
// the item is looked at once, and the next evaluation looks again.
#include <gtest/gtest.h>

#include <QFile>

#include "attributes/attribute_helper.h"
#include "platform/faulty_file_system.h"
#include "rules/rule_list.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::FaultyFileSystem;
using test::FsCall;

QString Rule(int n, const QString& title, const QString& conditions) {
    return title + QStringLiteral("<|RU|>All<|RU|>") + conditions + QStringLiteral("<|RU|><|RU|>") +
           QStringLiteral("%1-0000-4000-8000-000000000000").arg(n, 8, 10, QLatin1Char('0'));
}

struct Engine {
    FaultyFileSystem fs;
    AttributeHelper attributes;
    EngineContext ctx = [this] {
        EngineContext c;
        c.fs = &fs;
        c.attributes = &attributes;
        return c;
    }();
    RuleList list{ctx};
};

TEST(ItemLook, ManyDateAndSizeRulesLookAtTheItemOnce) {
    test::TempDir dir;
    const QString file = dir.file(QStringLiteral("report.pdf"));
    ASSERT_TRUE(test::WriteFile(file, QByteArray(3000, 'x')));
    const char* const kDates[] = {"Date Created", "Date Last Modified", "Date Last Accessed"};
    const char* const kNever[] = {"is before<|CD|>1<|CD|>Day<|CD|>1990-01-01",
                                  "is not in the last<|CD|>2<|CD|>Week<|CD|>2000-01-01",
                                  "is<|CD|>1<|CD|>Day<|CD|>1995-05-05",
                                  "is greater than<|CD|>KB<|CD|>3"};
    QStringList rules;
    for (int i = 0; i < 40; ++i) {
        const QString kind = i % 4 == 3 ? QStringLiteral("Size") : QLatin1String(kDates[i % 3]);
        rules << Rule(i, QStringLiteral("never %1").arg(i), kind + "<|CP|>" + kNever[i % 4]);
    }
    // Holds: 3000 bytes round to 3 KB, and the file was written just now.
    rules << Rule(99, QStringLiteral("fresh 3 KB"),
                  QStringLiteral("Size<|CP|>is<|CD|>KB<|CD|>3<|CP|>Date Last Modified<|CP|>"
                                 "is in the last<|CD|>1<|CD|>Hour<|CD|>2000-01-01"));
    Engine e;
    e.list.LoadFromString(rules.join(QStringLiteral("<|RP|>")));
    EXPECT_EQ(e.list.DoRulesTest(file), QStringLiteral("fresh 3 KB"));
    EXPECT_EQ(e.fs.calls(FsCall::kStat), 1);
    // Running the rules checks the matching rule again, still on the same look.
    EXPECT_EQ(e.list.DoRunRules(file), QStringLiteral("fresh 3 KB"));
    EXPECT_EQ(e.fs.calls(FsCall::kStat), 2);
}

TEST(ItemLook, FileChangedBetweenEvaluationsIsSeenChanged) {
    test::TempDir dir;
    const QString file = dir.file(QStringLiteral("notes.txt"));
    ASSERT_TRUE(test::WriteFile(file, "small"));
    Engine e;
    e.list.LoadFromString(
        Rule(1, QStringLiteral("big"), QStringLiteral("Size<|CP|>is greater than<|CD|>KB<|CD|>2")) +
        QStringLiteral("<|RP|>") +
        Rule(2, QStringLiteral("old"),
             QStringLiteral("Date Last Modified<|CP|>is before<|CD|>1<|CD|>Day<|CD|>2000-01-01")));
    EXPECT_EQ(e.list.DoRulesTest(file), QLatin1String(kNoMatchedRule));
    ASSERT_TRUE(test::WriteFile(file, QByteArray(4096, 'x')));
    EXPECT_EQ(e.list.DoRulesTest(file), QStringLiteral("big"));
    ASSERT_TRUE(test::WriteFile(file, "small again"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime(QDate(1999, 6, 1), QTime(12, 0)),
                              QFileDevice::FileModificationTime));
    f.close();
    EXPECT_EQ(e.list.DoRulesTest(file), QStringLiteral("old"));
}

}  // namespace
}  // namespace vandrel
