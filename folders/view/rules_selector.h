// The rule selector of a folder row: "Apply all rules" and one box per rule, over the
// folder's RulesSelectorModel, with a glossy scroll bar when the boxes do not fit. Every
// click goes to the model at once, and the boxes show what the model holds.
#pragma once

#include <QWidget>
#include <vector>

#include "rules/rule_attr.h"

namespace vitreon {
class AquaVScrollBar;
}
namespace wexcontrols {
class WexCheck;
}

namespace vandrel {

class RulesSelectorModel;

class RulesSelector : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidthTwips = 2850;
    static constexpr int kHeightTwips = 1440;
    static constexpr int kPitchTwips = 250;

    // model must outlive the selector.
    explicit RulesSelector(RulesSelectorModel& model, QWidget* parent = nullptr);

    // Rebuilds the boxes for the rules and ticks them from the selection.
    void SetCurRuleAttrs(const std::vector<RuleAttr>& rules);
    // Box 0 is "Apply all rules", boxes 1..n the rules.
    std::vector<wexcontrols::WexCheck*> boxes() const { return boxes_; }
    bool scrollBarShown() const;

  private:
    void showModel();

    RulesSelectorModel& model_;
    QWidget* picFrame_;
    QWidget* picBack_;
    vitreon::AquaVScrollBar* oAquaVScrollBar_;
    std::vector<wexcontrols::WexCheck*> boxes_;
};

}  // namespace vandrel
