// The rule editor driven through its widgets, checked through the models it edits.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "actions/view/pattern_input.h"
#include "conditions/condition_name.h"
#include "controls/standard/wex_button.h"
#include "controls/standard/wex_combo.h"
#include "controls/standard/wex_expand_btn.h"
#include "controls/standard/wex_folder.h"
#include "controls/standard/wex_radio.h"
#include "controls/standard/wex_standard_btn.h"
#include "controls/standard/wex_text.h"
#include "rules/rule_list.h"
#include "rules/view/kind_editor.h"
#include "rules/view/rules_paper.h"
#include "rules/view/zol_action_panel.h"
#include "rules/view/zol_condition_panel.h"
#include "rules/view/zol_kind_selector.h"
#include "rules/view/zol_row_button.h"
#include "rules/view/zol_rule_panel.h"

using namespace vandrel;
using namespace wexcontrols;

namespace {

// Picks an entry of a drop-down list as the user does (its menu entry).
void Pick(WexDropList* list, const QString& text) {
    for (QAction* a : list->menu()->actions())
        if (a->text() == text) return a->trigger();
    ADD_FAILURE() << "no entry " << text.toStdString();
}

void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }

QLineEdit* Field(QWidget* parent, const char* name) {
    auto* w = parent->findChild<WexText*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w ? w->textBox() : nullptr;
}

template <typename W>
W* Child(QWidget* parent, const char* name) {
    auto* w = parent->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

}  // namespace

TEST(ZolGridTest, PlacesByRunningOffsetsAndKeepsCellsWhenRowsMove) {
    ZolGrid grid;
    grid.Init(30, 15);
    grid.addCol(150);
    grid.addCol(300);
    QWidget a, b, c;
    grid.addRow(-1, 150);
    grid.addRow(-1, 300);
    grid.appendControl(&a, 1, 1);
    grid.appendControl(&b, 2, 2);
    grid.addRow(0, 450);  // the old row 1 becomes row 2
    grid.addRow(1, 60);   // an empty row below row 1
    grid.appendControl(&c, 2, 1);
    int width = 0, height = 0;
    QObject::connect(&grid, &ZolGrid::Resize, [&](int w, int h) { width = w, height = h; });
    grid.ReArrange();
    EXPECT_EQ(grid.getControlRowNum(&a), 3);
    EXPECT_EQ(grid.getControlColNum(&b), 2);
    EXPECT_EQ(grid.getControlRowNum(&b), 4);
    EXPECT_EQ(a.pos(), QPoint(2, 1 + 30 + 4));        // (30 + 0) / 15, (15 + 450 + 60) / 15
    EXPECT_EQ(b.pos(), QPoint(12, 1 + 30 + 4 + 10));  // below a row of 150
    EXPECT_EQ(width, 450);
    EXPECT_EQ(height, 960);
    const auto col2 = grid.getColControls(2);  // skips the empty rows
    EXPECT_EQ(col2, (std::vector<QWidget*>{&c, &b}));
    grid.delRow(1);
    grid.releaseControl(2, 3);
    EXPECT_EQ(grid.getColControls(2).size(), 0u);
    EXPECT_EQ(grid.getControl(1, 2), &a);
}

