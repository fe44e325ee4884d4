#include "app/view/form_start.h"

#include <QCursor>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QUrl>

#include "app/app_var_mgr.h"
#include "app/folder_task_worker.h"
#include "app/ui_heartbeat.h"
#include "app/ui_thread_prompt.h"
#include "app/undo_worker.h"
#include "app/view/form_rule_wizard.h"
#include "app/view/form_rules_setting.h"
#include "app/view/info_tab.h"
#include "app/view/rules_tab.h"
#include "app/view/tray_menu.h"
#include "basket/quick_folder_list.h"
#include "basket/view/basket_picture.h"
#include "basket/view/form_basket.h"
#include "basket/view/quick_folder_paper.h"
#include "folders/auto_task_runner.h"
#include "folders/view/folder_panel.h"
#include "folders/view/folders_paper.h"
#include "folders/view/folders_tab.h"
#include "folders/view/form_msg.h"
#include "folders/watched_folder.h"
#include "folders/watched_folder_list.h"
#include "log/log_manager.h"
#include "platform/ini_file.h"
#include "rules/rule_list.h"
#include "rules/view/rules_paper.h"
#include "twips.h"

namespace vandrel {

using vitreon::pixelsToTwips;
using vitreon::twipsToPixels;

namespace {

const QString kTitle = QStringLiteral("Vandrel");
constexpr int kPollMs = 5000;
// How long after start the options set while the windows came up are written: by then
// the windows are on screen.
constexpr int kSaveAfterStartMs = 500;
// The basket's distance from the lower right corner on a first start, in pixels.
constexpr int kCornerGap = 48;

}  // namespace

FormStart::Dialogs FormStart::DefaultDialogs() {
    Dialogs d;
    d.tell = [](const QString& title, const QString& text) {
        // Not modal: a worker's failure must not stop the windows.
        auto* box = new QMessageBox(QMessageBox::Information, title, text);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowFlag(Qt::WindowStaysOnTopHint);
        box->show();
    };
    d.ask = [](const QString& title, const QString& text) {
        QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        // Above the basket, which stays above everything else.
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        return box.exec() == QMessageBox::Yes;
    };
    d.open = [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); };
    return d;
}

