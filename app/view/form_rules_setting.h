// The settings window: a borderless window with four tabs (rules, watched folders, action
// log, information). It owns what the whole program works with (SettingsState: the log,
// the attribute reader, the rule and folder lists) and the folder timer that runs the
// watched folders; its close button saves both lists and hides it, and it stays loaded
// until the program ends. Messages, questions and file choices go through Dialogs, which
// tests replace. UI thread only.
#pragma once

#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>

#include "app/settings_state.h"

class QLabel;
class QMenu;
namespace vitreon {
class AquaCheck;
class AquaTab;
}  // namespace vitreon

namespace vandrel {

class ActionPrompt;
class AppVarMgr;
class AutoTaskRunner;
class AutoTaskTimers;
class FolderPanel;
class FolderTaskWorker;
class FoldersTab;
class InfoTab;
class LogReader;
class LogTab;
class RulesTab;
class UndoWorker;
class WatchedFolder;

class FormRulesSetting : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidthTwips = 7830;
    static constexpr int kHeightTwips = 9270;

    struct Dialogs {
        // A file for export (save) or import (open); empty when none was chosen.
        std::function<QString(QWidget* owner, bool save)> chooseFile;
        // OK and Cancel; true for OK.
        std::function<bool(QWidget* owner, const QString& title, const QString& text)> ask;
        std::function<void(QWidget* owner, const QString& title, const QString& text)> tell;
        std::function<void(const QUrl& url)> open;
    };

    // Loads: creates the services, opens the log, reads rules.txt and folders.txt and
    // starts the folder timer. What could not be loaded is told once, when first shown.
    // With LogOpening::Later the log is opened by openLog(), or by the first thing that
    // needs it (a run, the log tab). vars and clock must outlive the window.
    FormRulesSetting(const DataPaths& paths, AppVarMgr& vars, const Clock& clock,
                     QWidget* parent = nullptr,
                     SettingsState::LogOpening logOpening = SettingsState::LogOpening::Now);
    // Unloads (see Unload) when that was not done.
    ~FormRulesSetting() override;

    void setDialogs(Dialogs dialogs) { dialogs_ = std::move(dialogs); }
    // Who answers the "Ask for confirmation" questions of the watched-folder runs and the
    // confirmation sheet (none: "no"); it must outlive the window.
    void setActionPrompt(ActionPrompt* prompt);
    // Chooses tab 1 to 4 as a click on it does.
    void chooseTab(int tabNum);
    int currentTab() const;
    // The close button: saves both lists, then hides the window (settingWinShow false).
    // A list that cannot be saved is told and the window stays.
    void closeClicked();
    // Program end: the log search goes, both lists are saved, the log is closed.
    void Unload();
    // Opens the log if that has not been tried yet; a problem is told as the load's are.
    void openLog();
    void exportRules();
    void importRules();

    SettingsState& state() { return state_; }
    RulesTab* rulesTab() const { return rulesTab_; }
    FoldersTab* foldersTab() const { return foldersTab_; }
    LogTab* logTab() const { return logTab_; }
    AutoTaskRunner& runner() { return *runner_; }
    // The folder timer and the countdown timer that drive the runner.
    const AutoTaskTimers& timers() const { return *timerFolder_; }
    // The undo of the log tab; the tray's "Undo last run" uses it too (CanUndoLastRun,
    // StartLastRun).
    UndoWorker& undoWorker() { return *undo_; }
    const QStringList& loadProblems() const { return loadProblems_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void buildChrome();
    void wireFolders();
    bool saveLists();
    void showSetting(bool shown);
    FolderPanel* panelOf(const WatchedFolder* folder) const;

    AppVarMgr& vars_;
    SettingsState state_;
    QStringList loadProblems_;
    bool problemsTold_ = false;
    bool unloaded_ = false;
    Dialogs dialogs_;
    std::unique_ptr<LogReader> logReader_;
    std::unique_ptr<FolderTaskWorker> worker_;
    std::unique_ptr<UndoWorker> undo_;
    std::unique_ptr<AutoTaskRunner> runner_;
    std::unique_ptr<AutoTaskTimers> timerFolder_;
    WatchedFolder* workerFolder_ = nullptr;  // the folder of a manual run in hand
    QLabel* lblCaption_ = nullptr;
    vitreon::AquaTab* aquaTab1_ = nullptr;
    vitreon::AquaCheck* chkStartWithWin_ = nullptr;
    RulesTab* rulesTab_ = nullptr;
    FoldersTab* foldersTab_ = nullptr;
    LogTab* logTab_ = nullptr;
    InfoTab* infoTab_ = nullptr;
    QMenu* rulesMenu_ = nullptr;
    QPoint dragOffset_;
    bool dragging_ = false;
};

}  // namespace vandrel