TEST(ZolRowsPanelTest, RowLimitsAndButtonStates) {
    struct Case {
        const char* name;
        int adds;         // add-button presses on row 1
        int deletes;      // delete-button presses on row 1
        int rows;         // rows afterwards (model and grid)
        bool addEnabled;  // on every row
        bool delEnabled;
    };
    const Case cases[] = {
        {"a new list has one undeletable row", 0, 0, 1, true, false},
        {"the last row cannot be deleted", 0, 3, 1, true, false},
        {"adding stops at eight", 10, 0, 8, false, true},
        {"deleting one of eight enables adding again", 9, 1, 7, true, true},
    };
    for (const Case& c : cases) {
        ConditionList list(EngineContext{});
        ZolConditionPanel panel(list);
        for (int i = 0; i < c.adds; ++i) Click(panel.buttonsAt(1)->addButton());
        for (int i = 0; i < c.deletes; ++i) Click(panel.buttonsAt(1)->delButton());
        EXPECT_EQ(panel.rowCount(), c.rows) << c.name;
        EXPECT_EQ(list.rowCount(), c.rows) << c.name;
        for (int r = 1; r <= panel.rowCount(); ++r) {
            EXPECT_EQ(panel.buttonsAt(r)->addEnabled(), c.addEnabled) << c.name << " row " << r;
            EXPECT_EQ(panel.buttonsAt(r)->delEnabled(), c.delEnabled) << c.name << " row " << r;
        }
    }
}

TEST(ZolRowsPanelTest, KindReplacementLeavesOneEditorAndAnEmptyRowIsSkipped) {
    ConditionList list(EngineContext{});
    ZolConditionPanel panel(list);
    Pick(panel.selectorAt(1), QStringLiteral("Name"));
    QTest::keyClicks(Field(panel.editorAt(1), "txtParams"), QStringLiteral("abc"));
    Pick(panel.selectorAt(1), QStringLiteral("Full Name"));
    ASSERT_EQ(panel.grid().getColControls(2).size(), 1u);
    auto* name = dynamic_cast<ConditionName*>(list.getConditionCollection().at(0));
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(name->fullNameMode);
    EXPECT_EQ(name->text, QString());  // the new kind starts afresh
    EXPECT_EQ(Field(panel.editorAt(1), "txtParams")->text(), QString());

    Click(panel.buttonsAt(1)->addButton());  // empty row 2
    Click(panel.buttonsAt(2)->addButton());
    Pick(panel.selectorAt(3), QStringLiteral("Any"));
    const auto editors = panel.grid().getColControls(2);
    ASSERT_EQ(editors.size(), 2u);
    EXPECT_EQ(panel.grid().getControlRowNum(editors[1]), 3);
    EXPECT_EQ(list.SaveToString(),
              QStringLiteral("Full Name<|CP|>is<|CD|><|CP|>Any<|CP|>anything<|CD|>anything"));
}

TEST(ZolRowsPanelTest, AdvancedOptionsRaiseTheRowAndMoveTheRowsBelow) {
    ActionList list(EngineContext{});
    ZolActionPanel panel(list);
    Pick(panel.selectorAt(1), QStringLiteral("Move to"));
    Click(panel.buttonsAt(1)->addButton());
    auto* adv = Child<WexExpandBtn>(panel.editorAt(1), "cmdOptions");
    Click(adv);
    EXPECT_EQ(panel.grid().rowHeight(1), 1800);
    EXPECT_TRUE(panel.editorAt(1)->optionsShown());
    EXPECT_EQ(panel.selectorAt(2)->y(), (10 + 1800 + 7) / 15);
    Click(adv);
    EXPECT_EQ(panel.grid().rowHeight(1), 400);
    EXPECT_EQ(panel.editorAt(1)->height(), 20);
    EXPECT_FALSE(panel.editorAt(1)->optionsShown());
}