FormStart::FormStart(const DataPaths& paths, const Clock& clock, Dialogs dialogs, QObject* parent)
    : QObject(parent), paths_(paths), clock_(clock), dialogs_(std::move(dialogs)) {
    (void)paths_.ensureExists();  // the settings window reports a folder it cannot use
    firstStart_ = !QFileInfo::exists(paths_.optionsFile());
    vars_ = std::make_unique<AppVarMgr>(paths_.optionsFile());
    // The values set while the windows come up are written once they are on screen.
    vars_->holdSaves();
    savesHeld_ = true;
    // Started at log-on, the program must come back to the data folder it runs on now.
    if (QFileInfo(paths_.dir()).canonicalFilePath() !=
        QFileInfo(DataPaths::defaultDir()).canonicalFilePath())
        vars_->setStartArguments(
            {QStringLiteral("--data-dir"), QFileInfo(paths_.dir()).absoluteFilePath()});
    prompt_ = std::make_unique<UiThreadPrompt>([this](const QString& title, const QString& text) {
        return dialogs_.ask && dialogs_.ask(title, text);
    });
    connect(prompt_.get(), &UiThreadPrompt::failureReported, this,
            [this](const QString& message) { dialogs_.tell(kTitle, message); });
    trayMenu_ = std::make_unique<TrayMenu>();

    // The log is opened by the first thing that needs it (see openLogs).
    settings_ = std::make_unique<FormRulesSetting>(paths_, *vars_, clock_, nullptr,
                                                   SettingsState::LogOpening::Later);
    settings_->setActionPrompt(prompt_.get());
    quickFolders_ = std::make_unique<QuickFolderList>();
    // Quick moves run on their own thread with a log connection of their own.
    quickLog_ = std::make_unique<LogManager>(&clock_);
    dropWorker_ = std::make_unique<FolderTaskWorker>(paths_.logFile(), clock_);
    dropWorker_->setPrompt(prompt_.get());
    FormBasket::Engine engine;
    engine.test = [this](const QString& path) {
        return settings_->state().rules().DoRulesTest(path);
    };
    // Files dragged over the basket are likely dropped next: the log is opened then, once,
    // so the drop does not wait for it.
    engine.expectDrop = [this] { openLogs(); };
    engine.run = [this](const QStringList& items) { return startRun(items, true); };
    basket_ = std::make_unique<FormBasket>(*vars_, *quickFolders_, engine);
    basket_->setTrayMenu(trayMenu_.get());
    basket_->quickFolderPaper()->setLog(quickLog_.get());
    connect(basket_->quickFolderPaper(), &QuickFolderPaper::quickMoveStarting, this,
            &FormStart::openLogs);
    connect(basket_->quickFolderPaper(), &QuickFolderPaper::quickMoveFinished, this,
            [this] { (void)quickLog_->Flush(); });
    const QString quickProblem = basket_->LoadQuickFolders(paths_.quickFoldersFile());
    msg_ = std::make_unique<FormMsg>(settings_->runner());
    wireState();
    buildTray();
    RefreshFolderList();

    // The saved state, re-applied through the setters so every window takes its place.
    if (firstStart_)
        showBasketFirstTime();
    else
        vars_->setBasketShow(vars_->basketShow());
    vars_->setSettingWinShow(vars_->settingWinShow());
    vars_->setAutoTaskRunning(false);
    vars_->setHandTaskRunning(false);
    vars_->setDropTaskRunning(false);
    vars_->setCreatingNewRule(false);
    timerPos_.setInterval(kPollMs);
    connect(&timerPos_, &QTimer::timeout, this, [this] {
        pollBasketPosition();
        checkTray();
    });
    timerPos_.start();
    checkTray();
    if (const QString file = qEnvironmentVariable("VANDREL_UI_HEARTBEAT"); !file.isEmpty())
        heartbeat_ = std::make_unique<UiHeartbeat>(file);
    if (!quickProblem.isEmpty()) dialogs_.tell(kTitle, quickProblem);
    QTimer::singleShot(kSaveAfterStartMs, this, &FormStart::releaseSaves);
    // The log is not opened here: opening (or creating) it waits on the disk and would
    // hold back the windows, and a program that sits in the tray for hours without acting
    // need not keep SQLite in memory. Every path that acts or reads the log opens it
    // first (drops, quick moves, folder runs, undo, the log tab, the tray menu).
}

void FormStart::openLogs() {
    if (logsOpened_ || unloaded_) return;
    logsOpened_ = true;
    settings_->openLog();
    (void)quickLog_->OpenLogFile(paths_.logFile());
}

FormStart::~FormStart() { Unload(); }

