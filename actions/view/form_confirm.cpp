#include "actions/view/form_confirm.h"

#include <QLabel>
#include <QMouseEvent>

#include "actions/view/confirm_panel.h"
#include "aqua_button.h"
#include "aqua_close_btn.h"
#include "aqua_v_scroll_bar.h"
#include "rules/rule_list.h"
#include "twips.h"

namespace vandrel {

namespace {

using vitreon::pixelsToTwips;
using vitreon::twipsToPixels;

constexpr int kAreaLeft = 15;
constexpr int kAreaTop = 15;
// The frame the rows scroll in.
constexpr int kBackLeft = 240;
constexpr int kBackTop = 660;
constexpr int kBackWidth = ConfirmPanel::kWidthTwips + 60;
constexpr int kBackHeight = 3600;
constexpr int kScrollWidth = 255;

QRect TwipsRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

}  // namespace

FormConfirm::FormConfirm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      lblFolderName_(new QLabel(this)),
      picBack_(new QWidget(this)),
      picContent_(new QWidget(picBack_)),
      oVScrollBar_(new vitreon::AquaVScrollBar(this)),
      lblNo_(new QLabel(QStringLiteral("no file matched rules"), picBack_)),
      lblProgress_(new QLabel(this)),
      btnGo_(new vitreon::AquaButton(this)),
      btnCancel_(new vitreon::AquaButton(this)),
      btnClose_(new vitreon::AquaCloseBtn(this)) {
    setObjectName(QStringLiteral("FormConfirm"));
    setModal(true);
    setWindowTitle(QStringLiteral("Confirmation"));
    setFixedSize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(241, 244, 250));
    setPalette(pal);

    auto* caption = new QLabel(QStringLiteral("Folder:"), this);
    caption->setGeometry(TwipsRect(240, 200, 700, 360));
    lblFolderName_->setObjectName(QStringLiteral("lblFolderName"));
    lblFolderName_->setGeometry(TwipsRect(900, 200, 6000, 360));
    QFont bold = lblFolderName_->font();
    bold.setBold(true);
    lblFolderName_->setFont(bold);
    btnClose_->setObjectName(QStringLiteral("btnClose"));
    btnClose_->move(width() - btnClose_->sizeHint().width() - twipsToPixels(120),
                    twipsToPixels(150));

    picBack_->setObjectName(QStringLiteral("picBack"));
    picBack_->setGeometry(TwipsRect(kBackLeft, kBackTop, kBackWidth, kBackHeight));
    picBack_->setAutoFillBackground(true);
    pal.setColor(QPalette::Window, Qt::white);
    picBack_->setPalette(pal);
    picContent_->setObjectName(QStringLiteral("picContent"));
    lblNo_->setObjectName(QStringLiteral("lblNo"));
    lblNo_->setAlignment(Qt::AlignCenter);
    lblNo_->setGeometry(0, 0, picBack_->width(), picBack_->height());
    lblNo_->hide();
    oVScrollBar_->setObjectName(QStringLiteral("oVScrollBar"));
    oVScrollBar_->setGeometry(
        TwipsRect(kBackLeft + kBackWidth + 30, kBackTop, kScrollWidth, kBackHeight));
    connect(oVScrollBar_, &vitreon::AquaVScrollBar::Scroll, this, [this](qint32 v) {
        picContent_->move(twipsToPixels(kAreaLeft), twipsToPixels(kAreaTop - v));
    });

    lblProgress_->setObjectName(QStringLiteral("lblProgress"));
    lblProgress_->setGeometry(TwipsRect(240, kBackTop + kBackHeight + 200, 4800, 360));
    btnGo_->setObjectName(QStringLiteral("btnGo"));
    btnGo_->setCaption(QStringLiteral("Go"));
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnCancel_->setCaption(QStringLiteral("Cancel"));
    btnGo_->resize(btnGo_->sizeHint());
    btnCancel_->resize(btnCancel_->sizeHint());
    btnClose_->resize(btnClose_->sizeHint());
    const int buttonsTop = kBackTop + kBackHeight + 170;
    btnCancel_->move(width() - btnCancel_->sizeHint().width() - twipsToPixels(360),
                     twipsToPixels(buttonsTop));
    btnGo_->move(btnCancel_->x() - btnGo_->sizeHint().width() - twipsToPixels(120),
                 twipsToPixels(buttonsTop));
    connect(btnGo_, &vitreon::AquaButton::Click, this, &FormConfirm::go);
    connect(btnCancel_, &vitreon::AquaButton::Click, this, &FormConfirm::reject);
    connect(btnClose_, &vitreon::AquaCloseBtn::Click, this, &FormConfirm::reject);
    connect(&batch_, &ConfirmBatch::itemStarted, this, [this](int row, int done, int total) {
        panels_[static_cast<size_t>(row)]->showRunning();
        lblProgress_->setText(QStringLiteral("Organizing %1 of %2...").arg(done + 1).arg(total));
    });
    connect(&batch_, &ConfirmBatch::itemFinished, this, [this](int row) {
        panels_[static_cast<size_t>(row)]->showOutcome(batch_.rows()[static_cast<size_t>(row)]);
    });
    connect(&batch_, &ConfirmBatch::batchFinished, this, &FormConfirm::onFinished);
}

