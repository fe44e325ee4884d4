// The rule list in the editor, over a RuleList model: one rule panel per row of a
// one-column grid, top of the list first; new rules on top; reordering and deletion
// from the panels' buttons, with the first rule unable to move up, the last unable to
// move down and a single rule unable to move or be deleted. Panels are created when
// their row first comes into view, so long lists open quickly; rows not yet seen take
// the height their rule will have. UI thread only.
#pragma once

#include <QWidget>
#include <vector>

#include "rules/rule_list.h"
#include "rules/view/zol_grid.h"

namespace vandrel {

class ZolRulePanel;

class RulesPaper : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kColumnWidth = 6850;  // twips
    static constexpr int kNewRowHeight = 2400;
    static constexpr int kRowExtra = 15;

    // list: the rules shown; it must outlive the paper.
    explicit RulesPaper(RuleList& list, QWidget* parent = nullptr);

    std::vector<RuleAttr> GetRuleAttrs() const { return list_.GetRuleAttrs(); }
    void LoadFromString(const QString& text);
    QString SaveToString() const { return list_.SaveToString(); }
    QString DoRulesTest(const QString& path, const QString& selection = QStringLiteral("all"));
    QString DoRunRules(const QString& path, const QString& selection = QStringLiteral("all"));
    void AddNewRule(const QString& ruleText = QString());

    ZolGrid& grid() { return grid_; }
    RuleList& model() { return list_; }
    // The panel of rule index (0 is the top), creating it when it does not exist yet.
    ZolRulePanel* panel(int index);
    // The panel if it has been created, else null.
    ZolRulePanel* createdPanel(int index) const;
    int createdPanelCount() const;

  signals:
    void Resize(int widthTwips, int heightTwips);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void relayout();
    void refreshButtons(ZolRulePanel* p, int index) const;
    void refreshAllButtons();
    void createVisiblePanels();
    void scheduleVisible();
    void dropPanel(int index);
    int indexOfPanel(const ZolRulePanel* p) const;
    void onOrder(ZolRulePanel* p, int delta);
    void onClose(ZolRulePanel* p);
    void onPanelResize(ZolRulePanel* p, int heightTwips);

    RuleList& list_;
    ZolGrid grid_;
    std::vector<ZolRulePanel*> panels_;  // per rule, null until created
    int counter_ = 0;                    // numbers created panels, never reset
    bool visibleScheduled_ = false;
};

}  // namespace vandrel
