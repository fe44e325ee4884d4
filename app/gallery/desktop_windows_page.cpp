#include "desktop_windows_page.h"

#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QMimeData>
#include <QVBoxLayout>

#include "app/app_var_mgr.h"
#include "app/gallery/gallery_titled.h"
#include "app/view/form_rule_wizard.h"
#include "basket/quick_folder_list.h"
#include "basket/view/form_basket.h"
#include "folders/auto_task_runner.h"
#include "folders/view/form_msg.h"
#include "folders/watched_folder_list.h"
#include "platform/clock.h"
#include "rules/rule_list.h"
#include "rules/view/zol_rule_panel.h"

using namespace vandrel;

using gallery::Titled;

namespace {

constexpr Qt::Alignment kTopLeft = Qt::AlignLeft | Qt::AlignTop;

const SystemClock kClock;

// The widget as a child of the page (it is a window of its own in the program).
QWidget* Embedded(QWidget* w, const QString& name) {
    w->setParent(nullptr, Qt::Widget);
    w->setObjectName(name);
    return w;
}

}  // namespace

DesktopWindowsPage::DesktopWindowsPage(QWidget* parent) : QWidget(parent) {
    const QString root = sandbox_.path();
    for (const char* d : {"Sorted", "Invoices", "Photos", "Downloads"})
        QDir().mkpath(root + "/" + QLatin1String(d));
    const QString report = root + "/Downloads/quarterly report.txt";
    QFile(report).open(QIODevice::WriteOnly);

    vars_ = std::make_unique<AppVarMgr>(QString());
    rules_ = std::make_unique<RuleList>(EngineContext());
    rules_->LoadFromString(
        "Text notes<|RU|>All<|RU|>Extension<|CP|>is<|CD|>txt<|RU|>Move to<|AP|>" + root +
        "/Sorted<|AC|>0<|AC|><|AC|>1<|RU|>0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C21");
    FormBasket::Engine engine;
    engine.test = [this](const QString& path) { return rules_->DoRulesTest(path); };
    engine.run = [](const QStringList&) { return false; };

    const QString quickText = root + "/Invoices<|QFS|>" + root + "/Photos";
    quickIdle_ = std::make_unique<QuickFolderList>();
    quickOpen_ = std::make_unique<QuickFolderList>();
    quickOpen_->LoadFromString(quickText);
    quickPreview_ = std::make_unique<QuickFolderList>();
    auto* idle = new FormBasket(*vars_, *quickIdle_, engine);
    auto* open = new FormBasket(*vars_, *quickOpen_, engine);
    open->setQuickPanelOpen(true);
    auto* preview = new FormBasket(*vars_, *quickPreview_, engine);
    // The preview shows what a drag of the report over the basket shows.
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(report)});
    const QPoint at(preview->width() / 2, preview->width() * 3 / 4);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(preview, &enter);

    auto* wizard = new FormRuleWizard(*vars_, EngineContext());
    wizard->setPath(root + "/Downloads/holiday-2026.jpg");
    wizard->rulePanel()->LoadFromString(
        "Photos<|RU|>All<|RU|>Extension<|CP|>is<|CD|>jpg<|RU|>Move to<|AP|>" + root +
        "/Photos<|AC|>0<|AC|><|AC|>1<|RU|>0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C29");
    wizard->setAttribute(Qt::WA_DeleteOnClose, false);

    folders_ = std::make_unique<WatchedFolderList>(kClock);
    runner_ = std::make_unique<AutoTaskRunner>(*vars_, *folders_, kClock, nullptr);
    auto* msg = new FormMsg(*runner_);
    AutoFolderTask task;
    task.folderCaption = QStringLiteral("Downloads");
    runner_->StartAutoTask({task});
    for (int i = 0; i < 3; ++i) runner_->CountdownTick();

    auto* grid = new QGridLayout(this);
    grid->addWidget(Titled("Basket", Embedded(idle, "basketIdle"), kTopLeft), 0, 0);
    grid->addWidget(Titled("Quick folders open", Embedded(open, "basketQuickFolders"), kTopLeft), 0,
                    1);
    grid->addWidget(Titled("Drag-over preview", Embedded(preview, "basketPreview"), kTopLeft), 0,
                    2);
    grid->addWidget(Titled("Countdown window", Embedded(msg, "formMsg"), kTopLeft), 0, 3);
    grid->addWidget(Titled("Rule wizard", Embedded(wizard, "ruleWizard"), kTopLeft), 1, 0, 1, 4);
    grid->setColumnStretch(4, 1);
}

DesktopWindowsPage::~DesktopWindowsPage() {
    // The windows go first, while the models they show exist.
    for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) delete w;
}
