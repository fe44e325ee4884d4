// The log tab's "Undo this run": the confirmation counts the items, the undo runs on the
// worker thread and the item is back when the tab says it has finished.
#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>

#include "actions/undo_mark.h"
#include "app/undo_worker.h"
#include "log/log_manager.h"
#include "log/log_reader.h"
#include "log/log_run.h"
#include "log/view/form_search.h"
#include "log/view/log_tab.h"

namespace vandrel {
namespace {

TEST(LogTabUndo, UndoThisRunAsksWithTheCountAndPutsTheItemsBack) {
    QTemporaryDir dir;
    const QString logPath = dir.filePath("log.db");
    const QString in = dir.filePath("in"), out = dir.filePath("out");
    ASSERT_TRUE(QDir().mkpath(in) && QDir().mkpath(out));
    {
        LogManager log;
        ASSERT_TRUE(log.OpenLogFile(logPath));
        const LogRun run(&log);
        for (const QString name : {"a", "b"}) {
            QFile f(out + '/' + name);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            log.AppendActionLog(
                {QDateTime::currentDateTime(), in + '/' + name, out + '/' + name, "Move", name,
                 UndoMark::ForPath(DefaultFileSystem(), out + '/' + name).toText()});
            ASSERT_TRUE(log.CommitToLogFile("rule"));
        }
    }
    LogReader reader(logPath);
    UndoWorker undo(logPath);
    LogTab tab(reader);
    tab.setUndoWorker(&undo);
    QString asked;
    tab.setConfirm([&asked](const QString&, const QString& text) {
        asked = text;
        return true;
    });
    tab.enterTab();
    QSignalSpy shown(tab.formSearch(), &FormSearch::pageShown);
    ASSERT_TRUE(shown.wait(10000) && tab.grid()->item(0, 0));
    tab.grid()->setCurrentCell(0, 1);
    QSignalSpy finished(&tab, &LogTab::undoFinished);
    tab.undoSelected(true);
    EXPECT_TRUE(asked.contains("2 item(s)")) << asked.toStdString();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_TRUE(QFile::exists(in + "/a") && QFile::exists(in + "/b") && !QFile::exists(out + "/a"));
}

}  // namespace
}  // namespace vandrel
