// The settings window: the log search's lifetime across tab switches, the close button
// writing both lists through the state lock, a damaged rules.txt kept aside and told
// once, and the rule import's refusals.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "app/app_var_mgr.h"
#include "app/view/form_rules_setting.h"
#include "folders/auto_task_runner.h"
#include "folders/view/folder_panel.h"
#include "folders/view/folders_paper.h"
#include "folders/view/folders_tab.h"
#include "folders/watched_folder_list.h"
#include "log/log_manager.h"
#include "log/view/form_search.h"
#include "log/view/log_tab.h"
#include "platform/clock.h"
#include "platform/state_file.h"
#include "rules/rule_list.h"

namespace vandrel {
namespace {

QString Rule(const QString& title, int n) {
    return title +
           "<|RU|>All<|RU|>Extension<|CP|>is<|CD|>txt<|RU|>Move "
           "to<|AP|>/tmp<|AC|>0<|AC|><|AC|>1<|RU|>" +
           QStringLiteral("0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C2%1").arg(n);
}

struct Window {
    QTemporaryDir dir;
    FakeClock clock;
    std::unique_ptr<AppVarMgr> vars;
    std::unique_ptr<FormRulesSetting> w;
    QStringList told;
    QString chosen;
    void open() {
        vars = std::make_unique<AppVarMgr>(dir.filePath("options.ini"),
                                           Autostart(dir.filePath("autostart")));
        w = std::make_unique<FormRulesSetting>(DataPaths(dir.path()), *vars, clock);
        FormRulesSetting::Dialogs d;
        d.chooseFile = [this](QWidget*, bool) { return chosen; };
        d.ask = [](QWidget*, const QString&, const QString&) { return true; };
        d.tell = [this](QWidget*, const QString&, const QString& text) { told << text; };
        d.open = [](const QUrl&) {};
        w->setDialogs(d);
    }
    void write(const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QString line(const QString& name) { return ReadStateLine(dir.filePath(name)).text; }
};

TEST(FormRulesSetting, LogTabHoldsOneFreshSearchWhileCurrent) {
    Window t;
    t.open();
    struct Step {
        int tab;
        bool search;  // a FormSearch exists afterwards
        bool same;    // it is the one of the step before
    };
    const Step steps[] = {{3, true, false},  {3, true, true},   {2, false, false}, {3, true, false},
                          {1, false, false}, {4, false, false}, {3, true, false}};
    FormSearch* before = nullptr;
    for (size_t i = 0; i < std::size(steps); ++i) {
        if (before) before->setObjectName("seen");  // tells a fresh one from the old one
        t.w->chooseTab(steps[i].tab);
        FormSearch* now = t.w->logTab()->formSearch();
        EXPECT_EQ(now != nullptr, steps[i].search) << "step " << i;
        if (now) {
            EXPECT_EQ(now->objectName() == "seen", steps[i].same) << "step " << i;
            EXPECT_EQ(now->currentPage(), 1) << "step " << i;
        }
        EXPECT_EQ(t.w->logTab()->isHidden(), steps[i].tab != 3) << "step " << i;
        before = now;
    }
}

TEST(FormRulesSetting, CloseAppliesTheWindowsEditsToWhatIsOnDisk) {
    struct Case {
        const char* name;
        bool editInWindow;
        bool otherWriter;   // rules.txt changed by another program while the window was open
        QString wantTitle;  // title of the first rule on disk after closing
    };
    const Case cases[] = {
        {"nothing changed: both files written", false, false, "Alpha"},
        {"window edit written", true, false, "untitled"},
        {"other writer kept when the window has no edit", false, true, "Other"},
        {"window edit wins over the other writer", true, true, "untitled"},
    };
    for (const Case& c : cases) {
        Window t;
        t.write("rules.txt", (Rule("Alpha", 1) + "\r\n").toUtf8());
        t.open();
        t.w->state().folders().AddNewFolder().setFolderPath(t.dir.filePath("in"));
        if (c.editInWindow) t.w->state().rules().AddNewRule();
        if (c.otherWriter) t.write("rules.txt", (Rule("Other", 2) + "\r\n").toUtf8());
        t.vars->setSettingWinShow(true);
        t.w->closeClicked();
        EXPECT_TRUE(t.told.isEmpty()) << c.name;
        EXPECT_FALSE(t.vars->settingWinShow()) << c.name;
        EXPECT_TRUE(t.w->isHidden()) << c.name;
        EXPECT_TRUE(t.line("rules.txt").startsWith(c.wantTitle + "<|RU|>")) << c.name;
        EXPECT_TRUE(t.line("folders.txt").contains(t.dir.filePath("in"))) << c.name;
        EXPECT_EQ(t.w->state().rules().rule(0).ruleTitle(), c.wantTitle) << c.name;
    }
}

TEST(FormRulesSetting, OrganizeNowRunsTheFolderOnTheWorkerAndLogsIt) {
    Window t;
    const QString in = t.dir.filePath("in"), out = t.dir.filePath("out");
    QDir().mkpath(in);
    QDir().mkpath(out);
    t.write("in/a.txt", "a");
    t.write("in/b.jpg", "b");
    QString rule = Rule("Texts", 1);
    t.write("rules.txt", (rule.replace("/tmp", out) + "\r\n").toUtf8());
    t.open();
    t.w->state().folders().AddNewFolder().setFolderPath(in);
    t.w->foldersTab()->paper()->refresh();
    t.w->chooseTab(2);
    FolderPanel* row = t.w->foldersTab()->paper()->panels().at(0);
    row->Invoke();
    auto* status = row->findChild<QLabel*>("lblNotify");
    ASSERT_TRUE(QTest::qWaitFor([&] { return status->text() == kManualRunDone; }, 10000));
    EXPECT_TRUE(QFile::exists(out + "/a.txt"));
    EXPECT_TRUE(QFile::exists(in + "/b.jpg"));
    EXPECT_FALSE(t.vars->handTaskRunning());
    EXPECT_EQ(t.w->state().log().GetActionCount("a.txt"), 1);
}

TEST(FormRulesSetting, DamagedRulesFileIsKeptAsideAndToldOnce) {
    Window t;
    t.write("rules.txt", QByteArray("bad\0rules", 9));
    t.open();
    t.w->show();
    QTest::qWait(0);
    QCoreApplication::processEvents();
    t.w->hide();
    t.w->show();
    QCoreApplication::processEvents();
    ASSERT_EQ(t.told.size(), 1);
    EXPECT_TRUE(t.told[0].contains("rules.txt could not be read"));
    const QStringList aside = QDir(t.dir.path()).entryList({"rules.txt.unreadable-*"});
    ASSERT_EQ(aside.size(), 1);
    t.w->state().rules().AddNewRule();
    t.w->closeClicked();
    EXPECT_TRUE(t.line("rules.txt").startsWith("untitled<|RU|>"));
    EXPECT_TRUE(QFile::exists(t.dir.filePath(aside[0])));
}

TEST(FormRulesSetting, ImportRefusesWhatIsNoRuleListAndRoundTrips) {
    struct Case {
        const char* name;
        QByteArray file;
        QString toldStart;
        QString firstTitle;
    };
    const Case cases[] = {
        {"no rule separator", "just some notes\n", "I think this file", "Alpha"},
        {"not UTF-8", "x<|RU|>\xff\xfe\n", "", "Alpha"},
        {"a rule list", (Rule("Beta", 3) + "\n").toUtf8(), "Import Successfully", "Beta"},
    };
    for (const Case& c : cases) {
        Window t;
        t.write("rules.txt", (Rule("Alpha", 1) + "\r\n").toUtf8());
        t.open();
        t.write("import.txt", c.file);
        t.chosen = t.dir.filePath("import.txt");
        t.w->chooseTab(3);
        t.w->importRules();
        ASSERT_EQ(t.told.size(), 1) << c.name;
        if (!c.toldStart.isEmpty()) {
            EXPECT_TRUE(t.told[0].startsWith(c.toldStart)) << c.name;
        }
        EXPECT_EQ(t.w->state().rules().rule(0).ruleTitle(), c.firstTitle) << c.name;
        EXPECT_EQ(t.w->currentTab(), 1) << c.name;
    }
    Window t;
    t.write("rules.txt", (Rule("Alpha", 1) + "<|RP|>" + Rule("Beta", 2) + "\r\n").toUtf8());
    t.open();
    const QString before = t.w->state().rules().SaveToString();
    t.chosen = t.dir.filePath("out.txt");
    t.w->exportRules();
    t.w->state().rules().AddNewRule();
    t.w->importRules();
    EXPECT_EQ(t.w->state().rules().SaveToString(), before);
    EXPECT_EQ(t.told, QStringList({"Export Successfully.", "Import Successfully"}));
}

}  // namespace
}  // namespace vandrel
