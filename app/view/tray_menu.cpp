#include "app/view/tray_menu.h"

#include <QCursor>

namespace vandrel {

TrayMenu::TrayMenu(QWidget* parent) : QMenu(parent) {
    setObjectName(QStringLiteral("mainmenu"));
    connect(add(this, QStringLiteral("menu_exit"), QStringLiteral("Exit")), &QAction::triggered,
            this, &TrayMenu::exitClicked);
    connect(add(this, QStringLiteral("menu_help"), QStringLiteral("Help Documents")),
            &QAction::triggered, this, &TrayMenu::helpClicked);
    connect(add(this, QStringLiteral("menu_about"), QStringLiteral("About")), &QAction::triggered,
            this, [this] { emit tabRequested(4); });
    addSeparator()->setObjectName(QStringLiteral("menu_split2"));
    connect(add(this, QStringLiteral("menu_rules"), QStringLiteral("Rules")), &QAction::triggered,
            this, [this] { emit tabRequested(1); });
    foldersMenu_ = addMenu(QStringLiteral("Folders"));
    foldersMenu_->setObjectName(QStringLiteral("menu_folders"));
    foldersMenu_->menuAction()->setObjectName(QStringLiteral("menu_folders"));
    foldersSplit_ = foldersMenu_->addSeparator();
    foldersSplit_->setObjectName(QStringLiteral("menu_split12"));
    connect(
        add(foldersMenu_, QStringLiteral("menu_foldersetting"), QStringLiteral("Folders Settings")),
        &QAction::triggered, this, [this] { emit tabRequested(2); });
    connect(add(this, QStringLiteral("menu_actionlog"), QStringLiteral("Action Log")),
            &QAction::triggered, this, [this] { emit tabRequested(3); });
    undoLast_ = add(this, QStringLiteral("menu_undolast"), QStringLiteral("Undo last run"));
    undoLast_->setVisible(false);
    connect(undoLast_, &QAction::triggered, this, &TrayMenu::undoLastRunClicked);
    addSeparator()->setObjectName(QStringLiteral("menu_split1"));
    QAction* basket =
        add(this, QStringLiteral("menu_basket"), QStringLiteral("Show Basket Window"));
    basket->setCheckable(true);
    // The item asks for the opposite of its mark; the host sets the mark from the state.
    connect(basket, &QAction::triggered, this, [this, basket] {
        const bool wasChecked = !basket->isChecked();
        basket->setChecked(wasChecked);
        emit basketToggled(!wasChecked);
    });
    QAction* setting =
        add(this, QStringLiteral("menu_setting"), QStringLiteral("Show Settings Window"));
    setting->setCheckable(true);
    connect(setting, &QAction::triggered, this, [this, setting] {
        const bool wasChecked = !setting->isChecked();
        setting->setChecked(wasChecked);
        emit settingToggled(!wasChecked);
    });

    cancelTimer_.setSingleShot(true);
    cancelTimer_.setInterval(5000);
    connect(&cancelTimer_, &QTimer::timeout, this, &TrayMenu::cancelIfIdle);
    connect(this, &QMenu::aboutToShow, this, [this] { cancelTimer_.start(); });
    connect(this, &QMenu::aboutToHide, this, [this] { cancelTimer_.stop(); });
}

QAction* TrayMenu::add(QMenu* menu, const QString& name, const QString& text) {
    QAction* a = menu->addAction(text);
    a->setObjectName(name);
    return a;
}

QAction* TrayMenu::item(const QString& name) const {
    for (QAction* a : actions())
        if (a->objectName() == name) return a;
    for (QAction* a : foldersMenu_->actions())
        if (a->objectName() == name) return a;
    return nullptr;
}

void TrayMenu::setBasketChecked(bool on) { item(QStringLiteral("menu_basket"))->setChecked(on); }
void TrayMenu::setSettingChecked(bool on) { item(QStringLiteral("menu_setting"))->setChecked(on); }
void TrayMenu::setFoldersEnabled(bool on) { foldersMenu_->menuAction()->setEnabled(on); }
void TrayMenu::setSettingItemEnabled(bool on) {
    item(QStringLiteral("menu_setting"))->setEnabled(on);
}

void TrayMenu::setUndoLastRunShown(bool on) { undoLast_->setVisible(on); }

void TrayMenu::RefreshFolderList(const QStringList& captions) {
    for (QAction* a : folderItems_) {
        foldersMenu_->removeAction(a);
        a->deleteLater();
    }
    folderItems_.clear();
    for (int i = 0; i < captions.size(); ++i) {
        // A "&" of the caption is shown, not taken for a keyboard mark.
        QString caption = captions.at(i);
        caption.replace(QLatin1Char('&'), QLatin1String("&&"));
        auto* a = new QAction(QStringLiteral("Organize [%1] now.").arg(caption), foldersMenu_);
        a->setObjectName(QStringLiteral("menu_folderitem"));
        connect(a, &QAction::triggered, this, [this, i] { emit folderInvoked(i); });
        foldersMenu_->insertAction(foldersSplit_, a);
        folderItems_ << a;
    }
}

QStringList TrayMenu::folderItemTexts() const {
    QStringList texts;
    for (const QAction* a : folderItems_) texts << a->text();
    return texts;
}

void TrayMenu::cancelIfIdle() {
    // Closes a menu left open, but never one the user is pointing into.
    const QPoint at = QCursor::pos();
    if (geometry().contains(at) ||
        (foldersMenu_->isVisible() && foldersMenu_->geometry().contains(at))) {
        cancelTimer_.start();
        return;
    }
    hide();
}

}  // namespace vandrel
