#include "folders/view/form_msg.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include "aqua_button.h"
#include "folders/auto_task_runner.h"
#include "twips.h"

namespace vandrel {

using vitreon::twipsToPixels;

namespace {

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, bool bold = false) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

}  // namespace

FormMsg::FormMsg(AutoTaskRunner& runner, QWidget* parent)
    // Raised when a folder is announced, but not kept above every window: it must not
    // cover what the user works on for the whole countdown.
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      runner_(runner) {
    setObjectName(QStringLiteral("FormMsg"));
    setWindowTitle(QStringLiteral("Vandrel"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(twipsToPixels(240), twipsToPixels(180), twipsToPixels(240),
                               twipsToPixels(150));
    column->setSpacing(twipsToPixels(60));
    column->addWidget(
        MakeLabel(this, QStringLiteral("Label1"), QStringLiteral("Will organize folder: ")));
    lblFolder_ = MakeLabel(this, QStringLiteral("lblFolder"), QString(), true);
    lblFolder_->setMinimumWidth(1);  // a long caption is cut, never widens the window
    column->addWidget(lblFolder_);
    auto* when = new QHBoxLayout;
    when->setSpacing(twipsToPixels(60));
    lblIn_ = MakeLabel(this, QStringLiteral("Label2"), QStringLiteral("In"));
    lblTime_ = MakeLabel(this, QStringLiteral("lblTime"), QString(), true);
    lblLater_ = MakeLabel(this, QStringLiteral("Label3"), QStringLiteral("seconds later."));
    when->addWidget(lblIn_);
    when->addWidget(lblTime_);
    when->addWidget(lblLater_);
    when->addStretch();
    column->addLayout(when);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    btnConfirmSheet_ = new vitreon::AquaButton(this);
    btnConfirmSheet_->setObjectName(QStringLiteral("btnConfirmSheet"));
    btnConfirmSheet_->setCaption(QStringLiteral("Confirmation Sheet"));
    btnCancel_ = new vitreon::AquaButton(this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnCancel_->setCaption(QStringLiteral("Cancel"));
    buttons->addWidget(btnConfirmSheet_);
    buttons->addWidget(btnCancel_);
    column->addLayout(buttons);

    connect(btnConfirmSheet_, &vitreon::AquaButton::Click, this,
            [this] { runner_.ConfirmationSheet(); });
    connect(btnCancel_, &vitreon::AquaButton::Click, this, [this] { runner_.Cancel(); });
    connect(&runner_, &AutoTaskRunner::taskAnnounced, this, &FormMsg::announce);
    connect(&runner_, &AutoTaskRunner::countdownShown, this,
            [this](int value) { lblTime_->setText(QString::number(value)); });
    connect(&runner_, &AutoTaskRunner::buttonsVisibleChanged, this, [this](bool visible) {
        btnConfirmSheet_->setVisible(visible);
        btnCancel_->setVisible(visible);
    });
    // While the items run the countdown line says so instead of a stale "1".
    connect(&runner_, &AutoTaskRunner::taskStarted, this, [this] {
        lblIn_->hide();
        lblLater_->hide();
        lblTime_->setText(QStringLiteral("Organizing now..."));
    });
    connect(&runner_, &AutoTaskRunner::batchFinished, this, &QWidget::hide);
}

QString FormMsg::folderText() const { return lblFolder_->text(); }
QString FormMsg::timeText() const { return lblTime_->text(); }

void FormMsg::announce(const QString& caption, int countdown) {
    lblFolder_->setText(QLatin1Char('[') + caption + QLatin1Char(']'));
    lblFolder_->setToolTip(caption);
    lblIn_->show();
    lblLater_->show();
    lblTime_->setText(QString::number(countdown));
    btnConfirmSheet_->show();
    btnCancel_->show();
    placeLowerRight();
    show();
    raise();
}

void FormMsg::placeLowerRight() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect s = screen->geometry();
    move(s.right() + 1 - width() - twipsToPixels(300),
         s.bottom() + 1 - height() - twipsToPixels(700));
}

void FormMsg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient body(0, 0, 0, height());
    body.setColorAt(0, QColor(236, 242, 251));
    body.setColorAt(1, QColor(214, 225, 243));
    p.fillRect(rect(), body);
    p.fillRect(0, 0, width(), twipsToPixels(90), QColor(52, 94, 170));
    p.setPen(QColor(60, 90, 150));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace vandrel
