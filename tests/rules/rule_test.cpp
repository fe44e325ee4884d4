#include "rules/rule.h"

#include <gtest/gtest.h>

#include "rules/recording_condition.h"
#include "rules/rule_list.h"

namespace vandrel {
namespace {

using test::RecordingCondition;
using test::SuffixAction;

const QString kGuid = QStringLiteral("0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C2D");

QString WorkedExample() {
    return QStringLiteral(
               "Invoices<|RU|>All<|RU|>Extension<|CP|>is<|CD|>pdf<|CP|>Name<|CP|>contains<|CD|>"
               "invoice<|RU|>Move to<|AP|>/home/u/Invoices<|AC|>0<|AC|><//>date.current<//>"
               "<|AC|>1<|RU|>") +
           kGuid;
}

TEST(RuleTextFormat, WorkedExampleRoundTripsByteForByte) {
    Rule rule{EngineContext{}};
    rule.LoadFromString(WorkedExample());
    EXPECT_EQ(rule.ruleTitle(), QStringLiteral("Invoices"));
    EXPECT_EQ(rule.ruleGUID(), kGuid);
    EXPECT_EQ(rule.conditions().getConditionCollection().size(), 2u);
    EXPECT_EQ(rule.actions().getActionCollection().size(), 1u);
    EXPECT_EQ(rule.SaveToString(), WorkedExample());

    RuleList list{EngineContext{}};
    const QString second = QStringLiteral(
        "Ünïcode ✓ title<|RU|>Any<|RU|>Kind<|CP|>Music<|CD|>forkind<|RU|><|RU|>"
        "11111111-2222-3333-4444-555555555555");
    const QString text = WorkedExample() + QStringLiteral("<|RP|>") + second;
    list.LoadFromString(text);
    ASSERT_EQ(list.ruleCount(), 2);
    EXPECT_EQ(list.rule(1).ruleTitle(), QStringLiteral("Ünïcode ✓ title"));
    EXPECT_EQ(list.SaveToString(), text);
}

TEST(RuleTextFormat, RowsAndPartsLoadForgivingly) {
    Rule rule{EngineContext{}};
    // Odd cell count: the last cell is ignored. Selector case is kept as loaded.
    rule.LoadFromString(QStringLiteral("t<|RU|>all<|RU|>nAmE<|CP|>is<|CD|>x<|CP|>EXTENSION<|CP|>is<"
                                       "|CD|>pdf<|CP|>Size<|RU|><|RU|>") +
                        kGuid);
    EXPECT_EQ(rule.conditions().getConditionCollection().size(), 2u);
    EXPECT_EQ(rule.SaveToString(),
              QStringLiteral("t<|RU|>all<|RU|>nAmE<|CP|>is<|CD|>x<|CP|>EXTENSION<|CP|>is<|CD|>pdf"
                             "<|RU|><|RU|>") +
                  kGuid);

    // Unknown selectors create no row object and are left out on save.
    rule.LoadFromString(QStringLiteral("t<|RU|>All<|RU|>Colour<|CP|>red<|CP|>Any<|CP|>x<|RU|>"
                                       "Teleport<|AP|>moon<|RU|>") +
                        kGuid);
    EXPECT_EQ(rule.conditions().rowCount(), 2);
    EXPECT_EQ(rule.SaveToString(), QStringLiteral("t<|RU|>All<|RU|>Any<|CP|>anything<|CD|>anything"
                                                  "<|RU|><|RU|>") +
                                       kGuid);

    // Empty conditions part: one empty row, saved back empty.
    rule.LoadFromString(QStringLiteral("t<|RU|>All<|RU|><|RU|><|RU|>") + kGuid);
    EXPECT_EQ(rule.conditions().rowCount(), 1);
    EXPECT_EQ(rule.conditions().getConditionCollection().size(), 0u);
    EXPECT_EQ(rule.SaveToString(), QStringLiteral("t<|RU|>All<|RU|><|RU|><|RU|>") + kGuid);
}

TEST(RuleTextFormat, FourPartRuleGetsAGuidThatIsThenKept) {
    Rule rule{EngineContext{}};
    const QString fresh = rule.ruleGUID();
    rule.LoadFromString(QStringLiteral("t<|RU|>All<|RU|>Any<|CP|>anything<|CD|>anything<|RU|>"));
    EXPECT_NE(rule.ruleGUID(), fresh);  // derived from the text instead
    const QString derived = rule.ruleGUID();
    const QString saved = rule.SaveToString();
    EXPECT_TRUE(saved.endsWith(derived));
    Rule again{EngineContext{}};
    again.LoadFromString(saved);
    EXPECT_EQ(again.ruleGUID(), derived);
    EXPECT_EQ(again.SaveToString(), saved);

    // Fewer parts, or garbage, never fail the load.
    for (const char* text :
         {"", "only title", "a<|RU|>b", "<|RU|><|RU|><|RU|><|RU|><|RU|><|RU|>"}) {
        Rule r{EngineContext{}};
        r.LoadFromString(QString::fromUtf8(text));
        EXPECT_FALSE(r.JustDoCheck(QStringLiteral("file<|PA|>/x"))) << text;
    }
}

struct Recorded {
    int callsA = 0;
    int callsB = 0;
};

void AddTwoConditions(Rule& rule, bool a, bool b, Recorded& rec) {
    rule.conditions().LoadFromString(QString());
    rule.conditions().removeRow(0);
    rule.conditions().appendRow(QStringLiteral("A"),
                                std::make_unique<RecordingCondition>(a, &rec.callsA));
    rule.conditions().appendRow(QStringLiteral("B"),
                                std::make_unique<RecordingCondition>(b, &rec.callsB));
}

TEST(RuleEvaluation, AllAndAnyShortCircuitInRowOrder) {
    struct Case {
        const char* mode;
        bool a, b;
        bool result;
        int callsB;
    } cases[] = {
        {"All", false, true, false, 0},       {"ALL", true, true, true, 1},
        {"all", true, false, false, 1},       {"Any", true, false, true, 0},
        {"Any", false, true, true, 1},        {"", true, false, true, 0},
        {"whatever", false, false, false, 1},
    };
    for (const Case& c : cases) {
        Rule rule{EngineContext{}};
        rule.setMatchMode(QString::fromLatin1(c.mode));
        Recorded rec;
        AddTwoConditions(rule, c.a, c.b, rec);
        EXPECT_EQ(rule.JustDoCheck(QStringLiteral("file<|PA|>/x")), c.result) << c.mode;
        EXPECT_EQ(rec.callsA, 1) << c.mode;
        EXPECT_EQ(rec.callsB, c.callsB) << c.mode;
    }
    // A rule without conditions never matches, in either mode.
    for (const char* mode : {"Any", "All"}) {
        Rule empty{EngineContext{}};
        empty.setMatchMode(QString::fromLatin1(mode));
        EXPECT_FALSE(empty.JustDoCheck(QStringLiteral("file<|PA|>/x"))) << mode;
    }
}

TEST(RuleEvaluation, CheckAndTakeChainsActionsAndSkipsOnNoMatch) {
    Rule rule{EngineContext{}};
    Recorded rec;
    AddTwoConditions(rule, true, true, rec);
    QStringList seen;
    rule.actions().removeRow(0);
    rule.actions().appendRow(QStringLiteral("first"),
                             std::make_unique<SuffixAction>(QStringLiteral("1"), &seen));
    rule.actions().addEmptyRow();  // a row without a kind is skipped
    rule.actions().appendRow(QStringLiteral("second"),
                             std::make_unique<SuffixAction>(QStringLiteral("2"), &seen));
    EXPECT_EQ(rule.CheckAndTake(QStringLiteral("file<|PA|>/x")), QStringLiteral("file<|PA|>/x12"));
    EXPECT_EQ(seen, (QStringList{QStringLiteral("file<|PA|>/x"), QStringLiteral("file<|PA|>/x1")}));

    Rule no{EngineContext{}};
    Recorded rec2;
    AddTwoConditions(no, false, true, rec2);
    EXPECT_EQ(no.CheckAndTake(QStringLiteral("file<|PA|>/x")), QString());

    // Conditions hold and the only action row is empty: the list comes back unchanged.
    Rule bare{EngineContext{}};
    Recorded rec3;
    AddTwoConditions(bare, true, true, rec3);
    EXPECT_EQ(bare.CheckAndTake(QStringLiteral("file<|PA|>/x")), QStringLiteral("file<|PA|>/x"));
}

}  // namespace
}  // namespace vandrel
