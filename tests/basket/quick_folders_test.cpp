// Quick folders: drops move the items through the safe operations and log them under
// "Quick Move"; choosing a folder already in the row resets the slot; qfolders.txt.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "basket/quick_folder_list.h"
#include "basket/view/quick_folder.h"
#include "basket/view/quick_folder_paper.h"
#include "log/log_manager.h"

namespace vandrel {
namespace {

bool Touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write("x") == 1;
}

// Drops the urls on the widget as a user's drag would: enter, move, then drop.
void DropUrls(QWidget* w, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = w->rect().center();
    QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &enter);
    QDragMoveEvent move(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    QDropEvent drop(QPointF(at), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &drop);
}

TEST(QuickFolderPaper, DropMovesItemsAndLogsThem) {
    struct Case {
        const char* name;
        QStringList sources;   // created under src/ (a trailing "/" makes a folder with f.txt)
        QStringList present;   // already in the quick folder
        QStringList dropped;   // relative to src/ (missing ones included)
        QStringList expected;  // in the quick folder afterwards
        int logged;
    };
    const Case cases[] = {
        {"plain file", {"a.txt"}, {}, {"a.txt"}, {"a.txt"}, 1},
        {"clash numbered",
         {"a.txt", "b.txt"},
         {"a.txt"},
         {"a.txt", "b.txt"},
         {"a.txt", "a1.txt", "b.txt"},
         2},
        {"folder with contents", {"docs/"}, {}, {"docs"}, {"docs", "docs/f.txt"}, 1},
        {"missing item not logged", {"b.txt"}, {}, {"gone.txt", "b.txt"}, {"b.txt"}, 1},
    };
    for (const Case& c : cases) {
        QTemporaryDir tmp;
        const QString src = tmp.filePath("src"), quick = tmp.filePath("quick");
        QDir().mkpath(quick);
        for (const QString& s : c.sources)
            ASSERT_TRUE(Touch(src + "/" + s + (s.endsWith('/') ? "f.txt" : ""))) << c.name;
        for (const QString& s : c.present) ASSERT_TRUE(Touch(quick + "/" + s)) << c.name;
        LogManager log;
        ASSERT_TRUE(log.OpenLogFile(tmp.filePath("log.db"))) << c.name;
        QuickFolderList model;
        model.LoadFromString(quick);
        QuickFolderPaper paper(model);
        paper.setLog(&log);
        QList<QUrl> urls;
        for (const QString& d : c.dropped) urls << QUrl::fromLocalFile(src + "/" + d);
        QSignalSpy done(&paper, &QuickFolderPaper::quickMoveFinished);
        DropUrls(paper.quickFolders().at(0), urls);
        ASSERT_TRUE(done.wait(10000)) << c.name;
        for (const QString& e : c.expected)
            EXPECT_TRUE(QFileInfo::exists(quick + "/" + e)) << c.name << " " << e.toStdString();
        for (const QString& d : c.dropped) EXPECT_FALSE(QFileInfo::exists(src + "/" + d)) << c.name;
        const auto rows = log.SearchActionLog(QString(), 17, 1);
        ASSERT_EQ(static_cast<int>(rows.size()), c.logged) << c.name;
        for (const LogRow& r : rows) {
            EXPECT_EQ(r.ruleTitle, QStringLiteral("Quick Move")) << c.name;
            EXPECT_EQ(r.actionName, QStringLiteral("Move")) << c.name;
            EXPECT_TRUE(QFileInfo::exists(r.dstPath)) << c.name;
        }
    }
}

TEST(QuickFolderPaper, ChoosingAFolderFillsOrResetsTheSlot) {
    struct Case {
        const char* name;
        QString stored;
        int slot;  // clicked slot
        QString chosen;
        QString saved;
        int slotTotal;
        QString label0;
    };
    const Case cases[] = {
        {"new folder adds a slot", "", 0, "/srv/Documents and Settings",
         "/srv/Documents and Settings", 2, "Document"},
        {"duplicate resets slot", "/a<|QFS|>/b", 2, "/a", "/a<|QFS|>/b", 3, "a"},
        {"cancel changes nothing", "/a", 1, "", "/a", 2, "a"},
        {"unstorable path refused", "/a", 1, "/x<|QFS|>y", "/a", 2, "a"},
    };
    for (const Case& c : cases) {
        QuickFolderList model;
        QuickFolderPaper paper(model);
        paper.LoadFromString(c.stored);
        paper.setChooser([&](QWidget*, const QString& title) {
            EXPECT_EQ(title, QStringLiteral("Select a folder for quick moving.")) << c.name;
            return c.chosen;
        });
        QTest::mousePress(paper.quickFolders().at(c.slot), Qt::LeftButton);
        QCoreApplication::processEvents();
        EXPECT_EQ(paper.SaveToString(), c.saved) << c.name;
        ASSERT_EQ(static_cast<int>(paper.quickFolders().size()), c.slotTotal) << c.name;
        EXPECT_EQ(paper.quickFolders().front()->labelText(), c.label0) << c.name;
        EXPECT_EQ(paper.quickFolders().back()->labelText(), QStringLiteral("Browse...")) << c.name;
    }
}

TEST(QuickFolderList, FileLoadAndSave) {
    QTemporaryDir tmp;
    const QString file = tmp.filePath("qfolders.txt");
    QuickFolderList list;
    EXPECT_EQ(list.LoadFromFile(file).status, StateReadStatus::Missing);
    EXPECT_EQ(list.paths(), QStringList{QString()});
    ASSERT_EQ(list.AssignFolder(0, "/srv/a"), QuickFolderList::Assigned::Added);
    ASSERT_TRUE(list.SaveToFile(file).ok());
    QuickFolderList back;
    EXPECT_EQ(back.LoadFromFile(file).status, StateReadStatus::Ok);
    EXPECT_EQ(back.paths(), (QStringList{"/srv/a", QString()}));
    // A damaged file is kept aside, never loaded as folders nor overwritten by the next save.
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("/a<|QFS|>relative\r\n") > 0);
    f.close();
    const StateReadResult bad = back.LoadFromFile(file);
    EXPECT_EQ(bad.status, StateReadStatus::Unreadable);
    EXPECT_TRUE(QFileInfo::exists(bad.keptAsidePath));
    EXPECT_EQ(back.paths(), QStringList{QString()});
}

}  // namespace
}  // namespace vandrel
