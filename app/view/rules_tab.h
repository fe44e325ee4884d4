// The rules tab of the settings window: "add" and the function button above the rule
// list, which sits in a white frame with its glossy scroll bar. The list is scrolled by
// moving it inside the frame.
#pragma once

#include <QWidget>

namespace vitreon {
class AquaAddButton;
class AquaFunctionButton;
class AquaVScrollBar;
}  // namespace vitreon

namespace vandrel {

class RuleList;
class RulesPaper;

class RulesTab : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidthTwips = 7200;
    static constexpr int kFrameTopTwips = 480;
    static constexpr int kFrameHeightTwips = 7140;
    static constexpr int kListLeft = 15;
    static constexpr int kListTop = 15;

    // rules must outlive the tab.
    explicit RulesTab(RuleList& rules, QWidget* parent = nullptr);

    RulesPaper* paper() const { return oRulesPaper_; }
    vitreon::AquaVScrollBar* scrollBar() const { return oAquaVScrollBar_; }
    // btnAdd: a new rule on top, with the list scrolled to it.
    void addRule();

  signals:
    // The function button was pressed; below is where its menu drops down (global).
    void functionMenuAt(const QPoint& below);

  private:
    void paperResized(int heightTwips);

    QWidget* picPaper_;
    RulesPaper* oRulesPaper_;
    vitreon::AquaVScrollBar* oAquaVScrollBar_;
    vitreon::AquaAddButton* btnAdd_;
    vitreon::AquaFunctionButton* btnFunction_;
};

}  // namespace vandrel