void FormStart::wireState() {
    connect(vars_.get(), &AppVarMgr::basketShowChanged, this, [this](bool shown) {
        trayMenu_->setBasketChecked(shown);
        if (shown)
            placeBasket();
        else
            basket_->hide();
    });
    // The settings window shows and hides itself on the same signal.
    connect(vars_.get(), &AppVarMgr::settingWinShowChanged, this, [this](bool shown) {
        trayMenu_->setSettingChecked(shown);
        trayMenu_->setFoldersEnabled(!shown && !vars_->autoTaskRunning());
        if (!shown) RefreshFolderList();
    });
    connect(vars_.get(), &AppVarMgr::autoTaskRunningChanged, this, [this](bool running) {
        trayMenu_->setSettingItemEnabled(!running);
        trayMenu_->setFoldersEnabled(!running && !vars_->settingWinShow());
    });

    connect(trayMenu_.get(), &TrayMenu::exitClicked, this, &FormStart::requestExit);
    connect(trayMenu_.get(), &TrayMenu::helpClicked, this,
            [this] { dialogs_.open(QString::fromLatin1(kHelpUrl)); });
    connect(trayMenu_.get(), &TrayMenu::tabRequested, this, &FormStart::showSettingsTab);
    connect(trayMenu_.get(), &TrayMenu::basketToggled, vars_.get(), &AppVarMgr::setBasketShow);
    connect(trayMenu_.get(), &TrayMenu::settingToggled, vars_.get(), &AppVarMgr::setSettingWinShow);
    connect(trayMenu_.get(), &TrayMenu::folderInvoked, this, [this](int index) {
        if (index < 0 || index >= static_cast<int>(trayFolders_.size())) return;
        FoldersPaper* paper = settings_->foldersTab()->paper();
        for (FolderPanel* p : paper->panels()) {
            // The same road as the row's "Organize Now".
            if (&p->folder() == trayFolders_[static_cast<size_t>(index)])
                return emit paper->InvokeFolderTask(p);
        }
    });

    // "Undo last run" is offered only while there is something to take back; the menu asks
    // the log each time it opens (one indexed read).
    connect(trayMenu_.get(), &QMenu::aboutToShow, this, [this] {
        openLogs();
        trayMenu_->setUndoLastRunShown(settings_->undoWorker().CanUndoLastRun());
    });
    connect(trayMenu_.get(), &TrayMenu::undoLastRunClicked, this, &FormStart::undoLastRun);
    connect(&settings_->undoWorker(), &UndoWorker::finished, this,
            [this](const UndoReport& report) {
                if (!undoFromTray_) return;
                undoFromTray_ = false;
                QString line = QStringLiteral("Undo last run: %1 put back")
                                   .arg(report.count(UndoStep::Outcome::kDone));
                if (const int left = report.count(UndoStep::Outcome::kConflict))
                    line += QStringLiteral(", %1 left alone (see the action log)").arg(left);
                if (trayShown())
                    tray_->showMessage(kTitle, line, QSystemTrayIcon::Information, 3000);
                else
                    basket_->showNotice(line);
            });

    // Asked for during an automatic batch, the settings window stays away: say why.
    connect(vars_.get(), &AppVarMgr::settingWinShowRefused, this, [this] {
        if (basket_->isVisible())
            basket_->showNotice(QString::fromLatin1(FormBasket::kAutoTaskText));
    });
    connect(basket_.get(), &FormBasket::settingsRequested, this,
            [this] { vars_->setSettingWinShow(true); });
    connect(basket_.get(), &FormBasket::wizardRequested, this, &FormStart::openWizard);
    connect(dropWorker_.get(), &FolderTaskWorker::itemOutcome, this,
            [this](int index, const QString& path, const RunOutcome& outcome) {
                if (!runFromDrop_) return;
                basket_->itemFinished(index, path, outcome);
                if (heartbeat_) heartbeat_->itemDone();
            });
    connect(dropWorker_.get(), &FolderTaskWorker::finished, this, &FormStart::onRunFinished);
}

void FormStart::buildTray() {
    tray_ = std::make_unique<QSystemTrayIcon>(BasketPicture::trayIcon(false));
    tray_->setToolTip(kTitle);
    tray_->setContextMenu(trayMenu_.get());
    connect(tray_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger) PopupTrayMenu(QCursor::pos());
            });
    // A folder organised from the tray menu (its row is not on screen) says when it is done.
    connect(&settings_->runner(), &AutoTaskRunner::manualRunFinished, this,
            [this](WatchedFolder* folder, const QString& text) {
                if (vars_->settingWinShow() || !folder) return;
                const QString line =
                    QStringLiteral("Organize [%1]: %2").arg(folder->folderNameText(), text);
                if (trayShown())
                    tray_->showMessage(kTitle, line, QSystemTrayIcon::Information, 3000);
                else
                    basket_->showNotice(line);
            });
    connect(&settings_->runner(), &AutoTaskRunner::trayImageChanged, this,
            [this](bool automatic) { tray_->setIcon(BasketPicture::trayIcon(automatic)); });
    trayMenu_->setBasketChecked(vars_->basketShow());
    trayMenu_->setSettingChecked(vars_->settingWinShow());
}

