// One rule in the editor, over a Rule model: the title line, "If ... of the following
// conditions are met" with the match mode, the condition rows, "Do the following:" and
// the action rows, with the up, down and close buttons and the "Delete"/"Cancel" strip.
// Every edit goes into the rule at once. UI thread only.
#pragma once

#include <QWidget>

#include "rules/rule.h"

class QLabel;

namespace wexcontrols {
class WexButton;
class WexCombo;
class WexStandardBtn;
class WexText;
}  // namespace wexcontrols

namespace vandrel {

class ZolActionPanel;
class ZolConditionPanel;

class ZolRulePanel : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 6650;  // twips
    // The panel's height in twips for a rule whose rows all have the normal height.
    static int heightFor(const Rule& rule);

    // rule: the rule edited; it must outlive the panel.
    explicit ZolRulePanel(Rule& rule, QWidget* parent = nullptr);

    const QString& ruleGUID() const { return rule_.ruleGUID(); }
    const QString& ruleTitle() const { return rule_.ruleTitle(); }
    QString GetRuleTitle() const { return rule_.GetRuleTitle(); }
    Rule& rule() { return rule_; }

    void HideAllSmallBtns();
    void EnableUpButton(bool on);
    void EnableDownButton(bool on);
    void EnableCloseButton(bool on);
    void SetBGColor(const QColor& colour);
    void LoadFromString(const QString& text);
    QString SaveToString() const { return rule_.SaveToString(); }

    ZolConditionPanel* conditionPanel() const { return conditions_; }
    ZolActionPanel* actionPanel() const { return actions_; }
    // Height in twips as last laid out.
    int heightTwips() const { return heightTwips_; }

  signals:
    void Resize(int widthTwips, int heightTwips);
    void OrderUp();
    void OrderDown();
    void RuleClose();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void buildLists();
    void stack();
    void showDeleteStrip(bool on);

    Rule& rule_;
    wexcontrols::WexText* title_;
    wexcontrols::WexCombo* anyAll_;
    QLabel* ifLabel_;
    QLabel* metLabel_;
    QLabel* doLabel_;
    wexcontrols::WexButton* up_;
    wexcontrols::WexButton* down_;
    wexcontrols::WexButton* close_;
    QWidget* deleteStrip_;
    wexcontrols::WexStandardBtn* deleteOk_;
    ZolConditionPanel* conditions_ = nullptr;
    ZolActionPanel* actions_ = nullptr;
    QColor background_;
    int heightTwips_ = 0;
};

}  // namespace vandrel