TEST(PatternInputTest, InsertionAndKeysAtSegmentBorders) {
    Pattern pattern;
    PatternInput input(pattern);
    input.show();
    input.SetPatternString(QStringLiteral("abcd"));
    input.InsertPattern(QStringLiteral("name"));  // no caret yet: nothing happens
    EXPECT_EQ(input.GetPatternString(), QStringLiteral("abcd"));

    auto* first = qobject_cast<QLineEdit*>(input.segmentWidget(0));
    first->setFocus();
    first->setCursorPosition(2);
    input.InsertPattern(QStringLiteral("name"));
    EXPECT_EQ(input.GetPatternString(), QStringLiteral("ab<//>name<//>cd"));
    ASSERT_EQ(input.segmentWidgetCount(), 3);

    auto* third = qobject_cast<QLineEdit*>(input.segmentWidget(2));
    third->setFocus();
    third->setCursorPosition(0);
    QTest::keyClick(third, Qt::Key_Left);  // crosses the token to the first segment
    EXPECT_EQ(pattern.currentSegment(), 0);
    EXPECT_EQ(pattern.caret(), 2);

    third->setFocus();
    third->setCursorPosition(0);
    QTest::keyClick(third, Qt::Key_Backspace);
    QCoreApplication::processEvents();
    EXPECT_EQ(input.GetPatternString(), QStringLiteral("abcd"));
    ASSERT_EQ(input.segmentWidgetCount(), 1);
    auto* joined = qobject_cast<QLineEdit*>(input.segmentWidget(0));
    EXPECT_EQ(joined->cursorPosition(), 2);
    QTest::keyClicks(joined, QStringLiteral("<//>X<|AC|>"));  // markers cannot be typed
    EXPECT_EQ(input.GetPatternString(), QStringLiteral("abXcd"));

    input.setWidthTwips(99999);
    EXPECT_EQ(input.width(), 200);
    input.setWidthTwips(10);
    EXPECT_EQ(input.width(), 40);
    input.SetPatternString(QStringLiteral("a-long-literal-text-that-cannot-fit"));
    QTest::mouseClick(&input, Qt::LeftButton, {}, QPoint(input.width() - 3, 5));
    EXPECT_GT(input.scrollOffset(), 0);  // the end of the text is in view
}

TEST(RulesPaperTest, OrderDeleteAndButtonsFollowTheList) {
    RuleList list(EngineContext{});
    RulesPaper paper(list);
    for (const char* title : {"c", "b", "a"}) {
        paper.AddNewRule();
        auto* field = Field(paper.panel(0), "txtTitle");
        field->selectAll();
        QTest::keyClicks(field, QString::fromLatin1(title));
    }
    auto titles = [&] {
        QString t;
        for (const RuleAttr& a : paper.GetRuleAttrs()) t += a.ruleTitle;
        return t;
    };
    EXPECT_EQ(titles(), QStringLiteral("abc"));
    ZolRulePanel* top = paper.panel(0);
    EXPECT_FALSE(Child<WexButton>(top, "cmdUp")->Enable());
    Click(Child<WexButton>(top, "cmdDown"));
    EXPECT_EQ(titles(), QStringLiteral("bac"));
    EXPECT_EQ(paper.panel(1), top);
    EXPECT_EQ(paper.grid().getControlRowNum(top), 2);

    Click(Child<WexButton>(top, "cmdClose"));  // only shows the strip
    Click(Child<WexStandardBtn>(top, "btnDeleteCancel"));
    EXPECT_EQ(list.ruleCount(), 3);
    Click(Child<WexButton>(top, "cmdClose"));
    Click(Child<WexStandardBtn>(top, "btnDeleteOK"));
    EXPECT_EQ(titles(), QStringLiteral("bc"));
    EXPECT_EQ(paper.grid().rowCount(), 2);
    Click(Child<WexButton>(paper.panel(0), "cmdClose"));
    Click(Child<WexStandardBtn>(paper.panel(0), "btnDeleteOK"));
    ZolRulePanel* last = paper.panel(0);
    for (const char* b : {"cmdUp", "cmdDown", "cmdClose"})
        EXPECT_FALSE(Child<WexButton>(last, b)->Enable()) << b;
}

