#include "rules/rule_list.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>

#include "platform/file_in_use.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::TempDir;

// A rule whose single condition is given as selector + payload.
QString RuleText(const QString& title, const QString& conditions, const QString& guid) {
    return title + QStringLiteral("<|RU|>All<|RU|>") + conditions + QStringLiteral("<|RU|><|RU|>") +
           guid;
}

const QString kG1 = QStringLiteral("11111111-1111-1111-1111-111111111111");
const QString kG2 = QStringLiteral("22222222-2222-2222-2222-222222222222");
const QString kG3 = QStringLiteral("33333333-3333-3333-3333-333333333333");

class RuleListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(test::WriteFile(dir.file(QStringLiteral("in/report.pdf")), "pdf"));
        ASSERT_TRUE(test::WriteFile(dir.file(QStringLiteral("in/.hidden.pdf")), "pdf"));
        ASSERT_TRUE(test::MakeDir(dir.file(QStringLiteral("in/Archive"))));
        ASSERT_TRUE(test::MakeDir(dir.file(QStringLiteral("in/.cache"))));
        list.LoadFromString(
            RuleText(QStringLiteral("PDFs"), QStringLiteral("Extension<|CP|>is<|CD|>pdf"), kG1) +
            QStringLiteral("<|RP|>") +
            RuleText(QStringLiteral("Everything"),
                     QStringLiteral("Any<|CP|>anything<|CD|>anything"), kG2) +
            QStringLiteral("<|RP|>") +
            RuleText(QStringLiteral("Folders"), QStringLiteral("Kind<|CP|>Folder<|CD|>forkind"),
                     kG3));
    }
    TempDir dir;
    RuleList list{EngineContext{}};
};

TEST_F(RuleListTest, FirstSelectedMatchingRuleWins) {
    const QString pdf = dir.file(QStringLiteral("in/report.pdf"));
    EXPECT_EQ(list.DoRulesTest(pdf), QStringLiteral("PDFs"));
    EXPECT_EQ(list.DoRunRules(pdf, QStringLiteral("all")), QStringLiteral("PDFs"));
    // A folder is passed with the kind "folder": the extension rule never sees it as a file.
    EXPECT_EQ(list.DoRulesTest(dir.file(QStringLiteral("in/Archive"))),
              QStringLiteral("Everything"));
    // Selection: skipped rules are not tested even when they would match.
    const QString onlyFolders = QStringLiteral("<guid>") + kG3 + QStringLiteral("</guid>");
    EXPECT_EQ(list.DoRulesTest(pdf, onlyFolders), QString::fromLatin1(kNoMatchedRule));
    EXPECT_EQ(list.DoRulesTest(dir.file(QStringLiteral("in/Archive")), onlyFolders),
              QStringLiteral("Folders"));
    EXPECT_EQ(list.DoRulesTest(pdf, QStringLiteral("All")), QString::fromLatin1(kNoMatchedRule));
}

TEST_F(RuleListTest, HiddenMissingAndSpecialItemsMatchNothing) {
    for (const QString& rel : {QStringLiteral("in/.hidden.pdf"), QStringLiteral("in/.cache"),
                               QStringLiteral("in/missing.pdf"), QString()}) {
        EXPECT_EQ(list.DoRulesTest(rel.isEmpty() ? rel : dir.file(rel)),
                  QString::fromLatin1(kNoMatchedRule))
            << rel.toStdString();
    }
    const QString fifo = dir.file(QStringLiteral("in/pipe"));
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    EXPECT_EQ(list.DoRunRules(fifo), QString::fromLatin1(kNoMatchedRule));  // never opened: no hang
}

TEST_F(RuleListTest, ItemHeldOpenByAnotherProcessIsAlreadyInUse) {
    FileInUseProbe probe;
    EngineContext ctx;
    ctx.inUse = &probe;
    auto guarded = list.clone(ctx);
    const QString pdf = dir.file(QStringLiteral("in/Archive/deep/held.pdf"));
    ASSERT_TRUE(test::WriteFile(pdf, "x"));
    EXPECT_EQ(guarded->DoRulesTest(pdf), QStringLiteral("PDFs"));

    {
        test::Holder holder(pdf);
        ASSERT_TRUE(holder.started());
        probe.invalidate();
        EXPECT_EQ(guarded->DoRulesTest(pdf), QString::fromLatin1(kAlreadyInUse));
        EXPECT_EQ(guarded->DoRunRules(dir.file(QStringLiteral("in/Archive"))),
                  QString::fromLatin1(kAlreadyInUse));
        EXPECT_EQ(guarded->DoRulesTest(dir.file(QStringLiteral("in/report.pdf"))),
                  QStringLiteral("PDFs"));
    }
    probe.invalidate();
    EXPECT_EQ(guarded->DoRulesTest(pdf), QStringLiteral("PDFs"));
}

TEST_F(RuleListTest, ReorderRemoveAddAndButtons) {
    auto titles = [&] {
        QStringList t;
        for (const RuleAttr& a : list.GetRuleAttrs()) t << a.ruleTitle;
        return t.join(QLatin1Char(','));
    };
    list.OrderUp(0);
    list.OrderDown(2);
    list.OrderUp(7);
    EXPECT_EQ(titles(), QStringLiteral("PDFs,Everything,Folders"));
    list.OrderDown(0);
    EXPECT_EQ(titles(), QStringLiteral("Everything,PDFs,Folders"));
    list.OrderUp(2);
    EXPECT_EQ(titles(), QStringLiteral("Everything,Folders,PDFs"));
    EXPECT_FALSE(list.canMoveUp(0));
    EXPECT_TRUE(list.canMoveDown(0));
    EXPECT_TRUE(list.canMoveUp(2));
    EXPECT_FALSE(list.canMoveDown(2));
    EXPECT_TRUE(list.canClose(1));

    const QString saved = list.SaveToString();
    list.RemoveRule(1);
    list.RemoveRule(0);
    ASSERT_EQ(list.ruleCount(), 1);
    EXPECT_FALSE(list.canMoveUp(0));
    EXPECT_FALSE(list.canMoveDown(0));
    EXPECT_FALSE(list.canClose(0));

    Rule& fresh = list.AddNewRule();
    EXPECT_EQ(fresh.ruleTitle(), QStringLiteral("untitled"));
    EXPECT_EQ(fresh.matchMode(), QStringLiteral("All"));
    EXPECT_EQ(list.rule(0).ruleGUID(), fresh.ruleGUID());
    list.AddNewRule(
        RuleText(QStringLiteral("Top"), QStringLiteral("Any<|CP|>anything<|CD|>anything"), kG1));
    EXPECT_EQ(titles(), QStringLiteral("Top,untitled,PDFs"));
    EXPECT_EQ(list.indexOf(kG1), 0);

    list.LoadFromString(saved);
    EXPECT_EQ(list.SaveToString(), saved);
    list.LoadFromString(QString());
    EXPECT_EQ(list.ruleCount(), 0);
    EXPECT_EQ(list.SaveToString(), QString());
}

}  // namespace
}  // namespace vandrel
