// The desktop program's windows over a real data folder: the basket's status texts for
// drops and drag-overs (refusals, results, progress, a step not done, the wizard), a
// second drop refused while one runs, the wizard's Apply and Cancel, the countdown window
// through a batch of two folders, the tray menu's items and marks, the basket's place
// saved by the poll and restored with the quick folders after an exit, and questions
// asked on the user-interface thread for a worker.
#include <gtest/gtest.h>

#include <QDir>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "app/app_var_mgr.h"
#include "app/ui_thread_prompt.h"
#include "app/view/form_rule_wizard.h"
#include "app/view/form_rules_setting.h"
#include "app/view/form_start.h"
#include "app/view/tray_menu.h"
#include "basket/view/form_basket.h"
#include "basket/view/quick_folder_paper.h"
#include "folders/auto_task_runner.h"
#include "folders/auto_task_timers.h"
#include "folders/view/form_msg.h"
#include "folders/watched_folder.h"
#include "folders/watched_folder_list.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/single_instance.h"
#include "platform/state_file.h"
#include "rules/rule_list.h"
#include "rules/view/zol_rule_panel.h"

namespace vandrel {
namespace {

struct Desktop {
    QTemporaryDir dir;
    FakeClock clock{QDateTime(QDate(2026, 3, 2), QTime(9, 0, 30))};
    std::unique_ptr<FormStart> start;
    QStringList told, asked;
    QList<QThread*> askedOn;

    Desktop() {
        QDir().mkpath(path("data"));
        QDir().mkpath(path("Sorted"));
        const QString move = "<|RU|>Move to<|AP|>%1<|AC|>0<|AC|><|AC|>1<|RU|>";
        QStringList rules{"Text notes<|RU|>All<|RU|>Extension<|CP|>is<|CD|>txt" +
                              move.arg(path("Sorted")) + "0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C21",
                          "Stops<|RU|>All<|RU|>Extension<|CP|>is<|CD|>bad" +
                              move.arg(path("missing")) + "0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C22",
                          "Opener<|RU|>All<|RU|>Extension<|CP|>is<|CD|>pdf<|RU|>Open<|AP|>1<|RU|>"
                          "0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C23"};
        EXPECT_TRUE(WriteStateLine(path("data/rules.txt"), rules.join("<|RP|>")));
    }
    QString path(const QString& rel) const { return dir.filePath(rel); }
    QString make(const QString& rel) {
        QFile f(path(rel));
        QDir().mkpath(QFileInfo(f).path());
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        return f.fileName();
    }
    void open() {
        FormStart::Dialogs d;
        d.tell = [this](const QString&, const QString& text) { told << text; };
        d.ask = [this](const QString&, const QString& text) {
            asked << text;
            askedOn << QThread::currentThread();
            return false;
        };
        d.open = [](const QString&) {};
        start = std::make_unique<FormStart>(DataPaths(path("data")), clock, d);
    }
    FormBasket& basket() { return start->basket(); }
    // Drags paths over the basket's picture, and drops them when drop; true when taken.
    bool drag(const QStringList& paths, bool drop, bool asText = false) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
        asText ? mime.setText(paths.join('\n')) : mime.setUrls(urls);
        const QPoint at(basket().width() / 2, basket().width() * 3 / 4);
        const auto actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&basket(), &enter);
        QDragMoveEvent move(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&basket(), &move);
        if (!drop) return move.isAccepted();
        QDropEvent dropped(QPointF(at), actions, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&basket(), &dropped);
        return dropped.isAccepted();
    }
    bool waitRun() {
        return QTest::qWaitFor([&] { return !start->vars().dropTaskRunning(); }, 10000);
    }
    QString option(const char* key) {
        return IniFile::Load(path("data/options.ini")).file.value("startup", key).value_or("-");
    }
};

