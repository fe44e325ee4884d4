#include "wex_drop_list.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "wex_strip.h"

namespace wexcontrols {

WexDropList::WexDropList(images::Decoration decoration, QWidget* parent)
    : WexControl(Look::Field, parent), menu_(new QMenu(this)) {
    menu_->setObjectName(QStringLiteral("mnuList"));
    setDecoration(new WexStrip(1, 1, images::DecorationCell(decoration), this));
}

void WexDropList::AddItem(const QString& item, int /*index*/) {
    // An "&" in an item is text, not a menu shortcut; the item itself rides along as data.
    QString shown = item;
    shown.replace(u'&', QStringLiteral("&&"));
    QAction* action = menu_->addAction(shown);
    action->setData(item);
    action->setVisible(true);
    connect(action, &QAction::triggered, this, [this, item] { itemChosen(item); });
}

QStringList WexDropList::items() const {
    QStringList result;
    for (const QAction* action : menu_->actions()) result << action->data().toString();
    return result;
}

void WexDropList::activate() {
    if (menu_->actions().isEmpty()) return;
    menu_->popup(mapToGlobal(QPoint(0, height())));
}

void WexDropList::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || menu_->actions().isEmpty()) {
        WexControl::mousePressEvent(event);
        return;
    }
    menu_->popup(event->globalPosition().toPoint());
    event->accept();
}

void WexDropList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier)) {
        activate();
        event->accept();
        return;
    }
    WexControl::keyPressEvent(event);
}

}  // namespace wexcontrols
