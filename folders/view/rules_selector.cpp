#include "folders/view/rules_selector.h"

#include "aqua_v_scroll_bar.h"
#include "folders/rules_selector_model.h"
#include "standard/wex_check.h"
#include "twips.h"

namespace vandrel {

using vitreon::twipsToPixels;

namespace {
constexpr int kScrollWidth = 255;
constexpr int kBoxWidth = RulesSelector::kWidthTwips - kScrollWidth - 60;
}  // namespace

RulesSelector::RulesSelector(RulesSelectorModel& model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      picFrame_(new QWidget(this)),
      picBack_(new QWidget(picFrame_)),
      oAquaVScrollBar_(new vitreon::AquaVScrollBar(this)) {
    setFixedSize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
    picFrame_->setGeometry(0, 0, twipsToPixels(kWidthTwips - kScrollWidth - 30), height());
    picBack_->setObjectName(QStringLiteral("picBack"));
    oAquaVScrollBar_->setObjectName(QStringLiteral("oAquaVScrollBar"));
    oAquaVScrollBar_->setGeometry(width() - twipsToPixels(kScrollWidth), 0,
                                  twipsToPixels(kScrollWidth), height());
    oAquaVScrollBar_->hide();
    connect(oAquaVScrollBar_, &vitreon::AquaVScrollBar::Scroll, this,
            [this](qint32 v) { picBack_->move(0, -twipsToPixels(v)); });
    auto* all = new wexcontrols::WexCheck(picBack_);
    all->setObjectName(QStringLiteral("chkRule0"));
    all->setCaption(QStringLiteral("Apply all rules"));
    all->setGeometry(0, 0, twipsToPixels(kBoxWidth), twipsToPixels(kPitchTwips));
    connect(all, &wexcontrols::WexCheck::Click, this, [this, all] {
        model_.ClickAllRules(all->Value() != 0);
        showModel();
    });
    boxes_.push_back(all);
    picBack_->setGeometry(0, 0, twipsToPixels(kBoxWidth), twipsToPixels(kPitchTwips));
    showModel();
}

void RulesSelector::SetCurRuleAttrs(const std::vector<RuleAttr>& rules) {
    for (size_t i = 1; i < boxes_.size(); ++i) delete boxes_[i];
    boxes_.resize(1);
    model_.SetCurRuleAttrs(rules);
    const int n = static_cast<int>(model_.ruleBoxes().size());
    for (int i = 0; i < n; ++i) {
        auto* box = new wexcontrols::WexCheck(picBack_);
        box->setObjectName(QStringLiteral("chkRule%1").arg(i + 1));
        box->setCaption(model_.ruleBoxes()[static_cast<size_t>(i)].title);
        box->setToolTip(box->Caption());
        box->setGeometry(0, twipsToPixels((i + 1) * kPitchTwips), twipsToPixels(kBoxWidth),
                         twipsToPixels(kPitchTwips));
        box->show();
        connect(box, &wexcontrols::WexCheck::Click, this, [this, box, i] {
            model_.ClickRule(i, box->Value() != 0);
            showModel();
        });
        boxes_.push_back(box);
    }
    const int contentTwips = (n + 1) * kPitchTwips;
    picBack_->setGeometry(0, 0, twipsToPixels(kBoxWidth), twipsToPixels(contentTwips));
    const bool scroll = contentTwips > kHeightTwips;
    oAquaVScrollBar_->setVisible(scroll);
    oAquaVScrollBar_->setMin(0);
    oAquaVScrollBar_->setValue(0);
    oAquaVScrollBar_->setMax(scroll ? contentTwips - kHeightTwips : 0);
    showModel();
}

bool RulesSelector::scrollBarShown() const { return !oAquaVScrollBar_->isHidden(); }

void RulesSelector::showModel() {
    boxes_[0]->setValue(model_.allRulesChecked() ? 1 : 0);
    const auto& modelBoxes = model_.ruleBoxes();
    for (size_t i = 1; i < boxes_.size() && i - 1 < modelBoxes.size(); ++i)
        boxes_[i]->setValue(modelBoxes[i - 1].checked ? 1 : 0);
}

}  // namespace vandrel