TEST(Basket, StatusTextsOfDropsAndDragOvers) {
    enum Setup { kIdle, kAuto, kSettings };
    struct Row {
        const char* name;
        Setup setup;
        QStringList files;
        bool drop;
        QString status;     // the text at the end (a prefix for a step not done)
        bool wizard;        // the rule wizard opened for the item
        int sorted;         // items moved into Sorted
        QString seen = {};  // a text shown on the way
        QString asked = {};
        bool asText = false;
    };
    const Row rows[] = {
        {"automatic batch, drop", kAuto, {"a.txt"}, true, "Auto Task is Running", false, 0},
        {"automatic batch, drag-over", kAuto, {"a.txt"}, false, "Auto Task is Running", false, 0},
        {"settings open, drop",
         kSettings,
         {"a.txt"},
         true,
         "Settings Window is Open.\nPlease close it.",
         false,
         0},
        {"settings open, drag-over",
         kSettings,
         {"a.txt"},
         false,
         "Settings Window is Open\nPlease close it.",
         false,
         0},
        {"one matched file dragged over", kIdle, {"a.txt"}, false, "Text notes", false, 0},
        {"one unmatched file dragged over",
         kIdle,
         {"x.log"},
         false,
         "no matched rule\nDrop to create a new rule.",
         false,
         0},
        {"two items dragged over", kIdle, {"a.txt", "x.log"}, false, "2 items", false, 0},
        {"one matched file dropped", kIdle, {"a.txt"}, true, "Text notes", false, 1},
        {"one unmatched file dropped", kIdle, {"x.log"}, true, "no matched rule", true, 0},
        {"one file in use dropped", kIdle, {"held.log"}, true, "already in use", false, 0},
        {"a move not done", kIdle, {"c.bad"}, true, "Stops\n\"Move to\" not done: ", false, 0},
        {"three files dropped",
         kIdle,
         {"a.txt", "b.txt", "c.txt"},
         true,
         "Text notes\nc.txt\n(3/3)",
         false,
         3,
         "Text notes\nb.txt\n(2/3)"},
        {"open asks first", kIdle, {"d.pdf"}, true, "Opener", false, 0, {}, "Do you want to open "},
        {"text, not files",
         kIdle,
         {"a.txt"},
         true,
         "Drop files or folders",
         false,
         0,
         {},
         {},
         true},
    };
    for (const Row& row : rows) {
        Desktop t;
        QStringList paths;
        for (const QString& f : row.files) paths << t.make("in/" + f);
        t.open();
        QProcess holder;  // keeps held.log open, as another program would
        if (row.files.contains("held.log")) {
            holder.setStandardInputFile(paths.first());
            holder.start("sleep", {"30"});
            ASSERT_TRUE(holder.waitForStarted()) << row.name;
        }
        if (row.setup == kAuto) t.start->vars().setAutoTaskRunning(true);
        if (row.setup == kSettings) t.start->vars().setSettingWinShow(true);
        QStringList seen;
        QObject::connect(&t.basket(), &FormBasket::statusShown,
                         [&](const QString& text) { seen << text; });
        t.drag(paths, row.drop, row.asText);
        ASSERT_TRUE(t.waitRun()) << row.name;
        EXPECT_TRUE(t.basket().statusText().startsWith(row.status))
            << row.name << ": " << t.basket().statusText().toStdString();
        if (!row.seen.isEmpty()) {
            EXPECT_TRUE(seen.contains(row.seen)) << row.name;
        }
        EXPECT_EQ(t.start->wizard() != nullptr, row.wizard) << row.name;
        if (row.wizard) {
            EXPECT_EQ(t.start->wizard()->path(), paths.first()) << row.name;
        }
        EXPECT_EQ(QDir(t.path("Sorted")).entryList(QDir::Files).size(), row.sorted) << row.name;
        EXPECT_EQ(t.asked.size(), row.asked.isEmpty() ? 0 : 1) << row.name;
        if (!row.asked.isEmpty()) {
            EXPECT_EQ(t.asked.value(0), row.asked + paths.first()) << row.name;
            EXPECT_EQ(t.askedOn.value(0), qApp->thread()) << row.name;
        }
        // A second later the basket takes drops again and shows its idle text; a step not
        // done stays readable longer.
        t.basket().resetStatus();
        const bool held = row.status.contains("not done");
        EXPECT_EQ(t.basket().statusText() == "Drop files or folders", !held) << row.name;
        EXPECT_TRUE(t.basket().pictureEnabled()) << row.name;
        holder.kill();
        holder.waitForFinished();
    }
}

