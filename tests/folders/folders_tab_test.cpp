// The folders tab: the hint while there is no folder, and the rule selector of a row that
// lists the current rules when expanded and keeps the selection when collapsed.
#include "folders/view/folders_tab.h"

#include <gtest/gtest.h>

#include <QTest>

#include "aqua_button.h"
#include "folders/view/folder_panel.h"
#include "folders/view/folders_paper.h"
#include "folders/view/rules_selector.h"
#include "folders/watched_folder_list.h"
#include "platform/clock.h"
#include "standard/wex_check.h"
#include "standard/wex_expand_btn.h"

namespace vandrel {
namespace {

const QString kA = "AAAAAAAA-0000-0000-0000-000000000001",
              kB = "BBBBBBBB-0000-0000-0000-000000000002",
              kC = "CCCCCCCC-0000-0000-0000-000000000003";
QString Sel(const QStringList& guids) {
    QString s;
    for (const QString& g : guids) s += "<guid>" + g + "</guid>";
    return s;
}

TEST(FoldersTab, HintOnlyWithoutFolders) {
    FakeClock clock;
    WatchedFolderList list(clock);
    FoldersTab tab(list);
    tab.enterTab({});
    EXPECT_TRUE(tab.hintShown());
    QTest::mouseClick(tab.findChild<vitreon::AquaButton*>("btnAddFolder"), Qt::LeftButton);
    EXPECT_FALSE(tab.hintShown());
    EXPECT_EQ(list.folderCount(), 1);
    tab.enterTab({});
    EXPECT_FALSE(tab.hintShown());
    list.RemoveFolderAt(0);
    tab.paper()->refresh();
    tab.enterTab({});
    EXPECT_TRUE(tab.hintShown());
}

TEST(FoldersPaper, ExpandedRowListsCurrentRulesAndCollapsingKeepsSelection) {
    struct Case {
        const char* name;
        QString stored;               // the row's selection before expanding
        std::vector<RuleAttr> rules;  // the current rules
        int click;                    // box clicked while expanded (-1: none)
        QStringList captions;         // boxes 1..n
        QString saved;                // the selection after collapsing
    };
    const std::vector<RuleAttr> ab{{"Alpha", kA}, {"Beta", kB}};
    const Case cases[] = {
        {"all stays all", "all", ab, -1, {"Alpha", "Beta"}, "all"},
        {"deleted rule forgotten", Sel({kA, kC}), ab, -1, {"Alpha", "Beta"}, Sel({kA})},
        {"untick one of all", "all", ab, 2, {"Alpha", "Beta"}, Sel({kA})},
        {"untick all rules box", "all", ab, 0, {"Alpha", "Beta"}, ""},
        {"tick a rule", Sel({kB}), ab, 1, {"Alpha", "Beta"}, Sel({kA, kB})},
    };
    for (const Case& c : cases) {
        FakeClock clock;
        WatchedFolderList list(clock);
        list.AddNewFolder().selector().LoadFromString(c.stored);
        FoldersPaper paper(list);
        paper.SetCurRuleAttrs(c.rules);
        FolderPanel* row = paper.panels().at(0);
        QTest::mouseClick(row->findChild<wexcontrols::WexExpandBtn*>("btnExpand"), Qt::LeftButton);
        ASSERT_TRUE(row->expanded()) << c.name;
        EXPECT_NEAR(row->height(), FolderPanel::kExpandedTwips / 15, 1) << c.name;
        const auto boxes = row->selector()->boxes();
        QStringList captions;
        for (size_t i = 1; i < boxes.size(); ++i) captions << boxes[i]->Caption();
        EXPECT_EQ(captions, c.captions) << c.name;
        if (c.click >= 0) QTest::mouseClick(boxes.at(static_cast<size_t>(c.click)), Qt::LeftButton);
        QTest::mouseClick(row->findChild<wexcontrols::WexExpandBtn*>("btnExpand"), Qt::LeftButton);
        EXPECT_FALSE(row->expanded()) << c.name;
        EXPECT_EQ(list.folder(0).selector().SaveToString(), c.saved) << c.name;
        // Opening the tab again collapses the rows and keeps what was chosen.
        paper.SetCurRuleAttrs(c.rules);
        EXPECT_EQ(list.folder(0).selector().SaveToString(), c.saved) << c.name;
    }
}

}  // namespace
}  // namespace vandrel
