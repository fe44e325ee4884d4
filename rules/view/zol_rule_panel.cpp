#include "rules/view/zol_rule_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

#include "controls/standard/wex_button.h"
#include "controls/standard/wex_combo.h"
#include "controls/standard/wex_standard_btn.h"
#include "controls/standard/wex_text.h"
#include "rules/rule_text.h"
#include "rules/view/editor_fields.h"
#include "rules/view/typed_text_guard.h"
#include "rules/view/view_twips.h"
#include "rules/view/zol_action_panel.h"
#include "rules/view/zol_condition_panel.h"

namespace vandrel {

using namespace wexcontrols;

namespace {

// Stacking of the parts, in twips.
constexpr int kTitleTop = 80;
constexpr int kIfTop = 480;
constexpr int kListsLeft = 60;
constexpr int kConditionsTop = 840;
constexpr int kCaptionGap = 30;     // "Do the following:" below the conditions
constexpr int kActionsBelow = 300;  // the actions below that caption's top
constexpr int kBottomMargin = 80;

WexButton* smallButton(QWidget* parent, const QString& name, const QString& style,
                       const QString& accessible) {
    auto* b = new WexButton(parent);
    b->setObjectName(name);
    b->setButtonStyle(style);
    b->setAccessibleName(accessible);
    b->setToolTip(accessible);
    return b;
}

WexStandardBtn* stripButton(QWidget* parent, const QString& name, const QString& text) {
    auto* b = new WexStandardBtn(parent);
    b->setObjectName(name);
    b->setText(text);
    return b;
}

}  // namespace

int ZolRulePanel::heightFor(const Rule& rule) {
    const int conditions = ZolRowsPanel::heightFor(rule.conditions().rowCount());
    const int actions = ZolRowsPanel::heightFor(rule.actions().rowCount());
    return kConditionsTop + conditions + kCaptionGap + kActionsBelow + actions + kBottomMargin;
}

ZolRulePanel::ZolRulePanel(Rule& rule, QWidget* parent)
    : QWidget(parent), rule_(rule), background_(0xf6, 0xf8, 0xfb) {
    setAccessibleName(QStringLiteral("Rule ") + rule.ruleTitle());
    // The rows are sized in twips for an 8-point interface font; a larger desktop font
    // would clip the selector and operator texts.
    QFont small = font();
    small.setPointSizeF(8);
    setFont(small);
    auto* titleCaption = MakeCaption(this, QStringLiteral("Title:"));
    PlaceField(titleCaption, 120, kTitleTop, 500);
    title_ =
        MakeTextField(this, QStringLiteral("txtTitle"), QStringLiteral("Title"), rule.ruleTitle());
    PlaceField(title_, 640, kTitleTop, 4300);
    connect(title_, &WexText::textEdited, this, [this](const QString& t) {
        rule_.setTitle(t);
        setAccessibleName(QStringLiteral("Rule ") + rule_.ruleTitle());
    });

    up_ = smallButton(this, QStringLiteral("cmdUp"), QStringLiteral("up"),
                      QStringLiteral("Move the rule up"));
    down_ = smallButton(this, QStringLiteral("cmdDown"), QStringLiteral("down"),
                        QStringLiteral("Move the rule down"));
    close_ = smallButton(this, QStringLiteral("cmdClose"), QStringLiteral("close"),
                         QStringLiteral("Delete the rule"));
    PlaceField(up_, kWidth - 1080, kTitleTop, 300);
    PlaceField(down_, kWidth - 750, kTitleTop, 300);
    PlaceField(close_, kWidth - 420, kTitleTop, 300);
    connect(up_, &WexButton::Click, this, &ZolRulePanel::OrderUp);
    connect(down_, &WexButton::Click, this, &ZolRulePanel::OrderDown);
    connect(close_, &WexButton::Click, this, [this] { showDeleteStrip(true); });

    // The close button only shows this strip; "Delete" confirms, "Cancel" takes it away.
    deleteStrip_ = new QWidget(this);
    deleteStrip_->setObjectName(QStringLiteral("picDelete"));
    deleteStrip_->setAutoFillBackground(true);
    auto* stripLayout = new QHBoxLayout(deleteStrip_);
    stripLayout->setContentsMargins(2, 0, 2, 0);
    stripLayout->setSpacing(4);
    deleteOk_ = stripButton(deleteStrip_, QStringLiteral("btnDeleteOK"), QStringLiteral("Delete"));
    auto* cancel =
        stripButton(deleteStrip_, QStringLiteral("btnDeleteCancel"), QStringLiteral("Cancel"));
    stripLayout->addWidget(deleteOk_);
    stripLayout->addWidget(cancel);
    deleteStrip_->setGeometry(TwipsToPx(kWidth - 2350), TwipsToPx(kTitleTop - 40), TwipsToPx(2300),
                              TwipsToPx(380));
    deleteStrip_->hide();
    connect(deleteOk_, &WexStandardBtn::Click, this, &ZolRulePanel::RuleClose);
    connect(cancel, &WexStandardBtn::Click, this, [this] { showDeleteStrip(false); });

    ifLabel_ = MakeCaption(this, QStringLiteral("If"));
    PlaceField(ifLabel_, 120, kIfTop, 200);
    anyAll_ = MakeCombo(this, QStringLiteral("cmbAnyAll"), QStringLiteral("Match mode"),
                        {QStringLiteral("All"), QStringLiteral("Any")}, rule.matchMode());
    PlaceField(anyAll_, 340, kIfTop, 900);
    connect(anyAll_, &WexCombo::Click, this, [this] { rule_.setMatchMode(anyAll_->Text()); });
    metLabel_ = MakeCaption(this, QStringLiteral("of the following conditions are met"));
    PlaceField(metLabel_, 1300, kIfTop, 4000);
    doLabel_ = MakeCaption(this, QStringLiteral("Do the following:"));
    buildLists();
}

void ZolRulePanel::buildLists() {
    delete conditions_;
    delete actions_;
    conditions_ = new ZolConditionPanel(rule_.conditions(), this);
    conditions_->setObjectName(QStringLiteral("oZolConditionPanel"));
    actions_ = new ZolActionPanel(rule_.actions(), this);
    actions_->setObjectName(QStringLiteral("oZolActionPanel"));
    connect(conditions_, &ZolRowsPanel::Resize, this, &ZolRulePanel::stack);
    connect(actions_, &ZolRowsPanel::Resize, this, &ZolRulePanel::stack);
    conditions_->show();
    actions_->show();
    // Tab: title, match mode, the conditions, the actions, then the small buttons.
    setTabOrder(title_, anyAll_);
    setTabOrder(up_, down_);
    setTabOrder(down_, close_);
    stack();
}

void ZolRulePanel::stack() {
    if (!conditions_ || !actions_) return;
    conditions_->move(TwipsToPx(kListsLeft), TwipsToPx(kConditionsTop));
    const int conditionsBottom = kConditionsTop + PxToTwips(conditions_->height());
    const int captionTop = conditionsBottom + kCaptionGap;
    PlaceField(doLabel_, 120, captionTop, 3000);
    const int actionsTop = captionTop + kActionsBelow;
    actions_->move(TwipsToPx(kListsLeft), TwipsToPx(actionsTop));
    heightTwips_ = actionsTop + PxToTwips(actions_->height()) + kBottomMargin;
    setFixedSize(TwipsToPx(kWidth), TwipsToPx(heightTwips_));
    emit Resize(kWidth, heightTwips_);
}

void ZolRulePanel::LoadFromString(const QString& text) {
    // The old rows go before the rule's rows are replaced (see ZolRowsPanel::clearRows).
    conditions_->clearRows();
    actions_->clearRows();
    rule_.LoadFromString(text);
    title_->setText(rule_.ruleTitle());
    anyAll_->setText(rule_.matchMode());
    buildLists();
}

void ZolRulePanel::HideAllSmallBtns() {
    up_->hide();
    down_->hide();
    close_->hide();
}

void ZolRulePanel::EnableUpButton(bool on) { up_->setEnable(on); }
void ZolRulePanel::EnableDownButton(bool on) { down_->setEnable(on); }
void ZolRulePanel::EnableCloseButton(bool on) {
    close_->setEnable(on);
    if (!on) showDeleteStrip(false);
}

void ZolRulePanel::SetBGColor(const QColor& colour) {
    background_ = colour;
    update();
}

void ZolRulePanel::showDeleteStrip(bool on) {
    deleteStrip_->setVisible(on);
    if (on) {
        deleteStrip_->raise();
        deleteOk_->setFocus(Qt::OtherFocusReason);
    }
}

void ZolRulePanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0xc4, 0xcc, 0xd8));
    p.setBrush(background_);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
}

}  // namespace vandrel