void FormStart::checkTray() {
    if (unloaded_) return;
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        // A tray that appears later (a panel restarted) gets the icon then.
        if (!tray_->isVisible()) tray_->show();
        return;
    }
    // Without a tray the basket is the only way in: it stays on screen and its right
    // button gives the tray menu.
    if (!vars_->basketShow()) vars_->setBasketShow(true);
    if (trayNoticeGiven_) return;
    trayNoticeGiven_ = true;
    // Once for the data folder, not at every log-on of a desktop that never has a tray.
    const QString section = QStringLiteral("desktop"), key = QStringLiteral("trayNoticeShown");
    if (IniFile::Load(paths_.optionsFile()).file.value(section, key).value_or(QString()) ==
        QLatin1String("True"))
        return;
    (void)UpdateIniFile(paths_.optionsFile(),
                        [&](IniFile& ini) { ini.setValue(section, key, QStringLiteral("True")); });
    dialogs_.tell(kTitle, QStringLiteral("This desktop has no notification area, so Vandrel's "
                                         "menu is on the basket: click the basket with the "
                                         "right mouse button."));
}

void FormStart::undoLastRun() {
    openLogs();
    UndoWorker& undo = settings_->undoWorker();
    UndoWorker::Selection selection = undo.lastRun();
    if (selection.undoable == 0) return;
    const QString text = QStringLiteral(
                             "Undo the last run? %1 item(s) go back where they were (copies go "
                             "to the trash). Items changed since are left as they are.")
                             .arg(selection.undoable);
    if (!dialogs_.ask(QStringLiteral("Undo last run"), text)) return;
    undoFromTray_ = undo.Start(std::move(selection));
}

bool FormStart::trayShown() const { return tray_ && tray_->isVisible(); }

namespace {
QPoint LowerRight(const QSize& size) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return QPoint(kCornerGap, kCornerGap);
    const QRect area = screen->availableGeometry();
    return QPoint(area.right() + 1 - size.width() - kCornerGap,
                  area.bottom() + 1 - size.height() - kCornerGap);
}
}  // namespace

void FormStart::showBasketFirstTime() {
    const QPoint at = LowerRight(basket_->size());
    vars_->setBasketLeft(pixelsToTwips(at.x()));
    vars_->setBasketTop(pixelsToTwips(at.y()));
    vars_->setBasketShow(true);
}

void FormStart::placeBasket() {
    QPoint at(twipsToPixels(vars_->basketLeft()), twipsToPixels(vars_->basketTop()));
    // A place on no screen (a monitor since unplugged) would lose the basket.
    if (!QGuiApplication::screenAt(QRect(at, basket_->size()).center()))
        at = LowerRight(basket_->size());
    basket_->move(at);
    basket_->show();
    basket_->raise();
}

void FormStart::pollBasketPosition() {
    if (!vars_->basketShow() || !basket_->isVisible()) return;
    const qint32 left = pixelsToTwips(basket_->x());
    const qint32 top = pixelsToTwips(basket_->y());
    if (left == vars_->basketLeft() && top == vars_->basketTop()) return;
    vars_->setBasketLeft(left);
    vars_->setBasketTop(top);
}

void FormStart::PopupTrayMenu(const QPoint& at) { trayMenu_->popup(at); }

void FormStart::RefreshFolderList() {
    trayFolders_ = settings_->state().folders().GetFolderCollection();
    QStringList captions;
    for (const WatchedFolder* f : trayFolders_) captions << f->folderNameText();
    trayMenu_->RefreshFolderList(captions);
}

void FormStart::showSettingsTab(int tab) {
    vars_->setSettingWinShow(true);  // refused during an automatic batch
    if (vars_->settingWinShow()) settings_->chooseTab(tab);
}

SettingsState& FormStart::settingsState() { return settings_->state(); }

void FormStart::reloadViews() {
    settings_->rulesTab()->paper()->LoadFromString(settings_->state().rules().SaveToString());
    settings_->foldersTab()->paper()->refresh();
    RefreshFolderList();
}