void FormConfirm::SetTaskObj(const AutoFolderTask& task, RuleList& rules,
                             const EngineContext& workerContext) {
    rules_ = &rules;
    workerContext_ = workerContext;
    lblFolderName_->setText(task.folderCaption);
    qDeleteAll(panels_);
    panels_.clear();
    batch_.SetTaskObj(task, rules);
    const auto& rows = batch_.rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        auto* panel = new ConfirmPanel(picContent_);
        panel->setObjectName(QStringLiteral("oConfirmPanel%1").arg(i + 1));
        panel->move(twipsToPixels(20), twipsToPixels(static_cast<int>(i) * kRowPitchTwips + 20));
        panel->Init(rows[i]);
        connect(panel, &ConfirmPanel::tickChanged, this,
                [this, i](bool ticked) { batch_.setTicked(static_cast<int>(i), ticked); });
        panel->show();
        panels_.push_back(panel);
    }
    layOut();
}

int FormConfirm::contentTopTwips() const { return pixelsToTwips(picContent_->y()); }

void FormConfirm::layOut() {
    const int rowsHeight = panels_.empty()
                               ? 0
                               : (static_cast<int>(panels_.size()) - 1) * kRowPitchTwips + 20 +
                                     ConfirmPanel::kHeightTwips + 20;
    picContent_->setGeometry(
        TwipsRect(kAreaLeft, kAreaTop, ConfirmPanel::kWidthTwips + 40, rowsHeight));
    oVScrollBar_->show();
    oVScrollBar_->setMin(1);
    oVScrollBar_->setValue(1);
    // The visible height is the frame less the area's top margin.
    const int visible = kBackHeight - kAreaTop;
    oVScrollBar_->setMax(rowsHeight > visible ? rowsHeight - visible : 2);
    picContent_->setVisible(!panels_.empty());
    lblNo_->setVisible(panels_.empty());
}

void FormConfirm::go() {
    btnGo_->hide();
    btnCancel_->hide();
    for (ConfirmPanel* p : panels_) p->lockTick();
    if (rules_ == nullptr || batch_.tickedCount() == 0 || !batch_.Go(*rules_, workerContext_)) {
        accept();
        return;
    }
    lblProgress_->setText(QStringLiteral("Organizing..."));
}

void FormConfirm::onFinished() {
    int stopped = 0;
    for (const ConfirmRow& r : batch_.rows()) stopped += r.outcome.why.isEmpty() ? 0 : 1;
    if (stopped == 0) {
        accept();
        return;
    }
    lblProgress_->setText(
        stopped == 1
            ? QStringLiteral("1 item was not finished; its row says why.")
            : QStringLiteral("%1 items were not finished; their rows say why.").arg(stopped));
}

void FormConfirm::reject() {
    // While the batch runs, closing asks it to stop after the current item; the window
    // closes when it has.
    if (batch_.running()) {
        batch_.requestStop();
        lblProgress_->setText(QStringLiteral("Stopping after this item..."));
        connect(&batch_, &ConfirmBatch::batchFinished, this, &QDialog::accept,
                Qt::UniqueConnection);
        return;
    }
    QDialog::reject();
}

void FormConfirm::mousePressEvent(QMouseEvent* event) {
    // The window has no frame: dragging its background moves it.
    if (event->button() == Qt::LeftButton) dragFrom_ = event->globalPosition().toPoint() - pos();
    QDialog::mousePressEvent(event);
}

void FormConfirm::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) move(event->globalPosition().toPoint() - dragFrom_);
    QDialog::mouseMoveEvent(event);
}

}  // namespace vandrel
