#include "folders/rules_selector_model.h"

#include <gtest/gtest.h>

#include <optional>

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

// A stored selection, then the rule list as it is now: what is saved and which boxes show.
TEST(RulesSelectorModel, StoredSelectionAgainstTheCurrentRules) {
    const QString stale = MakeRuleSelection({kA, QStringLiteral("gone")});
    struct Row {
        const char* name;
        std::optional<QString> stored;               // none: never loaded
        std::optional<std::vector<RuleAttr>> rules;  // none: the boxes were never shown
        QString saved;
        std::vector<bool> boxes;
    };
    const Row rows[] = {
        {"new row applies all rules", std::nullopt, std::nullopt, QStringLiteral("all"), {}},
        // Without boxes nothing is filtered, even GUIDs of rules that no longer exist.
        {"untouched stale selection", stale, std::nullopt, stale, {}},
        {"all stays all",
         QStringLiteral("all"),
         Rules({kA, kB}),
         QStringLiteral("all"),
         {true, true}},
        {"deleted rule forgotten",
         MakeRuleSelection({kA, kB}),
         Rules({kA, kC}),
         MakeRuleSelection({kA}),
         {true, false}},
        {"rule list order",
         MakeRuleSelection({kB, kA}),
         Rules({kA, kB}),
         MakeRuleSelection({kA, kB}),
         {true, true}},
        {"no rules left", MakeRuleSelection({kA}), Rules({}), QString(), {}},
        {"empty selection", QString(), Rules({kA}), QString(), {false}},
    };
    for (const Row& r : rows) {
        RulesSelectorModel m;
        if (r.stored) m.LoadFromString(*r.stored);
        if (r.rules) m.SetCurRuleAttrs(*r.rules);
        EXPECT_EQ(m.SaveToString(), r.saved) << r.name;
        EXPECT_EQ(m.hasBoxes(), r.rules.has_value()) << r.name;
        std::vector<bool> boxes;
        for (const auto& b : m.ruleBoxes()) boxes.push_back(b.checked);
        EXPECT_EQ(boxes, r.boxes) << r.name;
    }
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

}  // namespace
}  // namespace vandrel
