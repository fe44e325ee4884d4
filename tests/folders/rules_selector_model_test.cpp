#include "folders/rules_selector_model.h"

#include <gtest/gtest.h>

#include "rules/rule_text.h"

namespace vandrel {
namespace {

const QString kA = QStringLiteral("AAAAAAAA-1111-2222-3333-444444444444");
const QString kB = QStringLiteral("BBBBBBBB-1111-2222-3333-444444444444");
const QString kC = QStringLiteral("CCCCCCCC-1111-2222-3333-444444444444");

std::vector<RuleAttr> Rules(std::initializer_list<QString> guids) {
    std::vector<RuleAttr> out;
    for (const QString& g : guids) out.push_back({QStringLiteral("rule ") + g.left(1), g});
    return out;
}

TEST(RuleSelection, BuildAndTakeApart) {
    EXPECT_EQ(MakeRuleSelection({kA, kB}), QStringLiteral("<guid>") + kA +
                                               QStringLiteral("</guid><guid>") + kB +
                                               QStringLiteral("</guid>"));
    EXPECT_EQ(MakeRuleSelection({}), QString());
    EXPECT_EQ(SelectionGuids(MakeRuleSelection({kA, kB})), (QStringList{kA, kB}));
    EXPECT_TRUE(SelectionGuids(QStringLiteral("all")).isEmpty());
    EXPECT_TRUE(SelectionGuids(QString()).isEmpty());
    // A damaged tail is ignored rather than read past the end.
    EXPECT_EQ(SelectionGuids(MakeRuleSelection({kA}) + QStringLiteral("<guid>BROKEN")),
              QStringList{kA});
}

TEST(RulesSelectorModel, UntouchedSelectionSavesAsLoaded) {
    RulesSelectorModel m;
    EXPECT_EQ(m.SaveToString(), QStringLiteral("all"));  // a new row applies all rules
    m.LoadFromString(QStringLiteral("all"));
    EXPECT_EQ(m.SaveToString(), QStringLiteral("all"));
    // Without boxes nothing is filtered, even GUIDs of rules that no longer exist.
    const QString stale = MakeRuleSelection({kA, QStringLiteral("gone")});
    m.LoadFromString(stale);
    EXPECT_FALSE(m.hasBoxes());
    EXPECT_EQ(m.SaveToString(), stale);
}

TEST(RulesSelectorModel, AllStaysAllAfterExpanding) {
    RulesSelectorModel m;
    m.LoadFromString(QStringLiteral("all"));
    m.SetCurRuleAttrs(Rules({kA, kB}));
    EXPECT_TRUE(m.allRulesChecked());
    ASSERT_EQ(m.ruleBoxes().size(), 2u);
    EXPECT_TRUE(m.ruleBoxes()[0].checked);
    EXPECT_TRUE(m.ruleBoxes()[1].checked);
    EXPECT_EQ(m.SaveToString(), QStringLiteral("all"));
}

TEST(RulesSelectorModel, DeletedRuleIsForgotten) {
    RulesSelectorModel m;
    m.LoadFromString(MakeRuleSelection({kA, kB}));
    m.SetCurRuleAttrs(Rules({kA, kC}));  // rule B was deleted, C was added
    EXPECT_FALSE(m.allRulesChecked());
    EXPECT_TRUE(m.ruleBoxes()[0].checked);
    EXPECT_FALSE(m.ruleBoxes()[1].checked);
    EXPECT_EQ(m.SaveToString(), MakeRuleSelection({kA}));
}

TEST(RulesSelectorModel, SelectionFollowsRuleListOrder) {
    RulesSelectorModel m;
    m.LoadFromString(MakeRuleSelection({kB, kA}));
    m.SetCurRuleAttrs(Rules({kA, kB}));
    EXPECT_EQ(m.SaveToString(), MakeRuleSelection({kA, kB}));
}

TEST(RulesSelectorModel, Clicks) {
    RulesSelectorModel m;
    m.SetCurRuleAttrs(Rules({kA, kB, kC}));
    // Unticking one rule under "Apply all rules" unticks it and keeps the others.
    m.ClickRule(1, false);
    EXPECT_FALSE(m.allRulesChecked());
    EXPECT_EQ(m.SaveToString(), MakeRuleSelection({kA, kC}));
    // Ticking it again by hand does not tick "Apply all rules".
    m.ClickRule(1, true);
    EXPECT_FALSE(m.allRulesChecked());
    EXPECT_EQ(m.SaveToString(), MakeRuleSelection({kA, kB, kC}));
    // "Apply all rules" unticked: every box follows; nothing is selected.
    m.ClickAllRules(false);
    for (const auto& b : m.ruleBoxes()) EXPECT_FALSE(b.checked);
    EXPECT_EQ(m.SaveToString(), QString());
    EXPECT_FALSE(IsRuleSelected(kA, m.SaveToString()));
    m.ClickAllRules(true);
    for (const auto& b : m.ruleBoxes()) EXPECT_TRUE(b.checked);
    EXPECT_EQ(m.SaveToString(), QStringLiteral("all"));
    // Out of range: nothing changes.
    m.ClickRule(7, false);
    m.ClickRule(-1, false);
    EXPECT_EQ(m.SaveToString(), QStringLiteral("all"));
}

TEST(RulesSelectorModel, NoRulesAndEmptySelection) {
    RulesSelectorModel m;
    m.LoadFromString(MakeRuleSelection({kA}));
    m.SetCurRuleAttrs({});
    EXPECT_EQ(m.SaveToString(), QString());
    m.LoadFromString(QString());
    m.SetCurRuleAttrs(Rules({kA}));
    EXPECT_FALSE(m.ruleBoxes()[0].checked);
    EXPECT_EQ(m.SaveToString(), QString());
}

}  // namespace
}  // namespace vandrel
