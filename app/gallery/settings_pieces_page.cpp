#include "settings_pieces_page.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "actions/view/form_confirm.h"
#include "app/gallery/gallery_titled.h"
#include "basket/quick_folder_list.h"
#include "basket/view/quick_folder_paper.h"
#include "folders/view/folder_panel.h"
#include "folders/view/folders_paper.h"
#include "folders/view/folders_tab.h"
#include "folders/watched_folder_list.h"
#include "platform/clock.h"
#include "rules/rule_list.h"

using namespace vandrel;

using gallery::Titled;

namespace {

const SystemClock kClock;

QString RuleText(const QString& title, const QString& ext, const QString& dest, int n) {
    return title + "<|RU|>All<|RU|>Extension<|CP|>is<|CD|>" + ext + "<|RU|>Move to<|AP|>" + dest +
           "<|AC|>0<|AC|><|AC|>1<|RU|>" +
           QStringLiteral("0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C2%1").arg(n);
}

}  // namespace

SettingsPiecesPage::SettingsPiecesPage(QWidget* parent)
    : QWidget(parent),
      rules_(std::make_unique<RuleList>(EngineContext{})),
      folders_(std::make_unique<WatchedFolderList>(kClock)),
      quick_(std::make_unique<QuickFolderList>()) {
    const QString root = sandbox_.path();
    const QString downloads = root + "/Downloads", sorted = root + "/Sorted";
    for (const QString& d : {downloads, sorted, root + "/Desktop", root + "/Scans",
                             root + "/Documents and Settings", root + "/Music"})
        QDir().mkpath(d);
    const QStringList names{"holiday-2026.jpg", "invoice-0412.pdf",
                            "notes.txt",        "song.mp3",
                            "scan_0001.pdf",    "report-final.docx",
                            "IMG_2044.jpg",     "a very long file name for a single row.txt",
                            "budget.xlsx",      "readme.txt"};
    for (const QString& n : names) QFile(downloads + "/" + n).open(QIODevice::WriteOnly);
    QStringList rules;
    const QStringList titles{"Photos", "Invoices and scans", "Text notes", "Music", "Office files"};
    const QStringList exts{"jpg", "pdf", "txt", "mp3", "docx"};
    for (int i = 0; i < 5; ++i) rules << RuleText(titles[i], exts[i], sorted, i);
    rules[4].replace("All<|RU|>Extension<|CP|>is<|CD|>docx",
                     "Any<|RU|>Extension<|CP|>is<|CD|>docx<|CP|>Extension<|CP|>is<|CD|>xlsx");
    rules_->LoadFromString(rules.join("<|RP|>"));

    auto* row = new QHBoxLayout(this);
    row->setSpacing(18);

    auto* foldersTab = new FoldersTab(*folders_);
    const QStringList watched{root + "/Desktop", root + "/Scans", downloads};
    for (const QString& w : watched) {
        WatchedFolder& f = folders_->AddNewFolder();
        f.setFolderPath(w);
        f.setEnabled(true);
    }
    folders_->folder(1).setMethod("at");
    folders_->folder(1).setHour("08");
    folders_->folder(1).setMinute("30");
    folders_->folder(0).setConfirm(true);
    folders_->folder(0).selector().LoadFromString(
        "<guid>0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C20</"
        "guid><guid>0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C22</guid>");
    foldersTab->paper()->refresh();
    foldersTab->enterTab(rules_->GetRuleAttrs());
    foldersTab->paper()->panels().at(0)->setExpanded(true);
    foldersTab->paper()->panels().at(0)->InvokeNotify("Last run: 3 items organized.");
    row->addWidget(Titled("Folders tab", foldersTab), 0, Qt::AlignTop);

    quick_->LoadFromString(root + "/Documents and Settings<|QFS|>" + root + "/Music<|QFS|>" +
                           sorted);
    auto* quick = new QuickFolderPaper(*quick_);
    quick->setObjectName("oQuickFolderPaper");
    row->addWidget(Titled("Quick folders", quick), 0, Qt::AlignTop);

    auto* sheet = new FormConfirm;
    sheet->setWindowFlags(Qt::Widget);  // shown inside the page instead of as its own window
    AutoFolderTask task;
    task.folderCaption = "Downloads";
    task.ruleSelection = "all";
    for (const QString& n : names) task.taskItems << downloads + "/" + n;
    sheet->SetTaskObj(task, *rules_);
    row->addWidget(Titled("Confirmation sheet", sheet), 0, Qt::AlignTop);
    row->addStretch();
}

SettingsPiecesPage::~SettingsPiecesPage() = default;
