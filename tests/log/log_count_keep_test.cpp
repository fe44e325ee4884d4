// The log keeps the counts of recent search words and adds only the rows written since:
// whatever changes the rows in between, a count asked again (on the same or a fresh
// connection) is exactly the scan's.
#include <gtest/gtest.h>

#include <functional>

#include "log/log_manager.h"
#include "log/log_search_word.h"
#include "log/log_test_util.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

TEST(LogCountKeep, CountsAskedAgainFollowEveryChangeOfTheRows) {
    test::TempDir dir;
    const QString path = dir.file(QStringLiteral("log.db"));
    LogManager log, other;
    ASSERT_TRUE(log.OpenLogFile(path) && other.OpenLogFile(path));
    const auto take = [](LogManager& to, const char* name) {
        const QString n = QString::fromUtf8(name);
        return test::CommitTake(to, QStringLiteral("r"), {{n, n, QStringLiteral("Move"), n}});
    };
    for (const char* name : {"Invoice 1.pdf", "invoice 2.pdf", "photo.jpg"})
        ASSERT_TRUE(take(log, name));
    test::RawLog raw(path);
    // Every row here has its folded words (the empty word's like '%%' takes them all).
    const auto scanned = [&](const QString& word) {
        const QString like = QLatin1Char('%') + LogSearchWord(word).folded() + QLatin1Char('%');
        return qint64(
            raw.ids(QStringLiteral("SELECT id FROM actions WHERE foldedwords LIKE ?1"), {like}, {})
                .size());
    };
    const auto sql = [&](const char* text) { return raw.exec(QString::fromUtf8(text)); };
    const struct {
        const char* row;
        std::function<bool()> change;
    } rows[] = {
        {"a take of this connection", [&] { return take(log, "invoice 4.pdf"); }},
        {"a take of another connection", [&] { return take(other, "Invoice 5.pdf"); }},
        {"a row deleted", [&] { return sql("DELETE FROM actions WHERE id = 2"); }},
        {"search words changed",
         [&] {
             return sql("UPDATE actions SET searchwords = 'x,', foldedwords = 'x,' WHERE id = 1");
         }},
        {"a row given an id below the newest",
         [&] {
             return sql(
                 "INSERT INTO actions (id, searchwords, foldedwords) VALUES "
                 "(2, 'Invoice 9.pdf,', 'invoice 9.pdf,')");
         }},
    };
    for (const auto& r : rows) {
        for (const char* w : {"invoice", "INV%CE", "pd", ""})
            ASSERT_EQ(log.GetActionCount(QString::fromUtf8(w)), scanned(QString::fromUtf8(w)));
        ASSERT_TRUE(r.change()) << r.row;
        for (const char* w : {"invoice", "INV%CE", "pd", ""}) {
            const QString word = QString::fromUtf8(w);
            EXPECT_EQ(log.GetActionCount(word), scanned(word)) << r.row << ", word " << w;
            LogManager fresh;
            ASSERT_TRUE(fresh.OpenLogFile(path));
            EXPECT_EQ(fresh.GetActionCount(word), scanned(word)) << r.row << ", fresh, " << w;
        }
    }
}

}  // namespace
}  // namespace vandrel
