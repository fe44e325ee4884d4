// The desktop program opens its action log only when something needs it: starting
// creates no log and keeps SQLite out of memory, and a quick move, which acts without
// going through the rules, opens the log itself and is logged.
#include <gtest/gtest.h>

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "app/view/form_start.h"
#include "basket/view/form_basket.h"
#include "basket/view/quick_folder.h"
#include "basket/view/quick_folder_paper.h"
#include "log/log_manager.h"
#include "platform/clock.h"

namespace vandrel {
namespace {

TEST(FormStart, LogIsOpenedByTheFirstQuickMoveNotAtStart) {
    QTemporaryDir dir;
    const QString data = dir.filePath("data"), quick = dir.filePath("quick");
    const QString item = dir.filePath("item.txt");
    ASSERT_TRUE(QDir().mkpath(data) && QDir().mkpath(quick) &&
                QFile(item).open(QIODevice::WriteOnly));
    const FakeClock clock{QDateTime(QDate(2026, 3, 2), QTime(9, 0))};
    FormStart start(DataPaths(data), clock);  // nothing here tells or asks
    QCoreApplication::processEvents();
    EXPECT_FALSE(QFileInfo::exists(data + "/log.db"));

    QuickFolderPaper& paper = *start.basket().quickFolderPaper();
    paper.LoadFromString(quick);
    QSignalSpy done(&paper, &QuickFolderPaper::quickMoveFinished);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(item)});
    QWidget* target = paper.quickFolders().at(0);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    ASSERT_TRUE(done.wait(10000));
    EXPECT_TRUE(QFileInfo::exists(quick + "/item.txt"));
    start.Unload();
    LogManager log;
    ASSERT_TRUE(log.OpenLogFile(data + "/log.db"));
    EXPECT_EQ(log.SearchActionLog(QString(), 17, 1).size(), 1u);
}

}  // namespace
}  // namespace vandrel
