// The desktop program's start-up object: it has no window of its own. It reads the
// application state, loads the settings window and the basket, re-applies their saved
// places, owns the tray icon and its menu, the countdown window, the rule wizard, the
// worker that organises basket drops, and the five-second poll that saves the basket's
// place. Exit unloads in order: the settings window (rules, folders, log), then the basket
// (quick folders), then the tray icon. Messages go through Dialogs, which tests replace.
// UI thread only.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "app/view/form_rule_wizard.h"
#include "platform/data_paths.h"

class QSystemTrayIcon;

namespace vandrel {

class AppVarMgr;
class Clock;
class FolderTaskWorker;
class FormBasket;
class FormMsg;
class FormRuleWizard;
class FormRulesSetting;
class LogManager;
class QuickFolderList;
class SettingsState;
class TrayMenu;
class UiHeartbeat;
class UiThreadPrompt;
class WatchedFolder;

class FormStart : public QObject {
    Q_OBJECT

  public:
    struct Dialogs {
        // A message that does not wait (failures, the no-tray notice).
        std::function<void(const QString& title, const QString& text)> tell;
        // The actions' yes/no question; true for yes.
        std::function<bool(const QString& title, const QString& text)> ask;
        std::function<void(const QString& url)> open;
    };
    static Dialogs DefaultDialogs();

    // Starts: everything is loaded, placed and shown as the saved state says (on a first
    // start the basket is shown near the lower right of the screen). The data folder's
    // single-instance lock is the caller's. clock must outlive this object.
    FormStart(const DataPaths& paths, const Clock& clock, Dialogs dialogs = DefaultDialogs(),
              QObject* parent = nullptr);
    // Unloads when that was not done.
    ~FormStart() override;

    // "Exit" (and SIGTERM, SIGINT, logout): questions waiting are answered "no", the runs
    // stop after the item in hand, and the event loop ends; Unload follows.
    void requestExit();
    // The exit order: settings window, basket, tray icon. Safe to call twice.
    void Unload();
    // Writes what the program holds in memory (rules, folders, quick folders) now, for a
    // session that may end without asking.
    void saveAll();
    // Writes the options held back while the windows came up.
    void releaseSaves();

    // Pops up the tray menu at a place on the screen.
    void PopupTrayMenu(const QPoint& at);
    // Rebuilds the tray's folder items from the watched folders.
    void RefreshFolderList();
    // One tick of the basket position poll (TimerPos).
    void pollBasketPosition();
    // The tray's "Undo last run": asks with the count, then undoes on the worker thread.
    void undoLastRun();

    AppVarMgr& vars() { return *vars_; }
    FormRulesSetting& settings() { return *settings_; }
    // The settings window's rules, folders and log, for changes that come from elsewhere;
    // call reloadViews() after changing them.
    SettingsState& settingsState();
    void reloadViews();
    FormBasket& basket() { return *basket_; }
    TrayMenu& trayMenu() { return *trayMenu_; }
    FormMsg& msg() { return *msg_; }
    UiThreadPrompt& prompt() { return *prompt_; }
    // The open rule wizard, or null.
    FormRuleWizard* wizard() const { return wizard_; }
    bool trayShown() const;

  signals:
    // A basket drop (or a wizard's run) has finished.
    void runFinished();

  private:
    void buildTray();
    void wireState();
    void placeBasket();
    void showBasketFirstTime();
    void openWizard(const QString& path);
    bool startRun(const QStringList& paths, bool fromDrop);
    void onRunFinished(const QString& why);
    void showSettingsTab(int tab);
    void checkTray();
    // Opens the settings window's log and the quick moves' one, once.
    void openLogs();

    DataPaths paths_;
    const Clock& clock_;
    Dialogs dialogs_;
    bool firstStart_ = false;
    bool unloaded_ = false;
    bool savesHeld_ = false;
    bool exiting_ = false;
    bool trayNoticeGiven_ = false;
    bool undoFromTray_ = false;  // the running undo was started from the tray
    std::unique_ptr<AppVarMgr> vars_;
    std::unique_ptr<UiThreadPrompt> prompt_;
    std::unique_ptr<FormRulesSetting> settings_;
    std::unique_ptr<QuickFolderList> quickFolders_;
    std::unique_ptr<LogManager> quickLog_;
    bool logsOpened_ = false;
    std::unique_ptr<FolderTaskWorker> dropWorker_;
    std::unique_ptr<FormBasket> basket_;
    std::unique_ptr<FormMsg> msg_;
    std::unique_ptr<TrayMenu> trayMenu_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    std::unique_ptr<UiHeartbeat> heartbeat_;
    QPointer<FormRuleWizard> wizard_;
    std::vector<WatchedFolder*> trayFolders_;
    bool runFromDrop_ = false;
    QStringList pendingWizardRuns_;
    QTimer timerPos_;
};

}  // namespace vandrel