TEST(Basket, RefusesASecondDropWhileTheFirstRuns) {
    Desktop t;
    QStringList first;
    for (int i = 0; i < 40; ++i) first << t.make(QStringLiteral("in/f%1.txt").arg(i));
    const QString late = t.make("in/late.txt");
    t.open();
    ASSERT_TRUE(t.drag(first, true));
    EXPECT_TRUE(t.start->vars().dropTaskRunning());
    EXPECT_FALSE(t.drag({late}, true));
    ASSERT_TRUE(t.waitRun());
    EXPECT_EQ(QDir(t.path("Sorted")).entryList(QDir::Files).size(), 40);
    EXPECT_TRUE(QFile::exists(late));
}

TEST(RuleWizard, ApplyAddsTheRuleAndRunsItCancelChangesNothing) {
    for (const bool apply : {true, false}) {
        Desktop t;
        const QString item = t.make("in/x.log");
        t.open();
        t.drag({item}, true);
        ASSERT_TRUE(t.waitRun());
        FormRuleWizard* wizard = t.start->wizard();
        ASSERT_NE(wizard, nullptr);
        EXPECT_TRUE(t.start->vars().creatingNewRule());
        const int rulesBefore = t.start->settingsState().rules().ruleCount();
        wizard->rulePanel()->LoadFromString(
            "Logs<|RU|>All<|RU|>Extension<|CP|>is<|CD|>log<|RU|>Move to<|AP|>" + t.path("Sorted") +
            "<|AC|>0<|AC|><|AC|>1<|RU|>1B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C29");
        const int heightWithOneAction = wizard->height();
        QSignalSpy ran(t.start.get(), &FormStart::runFinished);
        QTest::mouseClick(wizard->findChild<QWidget*>(apply ? "btnApply" : "btnCancel"),
                          Qt::LeftButton);
        if (apply) {
            ASSERT_TRUE(ran.wait(10000));
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(t.start->wizard(), nullptr) << apply;
        EXPECT_FALSE(t.start->vars().creatingNewRule()) << apply;
        EXPECT_EQ(t.start->settingsState().rules().ruleCount(), rulesBefore + (apply ? 1 : 0));
        EXPECT_EQ(t.start->settingsState().rules().rule(0).ruleTitle(),
                  apply ? "Logs" : "Text notes");
        EXPECT_EQ(QFile::exists(t.path("Sorted/x.log")), apply);
        EXPECT_EQ(ReadStateLine(t.path("data/rules.txt")).text.startsWith("Logs<|RU|>"), apply);
        EXPECT_GT(heightWithOneAction, 0);
    }
}

TEST(CountdownWindow, TwoFoldersAnnouncedCancelSkipsTheFirstTheSecondRuns) {
    Desktop t;
    t.make("w1/one.txt");
    t.make("w2/two.txt");
    t.open();
    WatchedFolderList& folders = t.start->settingsState().folders();
    for (const char* name : {"w2", "w1"}) {
        WatchedFolder& f = folders.AddNewFolder();
        f.setFolderPath(t.path(name));
        f.setEnabled(true);
    }
    AutoTaskRunner& runner = t.start->settings().runner();
    const QTimer& timerFolder = t.start->settings().timers().folderTimer();
    t.clock.set(QDateTime(QDate(2026, 3, 2), QTime(9, 1, 0)));
    EXPECT_EQ(runner.FolderTimerTick(), 0);  // the schedules start: due at 10:01:00
    t.clock.set(QDateTime(QDate(2026, 3, 2), QTime(10, 1, 30)));
    ASSERT_EQ(runner.FolderTimerTick(), 2);
    FormMsg& msg = t.start->msg();
    auto* cancel = msg.findChild<QWidget*>("btnCancel");
    EXPECT_TRUE(msg.isVisible());
    EXPECT_FALSE(timerFolder.isActive());
    EXPECT_FALSE(t.start->trayMenu().item("menu_setting")->isEnabled());
    EXPECT_EQ(msg.folderText(), "[" + folders.folder(0).folderNameText() + "]");
    EXPECT_EQ(msg.timeText(), "10");
    for (int i = 0; i < 9; ++i) runner.CountdownTick();
    EXPECT_EQ(msg.timeText(), "2");
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_EQ(msg.folderText(), "[" + folders.folder(1).folderNameText() + "]");
    EXPECT_EQ(msg.timeText(), "10");
    QSignalSpy finished(&runner, &AutoTaskRunner::batchFinished);
    for (int i = 0; i < 10; ++i) runner.CountdownTick();
    EXPECT_FALSE(cancel->isVisible());
    ASSERT_TRUE(finished.count() > 0 || finished.wait(10000));
    EXPECT_FALSE(msg.isVisible());
    EXPECT_TRUE(QFile::exists(t.path("w1/one.txt")));
    EXPECT_TRUE(QFile::exists(t.path("Sorted/two.txt")));
    EXPECT_TRUE(timerFolder.isActive());
    EXPECT_FALSE(t.start->vars().autoTaskRunning());
    EXPECT_TRUE(t.start->trayMenu().item("menu_setting")->isEnabled());
}

TEST(TrayMenu, ItemsAndMarksFollowTheState) {
    Desktop t;
    WatchedFolderList stored(t.clock);
    for (const char* name : {"Scans", "Downloads"}) {
        QDir().mkpath(t.path(name));
        stored.AddNewFolder().setFolderPath(t.path(name));
    }
    ASSERT_TRUE(WriteStateLine(t.path("data/folders.txt"), stored.SaveToString()));
    t.open();
    TrayMenu& menu = t.start->trayMenu();
    QStringList texts;
    for (const QAction* a : menu.actions()) texts << a->text();
    EXPECT_EQ(texts,
              QStringList({"Exit", "Help Documents", "About", "", "Rules", "Folders", "Action Log",
                           "Undo last run", "", "Show Basket Window", "Show Settings Window"}));
    emit menu.aboutToShow();
    EXPECT_FALSE(menu.item("menu_undolast")->isVisible()) << "nothing done yet";
    EXPECT_EQ(menu.folderItemTexts(),
              QStringList({"Organize [Downloads] now.", "Organize [Scans] now."}));
    struct Step {
        const char* name;
        std::function<void()> act;
        bool basket, setting, foldersEnabled;
    };
    AppVarMgr& vars = t.start->vars();
    const Step steps[] = {
        {"first start", [] {}, true, false, true},
        {"settings shown", [&] { vars.setSettingWinShow(true); }, true, true, false},
        {"settings hidden", [&] { vars.setSettingWinShow(false); }, true, false, true},
        {"basket item", [&] { menu.item("menu_basket")->trigger(); }, false, false, true},
        {"settings item", [&] { menu.item("menu_setting")->trigger(); }, false, true, false},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(menu.item("menu_basket")->isChecked(), s.basket) << s.name;
        EXPECT_EQ(vars.basketShow(), s.basket) << s.name;
        EXPECT_EQ(t.basket().isVisible(), s.basket) << s.name;
        EXPECT_EQ(menu.item("menu_setting")->isChecked(), s.setting) << s.name;
        EXPECT_EQ(t.start->settings().isVisible(), s.setting) << s.name;
        EXPECT_EQ(menu.foldersMenu()->menuAction()->isEnabled(), s.foldersEnabled) << s.name;
    }
    // A folder added while the window was open is in the menu once it is closed.
    t.start->settingsState().folders().AddNewFolder().setFolderPath(t.path("Sorted"));
    vars.setSettingWinShow(false);
    EXPECT_EQ(menu.folderItemTexts().value(0), "Organize [Sorted] now.");
    EXPECT_EQ(menu.folderItemTexts().size(), 3);
    // A folder's item organizes that folder at once.
    t.make("Downloads/n.txt");
    for (QAction* a : menu.foldersMenu()->actions())
        if (a->text() == "Organize [Downloads] now.") a->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(t.path("Sorted/n.txt")); }, 10000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !vars.handTaskRunning(); }, 10000));
    // That run can be taken back from the menu.
    emit menu.aboutToShow();
    EXPECT_TRUE(menu.item("menu_undolast")->isVisible());
}

