#include "rules/view/zol_row_button.h"

#include <QKeyEvent>
#include <QToolButton>

#include "rules/view/view_twips.h"

namespace vandrel {

namespace {

QToolButton* makeButton(QWidget* parent, const QString& text, const QString& name,
                        const QString& accessible) {
    auto* b = new QToolButton(parent);
    b->setText(text);
    b->setObjectName(name);
    b->setAccessibleName(accessible);
    b->setToolTip(accessible);
    b->setFocusPolicy(Qt::StrongFocus);
    b->setFixedSize(TwipsToPx(300), TwipsToPx(300));
    return b;
}

}  // namespace

ZolRowButton::ZolRowButton(QWidget* parent) : QWidget(parent) {
    add_ = makeButton(this, QStringLiteral("+"), QStringLiteral("btnAdd"),
                      QStringLiteral("Add a row below"));
    del_ = makeButton(this, QStringLiteral("\u2212"), QStringLiteral("btnDel"),
                      QStringLiteral("Delete this row"));
    add_->move(0, 0);
    del_->move(TwipsToPx(330), 0);
    setFixedSize(TwipsToPx(640), TwipsToPx(300));
    add_->installEventFilter(this);
    del_->installEventFilter(this);
    connect(add_, &QToolButton::clicked, this, &ZolRowButton::RowAdd);
    connect(del_, &QToolButton::clicked, this, &ZolRowButton::RowDel);
}

void ZolRowButton::EnableAddButton(bool on) { add_->setEnabled(on); }
void ZolRowButton::EnableDelButton(bool on) { del_->setEnabled(on); }
bool ZolRowButton::addEnabled() const { return add_->isEnabled(); }
bool ZolRowButton::delEnabled() const { return del_->isEnabled(); }

bool ZolRowButton::eventFilter(QObject* watched, QEvent* event) {
    // Tool buttons act on Space only; Enter should press them as well.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            static_cast<QToolButton*>(watched)->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vandrel
