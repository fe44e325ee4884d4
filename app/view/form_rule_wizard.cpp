#include "app/view/form_rule_wizard.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

#include "app/app_var_mgr.h"
#include "app/view/window_drag.h"
#include "aqua_button.h"
#include "aqua_close_btn.h"
#include "rules/rule.h"
#include "rules/rule_text.h"
#include "rules/view/zol_rule_panel.h"
#include "twips.h"

namespace vandrel {

using vitreon::twipsToPixels;

namespace {
constexpr int kMargin = 150;
constexpr int kTopHeight = 390;
constexpr int kPanelTop = 1200;
constexpr int kBottomHeight = 600;
}  // namespace

FormRuleWizard::FormRuleWizard(AppVarMgr& vars, const EngineContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      vars_(vars),
      rule_(std::make_unique<Rule>(ctx)) {
    setObjectName(QStringLiteral("FormRuleWizard"));
    setWindowTitle(QStringLiteral("Rule Wizard"));
    setAttribute(Qt::WA_DeleteOnClose);
    const int width = ZolRulePanel::kWidth + 2 * kMargin;

    picTop_ = new QWidget(this);
    picTop_->setObjectName(QStringLiteral("picTop"));
    picTop_->setGeometry(0, 0, twipsToPixels(width), twipsToPixels(kTopHeight));
    auto* caption = new QLabel(QStringLiteral("Rule Wizard"), picTop_);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    caption->setStyleSheet(QStringLiteral("color: white;"));
    caption->setGeometry(twipsToPixels(240), 0, twipsToPixels(4000), twipsToPixels(kTopHeight));
    caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    new WindowDrag(picTop_, this);
    auto* close = new vitreon::AquaCloseBtn(picTop_);
    close->setObjectName(QStringLiteral("AquaCloseBtn1"));
    close->setToolTip(QStringLiteral("Close"));
    close->move(picTop_->width() - close->width() - twipsToPixels(90),
                (picTop_->height() - close->height()) / 2);
    connect(close, &vitreon::AquaCloseBtn::Click, this, &QWidget::close);

    auto* label1 = new QLabel(QStringLiteral("Create a new rule for processing:"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(twipsToPixels(kMargin + 90), twipsToPixels(kTopHeight + 120),
                        twipsToPixels(width - 2 * kMargin), twipsToPixels(300));
    lblFile_ = new QLabel(this);
    lblFile_->setObjectName(QStringLiteral("lblFile"));
    lblFile_->setTextFormat(Qt::PlainText);
    lblFile_->setFont(bold);
    lblFile_->setGeometry(twipsToPixels(kMargin + 90), twipsToPixels(kTopHeight + 420),
                          twipsToPixels(width - 2 * kMargin - 180), twipsToPixels(300));

    oRulePanel_ = new ZolRulePanel(*rule_, this);
    oRulePanel_->setObjectName(QStringLiteral("oRulePanel"));
    oRulePanel_->HideAllSmallBtns();
    oRulePanel_->move(twipsToPixels(kMargin), twipsToPixels(kPanelTop));
    connect(oRulePanel_, &ZolRulePanel::Resize, this, &FormRuleWizard::fit);

    picBtm_ = new QWidget(this);
    picBtm_->setObjectName(QStringLiteral("picBtm"));
    auto* row = new QHBoxLayout(picBtm_);
    row->setContentsMargins(twipsToPixels(kMargin), 0, twipsToPixels(kMargin), 0);
    row->addStretch();
    btnApply_ = new vitreon::AquaButton(picBtm_);
    btnApply_->setObjectName(QStringLiteral("btnApply"));
    btnApply_->setCaption(QStringLiteral("Apply"));
    btnCancel_ = new vitreon::AquaButton(picBtm_);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnCancel_->setCaption(QStringLiteral("Cancel"));
    row->addWidget(btnApply_);
    row->addWidget(btnCancel_);
    connect(btnApply_, &vitreon::AquaButton::Click, this, &FormRuleWizard::apply);
    connect(btnCancel_, &vitreon::AquaButton::Click, this, &QWidget::close);

    vars_.setCreatingNewRule(true);
    fit();
}

FormRuleWizard::~FormRuleWizard() { vars_.setCreatingNewRule(false); }

void FormRuleWizard::setPath(const QString& path) {
    path_ = path;
    lblFile_->setText(FileNamePart(path));
    lblFile_->setToolTip(path);
}

void FormRuleWizard::apply() {
    emit applied(oRulePanel_->SaveToString(), path_);
    close();
}

void FormRuleWizard::fit() {
    const int w = ZolRulePanel::kWidth + 2 * kMargin;
    const int panelBottom = kPanelTop + oRulePanel_->heightTwips();
    picBtm_->setGeometry(0, twipsToPixels(panelBottom), twipsToPixels(w),
                         twipsToPixels(kBottomHeight));
    setFixedSize(twipsToPixels(w), twipsToPixels(panelBottom + kBottomHeight));
}

void FormRuleWizard::closeEvent(QCloseEvent* event) {
    vars_.setCreatingNewRule(false);
    QWidget::closeEvent(event);
}

void FormRuleWizard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient caption(0, 0, 0, picTop_->height());
    caption.setColorAt(0, QColor(92, 134, 206));
    caption.setColorAt(1, QColor(52, 94, 170));
    p.fillRect(0, 0, width(), picTop_->height(), caption);
    QLinearGradient body(0, picTop_->height(), 0, height());
    body.setColorAt(0, QColor(236, 242, 251));
    body.setColorAt(1, QColor(214, 225, 243));
    p.fillRect(0, picTop_->height(), width(), height(), body);
    p.setPen(QColor(60, 90, 150));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace vandrel
