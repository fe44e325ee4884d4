#include "rules/view/rules_paper.h"

#include <QPaintEvent>
#include <QTimer>

#include "rules/view/view_twips.h"
#include "rules/view/zol_rule_panel.h"

namespace vandrel {

namespace {
// Rows this far (twips) beyond the visible area are built ahead, so scrolling shows
// finished panels.
constexpr int kBuildAhead = 6000;
}  // namespace

RulesPaper::RulesPaper(RuleList& list, QWidget* parent)
    : QWidget(parent), list_(list), grid_(this) {
    setObjectName(QStringLiteral("oRulesPaper"));
    grid_.Init(0, 0);
    grid_.addCol(kColumnWidth);
    connect(&grid_, &ZolGrid::Resize, this, [this](int w, int h) {
        setFixedSize(TwipsToPx(w), TwipsToPx(h));
        emit Resize(w, h);
    });
    LoadFromString(list_.SaveToString());
}

ZolRulePanel* RulesPaper::createdPanel(int index) const {
    return (index >= 0 && index < static_cast<int>(panels_.size())) ? panels_[index] : nullptr;
}

int RulesPaper::createdPanelCount() const {
    int n = 0;
    for (ZolRulePanel* p : panels_) n += p ? 1 : 0;
    return n;
}

int RulesPaper::indexOfPanel(const ZolRulePanel* p) const {
    for (int i = 0; i < static_cast<int>(panels_.size()); ++i)
        if (panels_[i] == p) return i;
    return -1;
}

ZolRulePanel* RulesPaper::panel(int index) {
    if (index < 0 || index >= static_cast<int>(panels_.size())) return nullptr;
    if (panels_[index]) return panels_[index];
    auto* p = new ZolRulePanel(list_.rule(index), this);
    p->setObjectName(QStringLiteral("ZolRulePanel%1").arg(++counter_));
    panels_[index] = p;
    connect(p, &ZolRulePanel::OrderUp, this, [this, p] { onOrder(p, -1); });
    connect(p, &ZolRulePanel::OrderDown, this, [this, p] { onOrder(p, +1); });
    connect(p, &ZolRulePanel::RuleClose, this, [this, p] { onClose(p); });
    connect(p, &ZolRulePanel::Resize, this, [this, p](int, int h) { onPanelResize(p, h); });
    refreshButtons(p, index);
    grid_.appendControl(p, 1, index + 1);
    grid_.resizeRowHeight(index + 1, p->heightTwips() + kRowExtra);
    p->show();
    return p;
}

void RulesPaper::dropPanel(int index) {
    ZolRulePanel* p = panels_[index];
    if (!p) return;
    // Called from the panel's own "Delete" button: hide it now, delete it afterwards.
    p->hide();
    p->disconnect(this);
    p->deleteLater();
}

void RulesPaper::LoadFromString(const QString& text) {
    for (int i = 0; i < static_cast<int>(panels_.size()); ++i) dropPanel(i);
    while (grid_.rowCount() > 0) grid_.delRow(1);
    panels_.clear();
    if (text != list_.SaveToString()) list_.LoadFromString(text);
    panels_.assign(static_cast<std::size_t>(list_.ruleCount()), nullptr);
    for (int i = 0; i < list_.ruleCount(); ++i)
        grid_.addRow(-1, ZolRulePanel::heightFor(list_.rule(i)) + kRowExtra);
    relayout();
}

void RulesPaper::AddNewRule(const QString& ruleText) {
    list_.AddNewRule(ruleText);
    grid_.addRow(0, kNewRowHeight);
    panels_.insert(panels_.begin(), nullptr);
    panel(0);
    refreshAllButtons();
    relayout();
}

QString RulesPaper::DoRulesTest(const QString& path, const QString& selection) {
    return list_.DoRulesTest(path, selection);
}

QString RulesPaper::DoRunRules(const QString& path, const QString& selection) {
    return list_.DoRunRules(path, selection);
}

void RulesPaper::refreshButtons(ZolRulePanel* p, int index) const {
    p->EnableUpButton(list_.canMoveUp(index));
    p->EnableDownButton(list_.canMoveDown(index));
    p->EnableCloseButton(list_.canClose(index));
}

void RulesPaper::refreshAllButtons() {
    for (int i = 0; i < static_cast<int>(panels_.size()); ++i)
        if (panels_[i]) refreshButtons(panels_[i], i);
}

void RulesPaper::relayout() {
    grid_.ReArrange();
    scheduleVisible();
}

void RulesPaper::onOrder(ZolRulePanel* p, int delta) {
    const int i = indexOfPanel(p);
    const int j = i + delta;
    if (i < 0 || j < 0 || j >= static_cast<int>(panels_.size())) return;
    if (delta < 0)
        list_.OrderUp(i);
    else
        list_.OrderDown(i);
    // The two rows exchange their panels, each row taking its new panel's height.
    const int hi = grid_.rowHeight(i + 1);
    const int hj = grid_.rowHeight(j + 1);
    grid_.releaseControl(1, i + 1);
    grid_.releaseControl(1, j + 1);
    std::swap(panels_[i], panels_[j]);
    if (panels_[i]) grid_.appendControl(panels_[i], 1, i + 1);
    if (panels_[j]) grid_.appendControl(panels_[j], 1, j + 1);
    grid_.resizeRowHeight(i + 1, hj);
    grid_.resizeRowHeight(j + 1, hi);
    refreshAllButtons();
    relayout();
    if (ZolRulePanel* moved = panels_[j]) moved->setFocus(Qt::OtherFocusReason);
}

void RulesPaper::onClose(ZolRulePanel* p) {
    const int i = indexOfPanel(p);
    if (i < 0 || !list_.canClose(i)) return;
    // The panel goes first: hiding it may still read its rule (a field losing the focus).
    dropPanel(i);
    list_.RemoveRule(i);
    panels_.erase(panels_.begin() + i);
    grid_.delRow(i + 1);
    refreshAllButtons();
    relayout();
}

void RulesPaper::onPanelResize(ZolRulePanel* p, int heightTwips) {
    const int i = indexOfPanel(p);
    if (i < 0) return;
    grid_.resizeRowHeight(i + 1, heightTwips + kRowExtra);
    relayout();
}

void RulesPaper::scheduleVisible() {
    if (visibleScheduled_ || !isVisible()) return;
    visibleScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        visibleScheduled_ = false;
        createVisiblePanels();
    });
}

void RulesPaper::createVisiblePanels() {
    const QRect seen = visibleRegion().boundingRect();
    if (seen.isEmpty()) return;
    const int top = PxToTwips(seen.top()) - kBuildAhead;
    const int bottom = PxToTwips(seen.bottom()) + kBuildAhead;
    bool created = false;
    int y = 0;
    for (int r = 1; r <= grid_.rowCount() && y <= bottom; ++r) {
        const int h = grid_.rowHeight(r);
        if (y + h >= top && !panels_[r - 1]) {
            panel(r - 1);
            created = true;
        }
        y += grid_.rowHeight(r);
    }
    if (created) grid_.ReArrange();
}

void RulesPaper::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    scheduleVisible();
}

void RulesPaper::paintEvent(QPaintEvent* event) {
    // Scrolling exposes new rows; build their panels once this paint is done.
    QWidget::paintEvent(event);
    scheduleVisible();
}

}  // namespace vandrel
