// The log tab over a real log: paging labels and buttons, a new search starting again at
// page 1, take colours, and the details with "Open"/"Locate" for a destination that is
// gone.
#include "log/view/log_tab.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "log/log_manager.h"
#include "log/log_reader.h"
#include "log/view/form_search.h"

namespace vandrel {
namespace {

// Writes takes of the given sizes, oldest first; every name holds the word given for
// its take.
void WriteLog(const QString& path, const std::vector<std::pair<int, QString>>& takes,
              const QString& dstFolder) {
    LogManager log;
    ASSERT_TRUE(log.OpenLogFile(path));
    int n = 0;
    for (const auto& [size, word] : takes) {
        for (int i = 0; i < size; ++i, ++n) {
            const QString name = QStringLiteral("%1-%2.txt").arg(word).arg(n);
            log.AppendActionLog({QDateTime::currentDateTime(), "/in/" + name,
                                 dstFolder + "/" + name, "Move", name});
        }
        ASSERT_TRUE(log.CommitToLogFile("Rule " + word));
    }
    ASSERT_TRUE(log.Flush());
}

struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<LogReader> reader;
    std::unique_ptr<LogTab> tab;
    explicit Fixture(const std::vector<std::pair<int, QString>>& takes) {
        WriteLog(dir.filePath("log.db"), takes, dir.path());
        reader = std::make_unique<LogReader>(dir.filePath("log.db"));
        tab = std::make_unique<LogTab>(*reader);
        tab->show();
    }
    FormSearch* search() const { return tab->formSearch(); }
    QWidget* w(const char* name) const { return tab->findChild<QWidget*>(name); }
    QString label(const char* name) const { return tab->findChild<QLabel*>(name)->text(); }
    // Waits until the page asked for last and the count are shown.
    bool settle(qint64 page) const {
        bool shown = false, counted = false;
        auto a = QObject::connect(search(), &FormSearch::pageShown,
                                  [&](qint64 p) { shown = p == page; });
        auto b = QObject::connect(search(), &FormSearch::countShown, [&] { counted = true; });
        const bool ok = QTest::qWaitFor([&] { return shown && counted; }, 5000);
        QObject::disconnect(a);
        QObject::disconnect(b);
        return ok;
    }
    bool turned(qint64 page, void (FormSearch::*click)()) const {
        bool shown = false;
        auto a = QObject::connect(search(), &FormSearch::pageShown,
                                  [&](qint64 p) { shown = p == page; });
        (search()->*click)();
        const bool ok = QTest::qWaitFor([&] { return shown; }, 5000);
        QObject::disconnect(a);
        return ok;
    }
    void type(const QString& text) const {
        tab->findChild<QLineEdit*>("txtSearch")->setText(text);
        search()->observe();
    }
};

TEST(LogTab, PagingLabelsAndButtons) {
    struct Case {
        const char* name;
        int rows;
        int earlierClicks;  // "Earlier >" clicks after page 1
        int gridRows;       // on the page reached
        const char* label;  // empty: hidden
        bool later, earlier;
    };
    const Case cases[] = {
        {"empty log", 0, 0, 0, "", false, false},
        {"one full page", 17, 0, 17, "", false, false},
        {"one row more", 18, 0, 17, "Page 1/2", false, true},
        {"last of two", 18, 1, 1, "Page 2/2", true, false},
        {"middle of three", 40, 1, 17, "Page 2/3", true, true},
        {"last of three", 40, 2, 6, "Page 3/3", true, false},
        {"clicks past the end", 40, 5, 6, "Page 3/3", true, false},
    };
    for (const Case& c : cases) {
        Fixture f({{c.rows, "doc"}});
        f.tab->enterTab();
        ASSERT_TRUE(f.settle(1)) << c.name;
        for (int i = 0; i < c.earlierClicks; ++i) {
            const qint64 next =
                std::min<qint64>(f.search()->currentPage() + 1, f.search()->pageCount());
            ASSERT_TRUE(f.turned(next, &FormSearch::earlierClick)) << c.name;
        }
        EXPECT_EQ(f.tab->grid()->rowCount(), c.gridRows) << c.name;
        const QString label = c.label;
        EXPECT_EQ(!f.w("lblPage")->isHidden(), !label.isEmpty()) << c.name;
        if (!label.isEmpty()) {
            EXPECT_EQ(f.label("lblPage"), label) << c.name;
        }
        EXPECT_EQ(!f.w("btnLogLater")->isHidden(), c.later) << c.name;
        EXPECT_EQ(!f.w("btnLogEarlier")->isHidden(), c.earlier) << c.name;
    }
}

TEST(LogTab, NewSearchOnPageThreeShowsItsFirstPage) {
    Fixture f({{20, "photo"}, {20, "doc"}});
    f.tab->enterTab();
    ASSERT_TRUE(f.settle(1));
    ASSERT_TRUE(f.turned(2, &FormSearch::earlierClick));
    ASSERT_TRUE(f.turned(3, &FormSearch::earlierClick));
    f.type("doc");  // replaced before its answers could be shown: they must not be
    f.type("photo");
    ASSERT_TRUE(f.settle(1));
    EXPECT_EQ(f.search()->currentPage(), 1);
    EXPECT_EQ(f.label("lblPage"), "Page 1/2");
    EXPECT_TRUE(f.w("btnLogLater")->isHidden());
    EXPECT_FALSE(f.w("btnLogEarlier")->isHidden());
    for (int r = 0; r < f.tab->grid()->rowCount(); ++r)
        EXPECT_TRUE(f.tab->grid()->item(r, 2)->text().startsWith("photo")) << r;
}

TEST(LogTab, TakesAlternateColoursStartingBlue) {
    // Newest take first: 3 rows, 1 row, 2 rows.
    Fixture f({{2, "a"}, {1, "b"}, {3, "c"}});
    f.tab->enterTab();
    ASSERT_TRUE(f.settle(1));
    const QColor blue = QColor::fromRgb(FormSearch::kTakeBlue), white(Qt::white);
    const QColor want[] = {blue, blue, blue, white, blue, blue};
    ASSERT_EQ(f.tab->grid()->rowCount(), 6);
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(f.tab->grid()->item(r, c)->background().color(), want[r]) << r << "," << c;
}

TEST(LogTab, DetailsEnableOpenOnlyForAnExistingDestination) {
    Fixture f({{1, "kept"}, {1, "gone"}});
    QFile(f.dir.filePath("kept-0.txt")).open(QIODevice::WriteOnly);  // gone-1.txt never exists
    f.tab->enterTab();
    ASSERT_TRUE(f.settle(1));
    struct Case {
        int row;
        QString file;
        bool enabled;
    };
    for (const Case& c : {Case{0, "gone-1.txt", false}, Case{1, "kept-0.txt", true}}) {
        bool shown = false;
        auto conn = QObject::connect(f.tab.get(), &LogTab::detailsShown, [&] { shown = true; });
        if (c.row == 0)  // Down in the search box selects the first row
            QTest::keyClick(f.tab->findChild<QLineEdit*>("txtSearch"), Qt::Key_Down);
        else
            f.tab->grid()->setCurrentCell(c.row, 1);
        ASSERT_TRUE(QTest::qWaitFor([&] { return shown; }, 5000)) << c.file.toStdString();
        QObject::disconnect(conn);
        EXPECT_EQ(f.label("lblLogDstPath"), f.dir.filePath(c.file));
        EXPECT_EQ(f.label("lblLogActionName"), "Move");
        EXPECT_EQ(f.w("btnOpenFile")->isEnabled(), c.enabled) << c.file.toStdString();
        EXPECT_EQ(f.w("btnLocate")->isEnabled(), c.enabled) << c.file.toStdString();
    }
}

}  // namespace
}  // namespace vandrel
