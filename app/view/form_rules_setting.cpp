#include "app/view/form_rules_setting.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "actions/view/form_confirm.h"
#include "app/app_var_mgr.h"
#include "app/folder_task_worker.h"
#include "app/undo_worker.h"
#include "app/view/info_tab.h"
#include "app/view/rules_tab.h"
#include "aqua_check.h"
#include "aqua_close_btn.h"
#include "aqua_help_button.h"
#include "aqua_tab.h"
#include "folders/auto_task_runner.h"
#include "folders/auto_task_timers.h"
#include "folders/view/folder_panel.h"
#include "folders/view/folders_paper.h"
#include "folders/view/folders_tab.h"
#include "folders/watched_folder_list.h"
#include "log/log_manager.h"
#include "log/log_reader.h"
#include "log/view/log_tab.h"
#include "rules/rule_list.h"
#include "rules/view/rules_paper.h"
#include "twips.h"

namespace vandrel {

using vitreon::twipsToPixels;

namespace {

constexpr int kPanelLeft = 315;
constexpr int kPanelTop = 885;
constexpr int kCaptionHeight = 390;

FormRulesSetting::Dialogs DefaultDialogs() {
    FormRulesSetting::Dialogs d;
    d.chooseFile = [](QWidget* owner, bool save) {
        const QString filter = QStringLiteral("Text files (*.txt);;All files (*)");
        if (!save)
            return QFileDialog::getOpenFileName(owner, QStringLiteral("Import Rules"), QString(),
                                                filter);
        // The window asks its own question about an existing file.
        QString file =
            QFileDialog::getSaveFileName(owner, QStringLiteral("Export Rules"), QString(), filter,
                                         nullptr, QFileDialog::DontConfirmOverwrite);
        if (!file.isEmpty() && QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".txt");
        return file;
    };
    d.ask = [](QWidget* owner, const QString& title, const QString& text) {
        return QMessageBox::question(owner, title, text, QMessageBox::Ok | QMessageBox::Cancel) ==
               QMessageBox::Ok;
    };
    d.tell = [](QWidget* owner, const QString& title, const QString& text) {
        QMessageBox::information(owner, title, text);
    };
    d.open = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    return d;
}

}  // namespace

FormRulesSetting::FormRulesSetting(const DataPaths& paths, AppVarMgr& vars, const Clock& clock,
                                   QWidget* parent, SettingsState::LogOpening logOpening)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      vars_(vars),
      state_(paths, clock),
      dialogs_(DefaultDialogs()) {
    setObjectName(QStringLiteral("FormRulesSetting"));
    setWindowTitle(QStringLiteral("Vandrel Settings"));
    setFixedSize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
    loadProblems_ = state_.Load(logOpening);
    // The log view reads through its own connection; takes this window's log still holds
    // are stored first, so the view shows them.
    logReader_ =
        std::make_unique<LogReader>(state_.paths().logFile(), [this] { state_.log().Flush(); });
    worker_ = std::make_unique<FolderTaskWorker>(state_.paths().logFile(), clock);
    undo_ =
        std::make_unique<UndoWorker>(state_.paths().logFile(), [this] { state_.log().Flush(); });
    buildChrome();
    wireFolders();
    chooseTab(1);
    connect(&vars_, &AppVarMgr::settingWinShowChanged, this, &FormRulesSetting::showSetting);
}

void FormRulesSetting::openLog() {
    if (state_.logOpenTried()) return;
    const QStringList problems = state_.OpenLog();
    if (problems.isEmpty()) return;
    loadProblems_ << problems;
    // Not shown yet: told with the rest at the first show. Otherwise told now, and what
    // was told before not again.
    if (!problemsTold_ && !isVisible()) return;
    problemsTold_ = true;
    QTimer::singleShot(0, this, [this, problems] {
        dialogs_.tell(this, QStringLiteral("Vandrel"), problems.join(QLatin1Char('\n')));
    });
}

void FormRulesSetting::setActionPrompt(ActionPrompt* prompt) { worker_->setPrompt(prompt); }

FormRulesSetting::~FormRulesSetting() {
    if (!unloaded_) Unload();
}

void FormRulesSetting::buildChrome() {
    lblCaption_ = new QLabel(QStringLiteral("Vandrel Settings"), this);
    lblCaption_->setObjectName(QStringLiteral("lblCaption"));
    QFont bold = lblCaption_->font();
    bold.setBold(true);
    lblCaption_->setFont(bold);
    lblCaption_->setStyleSheet(QStringLiteral("color: white;"));
    lblCaption_->setGeometry(twipsToPixels(240), 0, twipsToPixels(5000),
                             twipsToPixels(kCaptionHeight));
    // Presses on the caption reach the window, which starts the drag.
    lblCaption_->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto* close = new vitreon::AquaCloseBtn(this);
    close->setObjectName(QStringLiteral("AquaCloseBtn1"));
    close->setToolTip(QStringLiteral("Close"));
    close->move(width() - close->width() - twipsToPixels(90),
                (twipsToPixels(kCaptionHeight) - close->height()) / 2);
    connect(close, &vitreon::AquaCloseBtn::Click, this, &FormRulesSetting::closeClicked);
    auto* help = new vitreon::AquaHelpButton(this);
    help->setObjectName(QStringLiteral("oAquaHelpButton"));
    help->setToolTip(QStringLiteral("Help Documents"));
    help->move(close->x() - help->width() - twipsToPixels(60),
               (twipsToPixels(kCaptionHeight) - help->height()) / 2);
    connect(help, &vitreon::AquaHelpButton::Click, this,
            [this] { dialogs_.open(QUrl(QLatin1String(kHelpUrl))); });

    aquaTab1_ = new vitreon::AquaTab(this);
    aquaTab1_->setObjectName(QStringLiteral("AquaTab1"));
    aquaTab1_->setTabCaptions({QStringLiteral("Rules"), QStringLiteral("Folders"),
                               QStringLiteral("Action Log"), QStringLiteral("Information")});
    aquaTab1_->resize(twipsToPixels(7200), aquaTab1_->sizeHint().height());
    aquaTab1_->move(twipsToPixels(kPanelLeft), twipsToPixels(kPanelTop - 60) - aquaTab1_->height());
    connect(aquaTab1_, &vitreon::AquaTab::TabClick, this, [this](int n) { chooseTab(n); });

    rulesTab_ = new RulesTab(state_.rules(), this);
    rulesTab_->move(twipsToPixels(kPanelLeft), twipsToPixels(kPanelTop));
    foldersTab_ = new FoldersTab(state_.folders(), this);
    foldersTab_->setObjectName(QStringLiteral("picFolders"));
    foldersTab_->move(twipsToPixels(kPanelLeft), twipsToPixels(kPanelTop));
    logTab_ = new LogTab(*logReader_, this);
    logTab_->setUndoWorker(undo_.get());
    logTab_->setObjectName(QStringLiteral("picLog"));
    logTab_->move(twipsToPixels(kPanelLeft), twipsToPixels(kPanelTop));
    infoTab_ = new InfoTab(QStringLiteral(VANDREL_VERSION), this);
    infoTab_->setObjectName(QStringLiteral("picInfo"));
    infoTab_->move(twipsToPixels(330), twipsToPixels(900));
    connect(infoTab_, &InfoTab::openUrl, this, [this](const QUrl& url) { dialogs_.open(url); });

    chkStartWithWin_ = new vitreon::AquaCheck(this);
    chkStartWithWin_->setObjectName(QStringLiteral("chkStartWithWin"));
    chkStartWithWin_->setCaption(QStringLiteral("Run Vandrel when the desktop starts"));
    chkStartWithWin_->resize(chkStartWithWin_->sizeHint());
    chkStartWithWin_->move(twipsToPixels(kPanelLeft),
                           height() - chkStartWithWin_->height() - twipsToPixels(150));
    chkStartWithWin_->setValue(vars_.startWithWindows() ? 1 : 0);
    connect(chkStartWithWin_, &vitreon::AquaCheck::Click, this,
            [this] { vars_.setStartWithWindows(chkStartWithWin_->Value() != 0); });

    rulesMenu_ = new QMenu(this);
    rulesMenu_->addAction(QStringLiteral("Export Rules..."), this, &FormRulesSetting::exportRules);
    rulesMenu_->addAction(QStringLiteral("Import Rules..."), this, &FormRulesSetting::importRules);
    connect(rulesTab_, &RulesTab::functionMenuAt, this,
            [this](const QPoint& at) { rulesMenu_->popup(at); });
}

void FormRulesSetting::wireFolders() {
    const Clock& clock = state_.folders().clock();
    runner_ = std::make_unique<AutoTaskRunner>(
        vars_, state_.folders(), clock,
        [this](const QString& path, const QString& selection) {
            openLog();
            return state_.rules().DoRunRules(path, selection);
        },
        this);
    // Runs go to the worker thread against a snapshot of the rules.
    runner_->setTaskStarter([this](const AutoFolderTask& task, WatchedFolder* manualFolder) {
        workerFolder_ = manualFolder;
        openLog();
        if (!worker_->Start(task, state_.rules())) {
            if (manualFolder)
                runner_->ManualRunFinished(*manualFolder);
            else
                runner_->SilentRunFinished();
        }
    });
    connect(worker_.get(), &FolderTaskWorker::itemDone, this,
            [this](const QString&, const QString& result) {
                if (FolderPanel* p = panelOf(workerFolder_)) p->InvokeNotify(result);
            });
    connect(worker_.get(), &FolderTaskWorker::finished, this, [this](const QString& why) {
        WatchedFolder* folder = workerFolder_;
        workerFolder_ = nullptr;
        if (!why.isEmpty()) dialogs_.tell(this, QStringLiteral("Vandrel"), why);
        if (folder)
            runner_->ManualRunFinished(*folder);
        else
            runner_->SilentRunFinished();
    });
    runner_->setConfirmHandler([this](const AutoFolderTask& task) {
        openLog();
        FormConfirm sheet(this);
        sheet.SetTaskObj(task, state_.rules(), worker_->context());
        sheet.exec();
    });
    connect(runner_.get(), &AutoTaskRunner::manualRunNotify, this,
            [this](WatchedFolder* f, const QString& text) {
                if (FolderPanel* p = panelOf(f)) p->InvokeNotify(text);
            });
    connect(runner_.get(), &AutoTaskRunner::manualRunFinished, this,
            [this](WatchedFolder* f, const QString& text) {
                if (FolderPanel* p = panelOf(f)) p->InvodeResult(text);
            });
    connect(foldersTab_->paper(), &FoldersPaper::InvokeFolderTask, this, [this](FolderPanel* p) {
        if (!runner_->ManualRun(p->folder()))
            p->InvodeResult(QStringLiteral("Another run is in progress; try again when it ends."));
    });
    timerFolder_ = std::make_unique<AutoTaskTimers>(*runner_);
    timerFolder_->start();
}

FolderPanel* FormRulesSetting::panelOf(const WatchedFolder* folder) const {
    if (!folder) return nullptr;
    for (FolderPanel* p : foldersTab_->paper()->panels())
        if (&p->folder() == folder) return p;
    return nullptr;
}

int FormRulesSetting::currentTab() const { return aquaTab1_->shownTab(); }

void FormRulesSetting::chooseTab(int tabNum) {
    if (tabNum < 1 || tabNum > 4) return;
    if (aquaTab1_->shownTab() != tabNum) {
        aquaTab1_->SwitchTab(tabNum);  // raises TabClick, which comes back here
        return;
    }
    rulesTab_->setVisible(tabNum == 1);
    foldersTab_->setVisible(tabNum == 2);
    infoTab_->setVisible(tabNum == 4);
    if (tabNum == 3) {
        openLog();
        // Choosing the log tab again keeps its search; only entering it starts a new one.
        if (logTab_->isHidden()) logTab_->show();
        logTab_->enterTab();
        return;
    }
    logTab_->hide();
    logTab_->leaveTab();
    if (tabNum == 2) foldersTab_->enterTab(state_.rules().GetRuleAttrs());
}

bool FormRulesSetting::saveLists() {
    QStringList errors;
    const ListSaveResult rules = state_.SaveRules();
    if (!rules.ok) errors << rules.error;
    if (rules.reload) rulesTab_->paper()->LoadFromString(*rules.reload);
    const ListSaveResult folders = state_.SaveFolders();
    if (!folders.ok) errors << folders.error;
    if (folders.reload) foldersTab_->paper()->LoadFromString(*folders.reload);
    if (errors.isEmpty()) return true;
    dialogs_.tell(this, QStringLiteral("Vandrel"),
                  errors.join(QLatin1Char('\n')) +
                      QStringLiteral("\nYour changes are kept while Vandrel runs; close the "
                                     "window again to retry."));
    return false;
}

void FormRulesSetting::closeClicked() {
    if (!saveLists()) return;
    vars_.setSettingWinShow(false);
    hide();
}

void FormRulesSetting::Unload() {
    unloaded_ = true;
    logTab_->leaveTab();
    timerFolder_->stop();
    runner_->requestStop();
    worker_.reset();  // waits for the item in hand
    const ListSaveResult rules = state_.SaveRules();
    const ListSaveResult folders = state_.SaveFolders();
    if (!rules.ok) qWarning("%s", qPrintable(rules.error));
    if (!folders.ok) qWarning("%s", qPrintable(folders.error));
    state_.log().CloseLogFile();
}

void FormRulesSetting::showSetting(bool shown) {
    if (!shown) {
        hide();
        return;
    }
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    activateWindow();
}

void FormRulesSetting::exportRules() {
    const QString title = QStringLiteral("Export");
    const QString file = dialogs_.chooseFile(this, true);
    if (file.isEmpty()) return;
    if (QFileInfo::exists(file) &&
        !dialogs_.ask(this, title, QStringLiteral("Are you sure to overwrite the exist file?")))
        return;
    const QString error = state_.ExportRules(file);
    if (!error.isEmpty()) {
        dialogs_.tell(this, title,
                      QStringLiteral("The rules could not be written to %1: %2").arg(file, error));
        return;
    }
    dialogs_.tell(this, title, QStringLiteral("Export Successfully."));
}

void FormRulesSetting::importRules() {
    const QString title = QStringLiteral("Import");
    const QString file = dialogs_.chooseFile(this, false);
    if (file.isEmpty()) return;
    if (!dialogs_.ask(this, title,
                      QStringLiteral("This operation will overwrite your current rules.\nAre you "
                                     "sure to import this rules settings?")))
        return;
    const ImportResult r = SettingsState::ReadImport(file);
    switch (r.status) {
        case ImportStatus::NotRules:
            dialogs_.tell(this, title,
                          QStringLiteral("I think this file doesn't contain the correct rules "
                                         "settings format."));
            break;
        case ImportStatus::Unreadable:
        case ImportStatus::Damaged:
            dialogs_.tell(this, title,
                          QStringLiteral("%1 cannot be imported: %2. Your rules were not changed.")
                              .arg(file, r.problem));
            break;
        case ImportStatus::Imported: {
            rulesTab_->paper()->LoadFromString(r.line);
            QString text = QStringLiteral("Import Successfully");
            const QStringList problems = state_.rules().loadProblems();
            if (!problems.isEmpty()) text += QLatin1Char('\n') + problems.join(QLatin1Char('\n'));
            dialogs_.tell(this, title, text);
            break;
        }
    }
    chooseTab(1);
}

void FormRulesSetting::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (problemsTold_ || loadProblems_.isEmpty()) return;
    problemsTold_ = true;
    // Told once the window is up, not from inside the show.
    QTimer::singleShot(0, this, [this] {
        dialogs_.tell(this, QStringLiteral("Vandrel"), loadProblems_.join(QLatin1Char('\n')));
    });
}

void FormRulesSetting::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient caption(0, 0, 0, twipsToPixels(kCaptionHeight));
    caption.setColorAt(0, QColor(92, 134, 206));
    caption.setColorAt(1, QColor(52, 94, 170));
    p.fillRect(0, 0, width(), twipsToPixels(kCaptionHeight), caption);
    QLinearGradient body(0, twipsToPixels(kCaptionHeight), 0, height());
    body.setColorAt(0, QColor(236, 242, 251));
    body.setColorAt(1, QColor(214, 225, 243));
    p.fillRect(0, twipsToPixels(kCaptionHeight), width(), height(), body);
    p.setPen(QColor(60, 90, 150));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void FormRulesSetting::mousePressEvent(QMouseEvent* event) {
    // A press on the caption or the background drags the borderless window.
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void FormRulesSetting::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - dragOffset_);
    else
        dragging_ = false;
}

}  // namespace vandrel