TEST(FormStart, BasketPlaceIsPolledAndEverythingComesBackAfterExit) {
    Desktop t;
    t.open();
    FormBasket& basket = t.basket();
    // A first start shows the basket at the lower right of the screen.
    const QRect screen = basket.screen()->availableGeometry();
    EXPECT_TRUE(basket.isVisible());
    EXPECT_TRUE(screen.contains(basket.geometry()));
    EXPECT_GT(basket.x(), screen.center().x());
    EXPECT_GT(basket.y(), screen.center().y());
    // Written once the windows are up, not value by value while they come up.
    EXPECT_EQ(t.option("basketShow"), "-");
    EXPECT_TRUE(QTest::qWaitFor([&] { return t.option("basketShow") == "True"; }));
    basket.move(basket.pos() - QPoint(100, 60));
    const QPoint moved = basket.pos();
    t.start->pollBasketPosition();
    EXPECT_EQ(t.option("basketLeft"), QString::number(moved.x() * 15));
    EXPECT_EQ(t.option("basketTop"), QString::number(moved.y() * 15));
    basket.quickFolderPaper()->LoadFromString(t.path("Sorted"));
    t.start->settingsState().rules().AddNewRule();
    t.start->Unload();
    EXPECT_EQ(ReadStateLine(t.path("data/qfolders.txt")).text, t.path("Sorted"));
    EXPECT_TRUE(ReadStateLine(t.path("data/rules.txt")).text.startsWith("untitled<|RU|>"));
    t.start.reset();
    t.open();
    EXPECT_EQ(t.basket().pos(), moved);
    EXPECT_EQ(t.basket().quickFolderPaper()->SaveToString(), t.path("Sorted"));
    EXPECT_EQ(t.start->settingsState().rules().ruleCount(), 4);
}