TEST(RulesPaperTest, LongListsBuildOnlyTheRowsInView) {
    RuleList list(EngineContext{});
    QString text;
    for (int i = 0; i < 300; ++i) {
        list.AddNewRule(QStringLiteral("r%1<|RU|>All<|RU|>Name<|CP|>is<|CD|>x<|RU|><|RU|>").arg(i));
    }
    const QString saved = list.SaveToString();
    QScrollArea area;
    area.resize(520, 400);
    auto* paper = new RulesPaper(list);
    area.setWidget(paper);
    area.show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_GT(paper->createdPanelCount(), 0);
    EXPECT_LT(paper->createdPanelCount(), 30);
    EXPECT_EQ(paper->grid().rowHeight(300), ZolRulePanel::heightFor(list.rule(299)) + 15);
    area.verticalScrollBar()->setValue(area.verticalScrollBar()->maximum());
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_NE(paper->createdPanel(299), nullptr);
    EXPECT_EQ(paper->createdPanel(299)->heightTwips() + 15, paper->grid().rowHeight(300));
    EXPECT_EQ(paper->SaveToString(), saved);
}

TEST(RuleEditorTest, BuildsAWorkingRuleThroughTheWidgets) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("in")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("out")));
    QFile f(dir.path() + QStringLiteral("/in/Report-2026.TXT"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();

    RuleList list(EngineContext{});
    RulesPaper paper(list);
    paper.AddNewRule();
    ZolRulePanel* p = paper.panel(0);
    auto* title = Field(p, "txtTitle");
    title->selectAll();
    QTest::keyClicks(title, QStringLiteral("Reports<|RU|>"));
    Pick(Child<WexCombo>(p, "cmbAnyAll"), QStringLiteral("Any"));

    ZolConditionPanel* cond = p->conditionPanel();
    Pick(cond->selectorAt(1), QStringLiteral("Extension"));
    // Space on the add button adds a row; the keyboard is enough.
    QTest::keyClick(cond->buttonsAt(1)->addButton(), Qt::Key_Space);
    ASSERT_EQ(cond->rowCount(), 2);
    Pick(cond->selectorAt(2), QStringLiteral("Name"));
    Pick(Child<WexCombo>(cond->editorAt(2), "cmbOP"), QStringLiteral("starts with"));
    QTest::keyClicks(Field(cond->editorAt(2), "txtParams"), QStringLiteral("report"));

    ZolActionPanel* act = p->actionPanel();
    Pick(act->selectorAt(1), QStringLiteral("Move to"));
    auto* folder = Child<WexFolder>(act->editorAt(1), "cmbFolder");
    folder->setChooser([&](QWidget*, const QString&) { return dir.path() + "/out<|AC|>"; });
    Click(folder);
    Click(Child<WexExpandBtn>(act->editorAt(1), "cmdOptions"));
    Click(Child<WexRadio>(act->editorAt(1), "optReplace"));
    EXPECT_EQ(Child<WexRadio>(act->editorAt(1), "optRename")->Value(), 0);

    const QString expected = QStringLiteral(
                                 "Reports<|RU|>Any<|RU|>Extension<|CP|>is<|CD|>txt<|CP|>Name<|CP|>"
                                 "starts with<|CD|>report<|RU|>Move to<|AP|>") +
                             dir.path() +
                             QStringLiteral("/out<|AC|>0<|AC|><//>date.current<//><|AC|>0<|RU|>") +
                             list.rule(0).ruleGUID();
    EXPECT_EQ(paper.SaveToString(), expected);

    // Tab walks a row: selector, operator, text, add, delete, then the next row.
    paper.show();
    paper.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&paper));
    cond->selectorAt(2)->setFocus();
    for (QWidget* next : std::initializer_list<QWidget*>{
             Child<WexCombo>(cond->editorAt(2), "cmbOP"), Field(cond->editorAt(2), "txtParams"),
             cond->buttonsAt(2)->addButton(), cond->buttonsAt(2)->delButton()}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
    EXPECT_EQ(title->text(), QStringLiteral("Reports"));

    EXPECT_EQ(paper.DoRunRules(dir.path() + QStringLiteral("/in/Report-2026.TXT")),
              QStringLiteral("Reports"));
    EXPECT_TRUE(QFile::exists(dir.path() + QStringLiteral("/out/Report-2026.TXT")));
}
