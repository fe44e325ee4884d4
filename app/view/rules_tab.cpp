#include "app/view/rules_tab.h"

#include "aqua_add_button.h"
#include "aqua_function_button.h"
#include "aqua_v_scroll_bar.h"
#include "rules/view/rules_paper.h"
#include "twips.h"

namespace vandrel {

using vitreon::twipsToPixels;

namespace {
constexpr int kScrollWidth = 255;
constexpr int kFrameWidth = RulesTab::kWidthTwips - kScrollWidth - 45;
}  // namespace

RulesTab::RulesTab(RuleList& rules, QWidget* parent)
    : QWidget(parent),
      picPaper_(new QWidget(this)),
      oRulesPaper_(new RulesPaper(rules, picPaper_)),
      oAquaVScrollBar_(new vitreon::AquaVScrollBar(this)),
      btnAdd_(new vitreon::AquaAddButton(this)),
      btnFunction_(new vitreon::AquaFunctionButton(this)) {
    setFixedSize(twipsToPixels(kWidthTwips), twipsToPixels(kFrameTopTwips + kFrameHeightTwips));
    btnAdd_->setObjectName(QStringLiteral("btnAdd"));
    btnAdd_->setToolTip(QStringLiteral("Add a new rule"));
    btnAdd_->move(0, 0);
    btnFunction_->setObjectName(QStringLiteral("btnFunction"));
    btnFunction_->setToolTip(QStringLiteral("Export or import the rules"));
    btnFunction_->move(btnAdd_->width() + twipsToPixels(90), 0);
    connect(btnAdd_, &vitreon::AquaAddButton::Click, this, &RulesTab::addRule);
    connect(btnFunction_, &vitreon::AquaFunctionButton::Click, this, [this] {
        emit functionMenuAt(btnFunction_->mapToGlobal(QPoint(0, btnFunction_->height())));
    });

    picPaper_->setObjectName(QStringLiteral("picPaper"));
    picPaper_->setGeometry(twipsToPixels(0), twipsToPixels(kFrameTopTwips),
                           twipsToPixels(kFrameWidth), twipsToPixels(kFrameHeightTwips));
    picPaper_->setAutoFillBackground(true);
    QPalette pal = picPaper_->palette();
    pal.setColor(QPalette::Window, Qt::white);
    picPaper_->setPalette(pal);
    oRulesPaper_->setObjectName(QStringLiteral("oRulesPaper"));
    oRulesPaper_->move(twipsToPixels(kListLeft), twipsToPixels(kListTop));
    oAquaVScrollBar_->setObjectName(QStringLiteral("oAquaVScrollBar"));
    oAquaVScrollBar_->setGeometry(twipsToPixels(kFrameWidth + 45), twipsToPixels(kFrameTopTwips),
                                  twipsToPixels(kScrollWidth), twipsToPixels(kFrameHeightTwips));
    connect(oAquaVScrollBar_, &vitreon::AquaVScrollBar::Scroll, this, [this](qint32 v) {
        oRulesPaper_->move(twipsToPixels(kListLeft), twipsToPixels(kListTop - v));
    });
    connect(oRulesPaper_, &RulesPaper::Resize, this, [this](int, int h) { paperResized(h); });
    paperResized(vitreon::pixelsToTwips(oRulesPaper_->height()));
}

void RulesTab::addRule() {
    oAquaVScrollBar_->setValue(1);
    oRulesPaper_->move(twipsToPixels(kListLeft), twipsToPixels(kListTop));
    oRulesPaper_->AddNewRule();
}

void RulesTab::paperResized(int heightTwips) {
    if (kFrameHeightTwips > heightTwips) {
        oRulesPaper_->move(twipsToPixels(kListLeft), twipsToPixels(kListTop));
        oAquaVScrollBar_->setMin(1);
        oAquaVScrollBar_->setMax(1);
        oAquaVScrollBar_->setValue(1);
        oAquaVScrollBar_->update();
        return;
    }
    // The whole list can be scrolled into view, its bottom margin included.
    oAquaVScrollBar_->setMin(1);
    oAquaVScrollBar_->setValue(1);
    oAquaVScrollBar_->setMax(heightTwips - kFrameHeightTwips + 2 * kListTop);
    oRulesPaper_->move(twipsToPixels(kListLeft), twipsToPixels(kListTop - 1));
    oAquaVScrollBar_->update();
}

}  // namespace vandrel