TEST(UiThreadPrompt, WorkerWaitsForTheUiThreadAndQuittingAnswersNo) {
    QThread* askedOn = nullptr;
    bool quitWhileAsking = false;
    UiThreadPrompt prompt([&](const QString&, const QString&) {
        askedOn = QThread::currentThread();
        if (quitWhileAsking) prompt.shutdown();
        return true;
    });
    const auto askFromWorker = [&] {
        std::atomic<int> answer{-1};
        std::unique_ptr<QThread> worker(
            QThread::create([&] { answer = prompt.Confirm("Confirm", "Do you want to open x"); }));
        worker->start();
        EXPECT_TRUE(QTest::qWaitFor([&] { return answer >= 0; }, 5000));
        worker->wait();
        return answer.load();
    };
    EXPECT_EQ(askFromWorker(), 1);
    EXPECT_EQ(askedOn, qApp->thread());
    quitWhileAsking = true;
    EXPECT_EQ(askFromWorker(), 0);
    askedOn = nullptr;
    EXPECT_EQ(askFromWorker(), 0);  // after the shutdown nobody is asked
    EXPECT_EQ(askedOn, nullptr);
}

TEST(DesktopProgram, StopSignalEndsItLikeExitAndKeepsTheState) {
    QTemporaryDir dir;
    const QString data = dir.filePath("data"), quick = dir.filePath("Quick");
    QDir().mkpath(quick);
    QDir().mkpath(data);
    QDir().mkpath(dir.filePath("home"));
    ASSERT_TRUE(WriteStateLine(data + "/qfolders.txt", quick));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("DISPLAY", ":0");  // a display is named; the offscreen platform draws
    env.insert("HOME", dir.filePath("home"));
    env.insert("XDG_CONFIG_HOME", dir.filePath("home/.config"));
    p.setProcessEnvironment(env);
    p.start(VANDREL_BINARY, {"--data-dir", data});
    ASSERT_TRUE(p.waitForStarted());
    // Started once the first start has written its options and the basket's place.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(data + "/options.ini"); }, 20000));
    SingleInstance other(data);
    EXPECT_FALSE(other.tryAcquire());  // the scheduler's lock is the desktop program's
    p.terminate();
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(ReadStateLine(data + "/qfolders.txt").text, quick);
    const IniFile ini = IniFile::Load(data + "/options.ini").file;
    EXPECT_EQ(ini.value("startup", "basketShow").value_or("-"), "True");
    EXPECT_EQ(ini.value("desktop", "trayNoticeShown").value_or("-"), "True");
    EXPECT_TRUE(other.tryAcquire());
}

}  // namespace
}  // namespace vandrel