void FormStart::openWizard(const QString& path) {
    if (!wizard_) {
        wizard_ = new FormRuleWizard(*vars_, settings_->state().engine());
        connect(wizard_, &FormRuleWizard::applied, this,
                [this](const QString& ruleText, const QString& item) {
                    settings_->rulesTab()->paper()->AddNewRule(ruleText);
                    // On disk at once: a new rule is not lost if the session ends first.
                    (void)settings_->state().SaveRules();
                    if (!startRun({item}, false)) pendingWizardRuns_ << item;
                });
        // Beside the basket, not over it: the next drop must still find it.
        const QRect b = basket_->frameGeometry();
        const QScreen* screen = basket_->screen();
        const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
        int x = b.left() - wizard_->width() - kCornerGap / 3;
        if (x < area.left()) x = b.right() + 1 + kCornerGap / 3;
        x = qBound(area.left(), x, qMax(area.left(), area.right() + 1 - wizard_->width()));
        const int y =
            qBound(area.top(), b.top(), qMax(area.top(), area.bottom() + 1 - wizard_->height()));
        wizard_->move(x, y);
    }
    wizard_->setPath(path);
    wizard_->show();
    wizard_->raise();
    wizard_->activateWindow();
}

bool FormStart::startRun(const QStringList& items, bool fromDrop) {
    if (exiting_ || dropWorker_->running()) return false;
    openLogs();
    AutoFolderTask task;
    task.taskItems = items;
    task.folderCaption = QString::fromLatin1(FormBasket::kWindowTitle);
    task.ruleSelection = QStringLiteral("all");
    runFromDrop_ = fromDrop;
    if (!dropWorker_->Start(task, settings_->state().rules())) return false;
    if (fromDrop && heartbeat_) heartbeat_->setBusy(true);
    return true;
}

void FormStart::onRunFinished(const QString& why) {
    const bool fromDrop = runFromDrop_;
    runFromDrop_ = false;
    if (fromDrop) {
        if (heartbeat_) {
            heartbeat_->setBusy(false);
            heartbeat_->dropDone();
        }
        basket_->runFinished(why);
    } else if (!why.isEmpty()) {
        dialogs_.tell(kTitle, why);
    }
    // A wizard's item that came while a drop ran goes now.
    if (!pendingWizardRuns_.isEmpty() && startRun(pendingWizardRuns_, false))
        pendingWizardRuns_.clear();
    emit runFinished();
}

void FormStart::requestExit() {
    if (exiting_) return;
    exiting_ = true;
    // A worker waiting for an answer goes on with "no" and stops after its item.
    prompt_->shutdown();
    settings_->runner().requestStop();
    // Ends every event loop, also that of a dialog open now; Unload follows.
    QCoreApplication::exit(0);
}

void FormStart::releaseSaves() {
    if (!savesHeld_) return;
    savesHeld_ = false;
    vars_->releaseSaves();
}

void FormStart::saveAll() {
    if (unloaded_) return;
    releaseSaves();
    (void)settings_->state().SaveRules();
    (void)settings_->state().SaveFolders();
    (void)basket_->SaveQuickFolders(paths_.quickFoldersFile());
}

void FormStart::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    exiting_ = true;
    releaseSaves();
    timerPos_.stop();
    prompt_->shutdown();
    delete wizard_.data();
    msg_->hide();
    settings_->Unload();  // saves rules and folders, closes the log
    dropWorker_.reset();  // waits for the item in hand
    if (const QString error = basket_->SaveQuickFolders(paths_.quickFoldersFile());
        !error.isEmpty())
        qWarning("%s", qPrintable(error));
    basket_->hide();
    tray_->hide();
    if (heartbeat_ && !heartbeat_->write())
        qWarning("the heartbeat file %s cannot be written",
                 qPrintable(qEnvironmentVariable("VANDREL_UI_HEARTBEAT")));
}

}  // namespace vandrel
