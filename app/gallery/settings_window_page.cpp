#include "settings_window_page.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QTableWidget>

#include "app/app_var_mgr.h"
#include "app/view/form_rules_setting.h"
#include "folders/view/folder_panel.h"
#include "folders/view/folders_paper.h"
#include "folders/view/folders_tab.h"
#include "folders/watched_folder_list.h"
#include "log/log_manager.h"
#include "log/view/form_search.h"
#include "log/view/log_tab.h"
#include "platform/clock.h"
#include "platform/state_file.h"

using namespace vandrel;

namespace {

QString RuleText(const QString& title, const QString& ext, const QString& dest, int n) {
    return title + "<|RU|>All<|RU|>Extension<|CP|>is<|CD|>" + ext + "<|RU|>Move to<|AP|>" + dest +
           "<|AC|>0<|AC|><|AC|>1<|RU|>" +
           QStringLiteral("0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C2%1").arg(n);
}

}  // namespace

SettingsWindowPage::SettingsWindowPage(QWidget* parent)
    : QWidget(parent), clock_(std::make_unique<SystemClock>()) {
    const QString root = sandbox_.path(), dataDir = root + "/data";
    const QString sorted = root + "/Sorted", downloads = root + "/Downloads";
    for (const QString& d : {dataDir, sorted, downloads, root + "/Desktop", root + "/Scans"})
        QDir().mkpath(d);
    const QStringList titles{"Photos", "Invoices and scans", "Text notes", "Music", "Office files"};
    const QStringList exts{"jpg", "pdf", "txt", "mp3", "docx"};
    QStringList rules;
    for (int i = 0; i < 5; ++i) rules << RuleText(titles[i], exts[i], sorted, i);
    WriteStateLine(dataDir + "/rules.txt", rules.join("<|RP|>"));

    WatchedFolderList folders(*clock_);
    for (const QString& w : {downloads, root + "/Scans", root + "/Desktop"}) {
        WatchedFolder& f = folders.AddNewFolder();
        f.setFolderPath(w);
        f.setEnabled(true);
    }
    folders.folder(1).setMethod("at");
    folders.folder(1).setHour("08");
    folders.folder(1).setMinute("30");
    WriteStateLine(dataDir + "/folders.txt", folders.SaveToString());

    // 40 rows in takes of 1 to 5, most of whose results still exist.
    LogManager log(clock_.get());
    log.OpenLogFile(dataDir + "/log.db");
    const QStringList names{"holiday-2026.jpg", "invoice-0412.pdf",  "notes.txt",    "song.mp3",
                            "scan_0001.pdf",    "report-final.docx", "IMG_2044.jpg", "budget.xlsx"};
    for (int n = 0, take = 0; n < 40; ++take) {
        const int size = 1 + take % 5;
        for (int i = 0; i < size && n < 40; ++i, ++n) {
            const QString name = QString::number(n) + "-" + names[n % names.size()];
            if (n % 6 != 0) QFile(sorted + "/" + name).open(QIODevice::WriteOnly);
            log.AppendActionLog({QDateTime::currentDateTime().addSecs(n * 60 - 7200),
                                 downloads + "/" + name, sorted + "/" + name,
                                 n % 7 == 3 ? "Copy" : "Move", name});
        }
        log.CommitToLogFile(titles[take % 5]);
    }
    log.CloseLogFile();

    vars_ = std::make_unique<AppVarMgr>(dataDir + "/options.ini", Autostart(root + "/autostart"));
    window_ = std::make_unique<FormRulesSetting>(DataPaths(dataDir), *vars_, *clock_);
    window_->setParent(this, Qt::Widget);  // shown inside the page
    auto* row = new QHBoxLayout(this);
    row->addWidget(window_.get(), 0, Qt::AlignTop | Qt::AlignLeft);
    row->addStretch();
}

void SettingsWindowPage::showTab(int tabNum) {
    window_->chooseTab(tabNum);
    if (tabNum == 3) {
        // The second row is selected once the first page is in, so its details show.
        LogTab* log = window_->logTab();
        connect(
            log->formSearch(), &FormSearch::pageShown, log,
            [log] { log->grid()->setCurrentCell(1, 1); }, Qt::SingleShotConnection);
    }
    if (tabNum != 2) return;
    // Entering the tab collapses the rows: the first is opened afterwards, as a user would.
    FolderPanel* first = window_->foldersTab()->paper()->panels().at(0);
    first->setExpanded(true);
    first->InvokeNotify("Last run: 3 items organized.");
}

SettingsWindowPage::~SettingsWindowPage() {
    // The window is a child of the page: it goes first, while the services it uses exist.
    window_.reset();
}
