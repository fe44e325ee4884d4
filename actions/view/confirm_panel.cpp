#include "actions/view/confirm_panel.h"

#include <QLabel>
#include <QPushButton>

#include "platform/path_text.h"
#include "rules/rule_text.h"
#include "standard/wex_check.h"
#include "twips.h"

namespace vandrel {

namespace {

using vitreon::twipsToPixels;

template <typename W>
W* Place(W* w, int left, int width, int height = ConfirmPanel::kHeightTwips) {
    w->setGeometry(twipsToPixels(left), 0, twipsToPixels(width), twipsToPixels(height));
    return w;
}

QPushButton* FlatButton(QWidget* parent, const QString& name) {
    auto* b = new QPushButton(QStringLiteral("file"), parent);
    b->setObjectName(name);
    b->setFlat(true);
    b->setFocusPolicy(Qt::NoFocus);
    // The buttons only show text; clicking them does nothing.
    b->setStyleSheet(QStringLiteral("QPushButton { text-align: left; border: none; }"));
    return b;
}

void SetElided(QPushButton* b, const QString& text) {
    b->setToolTip(text);
    b->setText(b->fontMetrics().elidedText(text, Qt::ElideMiddle, b->width() - 6));
}

}  // namespace

ConfirmPanel::ConfirmPanel(QWidget* parent)
    : QWidget(parent),
      chkConfirm_(new wexcontrols::WexCheck(this)),
      lblType_(new QLabel(QStringLiteral("Folder:"), this)),
      btnName_(FlatButton(this, QStringLiteral("btnName"))),
      btnRule_(FlatButton(this, QStringLiteral("btnRule"))),
      lblResult_(new QLabel(this)) {
    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
    QFont small = font();
    small.setPointSizeF(8);
    setFont(small);
    Place(new QLabel(QStringLiteral("Confirm:"), this), 60, 720);
    chkConfirm_->setObjectName(QStringLiteral("chkConfirm"));
    chkConfirm_->setCaption(QString());
    chkConfirm_->setValue(1);
    Place(chkConfirm_, 800, 330, 300)->move(twipsToPixels(800), twipsToPixels(40));
    lblType_->setObjectName(QStringLiteral("lblType"));
    Place(lblType_, 1120, 600);
    Place(btnName_, 1720, 2100);
    Place(new QLabel(QStringLiteral("Rule:"), this), 3880, 480);
    btnRule_->setText(QStringLiteral("rule"));
    Place(btnRule_, 4360, 1900);
    lblResult_->setObjectName(QStringLiteral("lblResult"));
    Place(lblResult_, 6300, 880);
    connect(chkConfirm_, &wexcontrols::WexCheck::Click, this,
            [this] { emit tickChanged(GetConfirmParam()); });
}

void ConfirmPanel::Init(const ConfirmRow& row) {
    path_ = row.path;
    if (!row.kind.isEmpty()) lblType_->setText(row.kind);
    SetElided(btnName_, FileNamePart(row.path));
    btnName_->setToolTip(row.path);
    SetElided(btnRule_, row.ruleText);
    chkConfirm_->setValue(row.ticked ? 1 : 0);
}

bool ConfirmPanel::GetConfirmParam() const { return chkConfirm_->Value() == 1; }

void ConfirmPanel::lockTick() {
    chkConfirm_->setEnabled(false);
    if (!GetConfirmParam()) lblResult_->setText(QStringLiteral("Skipped"));
}

void ConfirmPanel::showRunning() { lblResult_->setText(QStringLiteral("Running...")); }

void ConfirmPanel::showOutcome(const ConfirmRow& row) {
    if (row.outcome.why.isEmpty()) {
        lblResult_->setText(QStringLiteral("Done"));
        if (row.outcome.result != row.ruleText) SetElided(btnRule_, row.outcome.result);
        return;
    }
    // The rule stopped part-way: say why where the rule's title was.
    lblResult_->setText(QStringLiteral("Stopped"));
    lblResult_->setStyleSheet(QStringLiteral("color: rgb(200, 0, 0);"));
    btnRule_->setStyleSheet(btnRule_->styleSheet() +
                            QStringLiteral(" QPushButton { color: rgb(200, 0, 0); }"));
    SetElided(btnRule_, row.outcome.why);
    btnRule_->setToolTip(QStringLiteral("%1: %2").arg(row.outcome.result, row.outcome.why));
}

}  // namespace vandrel
