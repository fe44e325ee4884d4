// The tray menu, top to bottom: "Exit", "Help Documents", "About", a separator, "Rules",
// the "Folders" submenu (one "Organize [caption] now." item per watched folder, a
// separator and "Folders Settings"), "Action Log", "Undo last run" (only while the newest
// run can be undone), a separator, "Show Basket Window" and
// "Show Settings Window" with their check marks. It only shows and reports: the host
// sets the marks and enabled states and acts on the signals. A menu left open closes by
// itself after five seconds unless the pointer is on it. UI thread only.
#pragma once

#include <QMenu>
#include <QStringList>
#include <QTimer>

namespace vandrel {

class TrayMenu : public QMenu {
    Q_OBJECT

  public:
    explicit TrayMenu(QWidget* parent = nullptr);

    void setBasketChecked(bool on);
    void setSettingChecked(bool on);
    // The "Folders" submenu (disabled while the settings window is shown or a batch runs).
    void setFoldersEnabled(bool on);
    // "Show Settings Window" (disabled during an automatic batch).
    void setSettingItemEnabled(bool on);
    // "Undo last run", shown only while the newest run can be undone.
    void setUndoLastRunShown(bool on);
    // One "Organize [caption] now." item per folder, in order.
    void RefreshFolderList(const QStringList& captions);

    QMenu* foldersMenu() const { return foldersMenu_; }
    // The item of that object name (menu_exit, menu_basket, ...), or null.
    QAction* item(const QString& name) const;
    QStringList folderItemTexts() const;

  signals:
    void exitClicked();
    void helpClicked();
    // The settings window is asked for on tab 1 to 4.
    void tabRequested(int tab);
    void basketToggled(bool show);
    void settingToggled(bool show);
    // The folder item of index (0-based) was chosen.
    void folderInvoked(int index);
    void undoLastRunClicked();

  private:
    QAction* add(QMenu* menu, const QString& name, const QString& text);
    void cancelIfIdle();

    QMenu* foldersMenu_;
    QAction* foldersSplit_;
    QAction* undoLast_;
    QList<QAction*> folderItems_;
    QTimer cancelTimer_;
};

}  // namespace vandrel
