// The log keeps the counts of recent search words and adds only the rows written since:
// whatever changes the rows in between (a take of this or another connection, a row
// deleted, changed or given a lower id by another program), a count asked again, on the
// same or a fresh connection, is exactly the scan's.
#include <gtest/gtest.h>

#include <functional>

#include "log/log_manager.h"
#include "log/log_search_word.h"
#include "log/log_test_util.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::RawLog;

TEST(LogCountKeep, CountsAskedAgainFollowEveryChangeOfTheRows) {
    test::TempDir dir;
    const QString path = dir.file(QStringLiteral("log.db"));
    LogManager log;
    ASSERT_TRUE(log.OpenLogFile(path));
    const auto take = [](LogManager& to, const char* name) {
        const QString n = QString::fromUtf8(name);
        return test::CommitTake(to, QStringLiteral("r"), {{n, n, QStringLiteral("Move"), n}});
    };
    for (const char* name : {"Invoice 1.pdf", "invoice 2.pdf", "photo.jpg", "INVOICE-3.doc"})
        ASSERT_TRUE(take(log, name));
    RawLog raw(path);
    ASSERT_TRUE(raw.ok());
    // The scan's count of a word: what every count must equal.
    const auto scanned = [&](const QString& word) {
        const LogSearchWord w(word);
        if (w.route() == LogSearchWord::Route::All)
            return qint64(raw.ids(QStringLiteral("SELECT id FROM actions WHERE searchwords IS "
                                                 "NOT NULL"),
                                  {}, {})
                              .size());
        return qint64(raw.ids(QStringLiteral("SELECT id FROM actions WHERE foldedwords LIKE ?1"),
                              {QLatin1Char('%') + w.folded() + QLatin1Char('%')}, {})
                          .size());
    };
    const QString words[] = {QStringLiteral("invoice"), QStringLiteral("INV%CE"),
                             QStringLiteral("pd"), QString()};

    LogManager other;
    ASSERT_TRUE(other.OpenLogFile(path));
    const struct {
        const char* row;
        std::function<bool()> change;
    } rows[] = {
        {"a take of this connection", [&] { return take(log, "invoice 4.pdf"); }},
        {"a take of another connection", [&] { return take(other, "Invoice 5.pdf"); }},
        {"a row deleted",
         [&] { return raw.exec(QStringLiteral("DELETE FROM actions WHERE id = 2")); }},
        {"search words changed",
         [&] {
             return raw.exec(
                 QStringLiteral("UPDATE actions SET searchwords = 'x,', foldedwords "
                                "= 'x,' WHERE id = 1"));
         }},
        {"a row given an id below the newest",
         [&] {
             return raw.exec(
                 QStringLiteral("INSERT INTO actions (id, searchwords, foldedwords) "
                                "VALUES (2, 'Invoice 9.pdf,', 'invoice 9.pdf,')"));
         }},
        {"a row without search words",
         [&] {
             return raw.exec(QStringLiteral("INSERT INTO actions (searchwords) VALUES (NULL)"));
         }},
        {"newest rows deleted, their ids handed out again",
         [&] {
             return raw.exec(QStringLiteral("DELETE FROM actions WHERE id >= 6")) &&
                    take(log, "photo 2.jpg");
         }},
    };
    for (const auto& r : rows) {
        for (const QString& w : words) ASSERT_EQ(log.GetActionCount(w), scanned(w)) << r.row;
        ASSERT_TRUE(r.change()) << r.row;
        for (const QString& w : words) {
            const qint64 expected = scanned(w);
            EXPECT_EQ(log.GetActionCount(w), expected) << r.row << ", word " << w.toStdString();
            LogManager fresh;
            ASSERT_TRUE(fresh.OpenLogFile(path));
            EXPECT_EQ(fresh.GetActionCount(w), expected)
                << r.row << ", fresh connection, word " << w.toStdString();
        }
    }
}

}  // namespace
}  // namespace vandrel
