// Changes handed over by the command line reach the running program's windows: the rule
// list view, the folder rows and the tray's folder items, and then the files.
#include "app/view/desktop_channel.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <future>

#include "app/cli/commands.h"
#include "app/view/form_rules_setting.h"
#include "app/view/form_start.h"
#include "app/view/rules_tab.h"
#include "app/view/tray_menu.h"
#include "folders/view/folders_paper.h"
#include "folders/view/folders_tab.h"
#include "platform/clock.h"
#include "platform/single_instance.h"
#include "platform/state_file.h"
#include "rules/view/rules_paper.h"

namespace vandrel {
namespace {

int RunOffThread(const QString& dataDir, CliCommandFn command, const QStringList& args,
                 QString& err) {
    auto done = std::async(std::launch::async, [&] {
        QString out;
        QTextStream o(&out), e(&err);
        CliContext ctx{DataPaths(dataDir), o, e};
        return command(ctx, args);
    });
    // The program answers on this thread, so it keeps serving while the command waits.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return done.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; },
        10000));
    return done.get();
}

TEST(DesktopChannel, HandedOverChangesReachTheWindows) {
    QTemporaryDir dir;
    const QString data = dir.filePath("data"), watch = dir.filePath("watch");
    ASSERT_TRUE(QDir().mkpath(data) && QDir().mkpath(watch));
    const QString rules =
        "A<|RU|>All<|RU|>Extension<|CP|>is<|CD|>txt<|RU|>Move to<|AP|>/tmp/a<|AC|>0<|AC|><|AC|>1"
        "<|RU|>0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C21<|RP|>B<|RU|>All<|RU|>Extension<|CP|>is<|CD|>"
        "pdf<|RU|>Move "
        "to<|AP|>/tmp/b<|AC|>0<|AC|><|AC|>1<|RU|>0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C22";
    ASSERT_TRUE(WriteStateLine(dir.filePath("import.txt"), rules));

    SingleInstance scheduler(data);
    ASSERT_TRUE(scheduler.tryAcquire());
    DesktopChannel channel(data);
    ASSERT_EQ(channel.start().status, DesktopServer::StartStatus::Listening);
    FormStart::Dialogs dialogs;
    dialogs.tell = [](const QString&, const QString&) {};
    dialogs.ask = [](const QString&, const QString&) { return false; };
    dialogs.open = [](const QString&) {};
    const FakeClock clock{QDateTime(QDate(2026, 3, 2), QTime(9, 0))};
    FormStart start(DataPaths(data), clock, dialogs);
    channel.attach(start);

    QString err;
    ASSERT_EQ(RunOffThread(data, RunRulesCommand, {"import", dir.filePath("import.txt")}, err), 0)
        << err.toStdString();
    RulesPaper& paper = *start.settings().rulesTab()->paper();
    ASSERT_EQ(paper.GetRuleAttrs().size(), 2u);
    ASSERT_NE(paper.panel(1), nullptr);  // a row over the new list, not the old one
    EXPECT_EQ(paper.SaveToString(), rules);

    ASSERT_EQ(RunOffThread(data, RunFoldersCommand, {"add", watch}, err), 0) << err.toStdString();
    EXPECT_EQ(start.settings().foldersTab()->paper()->panels().size(), 1u);
    QStringList items;
    for (QAction* a : start.trayMenu().foldersMenu()->actions()) items << a->text();
    EXPECT_TRUE(items.contains("Organize [watch] now.")) << items.join('|').toStdString();

    start.Unload();
    EXPECT_EQ(ReadStateLine(data + "/rules.txt").text, rules);
    EXPECT_TRUE(ReadStateLine(data + "/folders.txt").text.contains(watch));
}

}  // namespace
}  // namespace vandrel
