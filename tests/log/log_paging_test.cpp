// Paging must give exactly the rows of the "skip the newest M matching rows" query, also
// on tables with gaps, while other connections change the table, and on a large log.
#include <gtest/gtest.h>

#include <random>

#include "log/log_manager.h"
#include "log/log_test_util.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::CommitTake;
using test::IdsOf;
using test::RawLog;
using test::TakeRecord;
using test::TempDir;

const char* const kWords[] = {"alpha", "beta", "gamma", "photo", "invoice", "song", "it's"};

void CommitRandomTakes(LogManager& log, std::mt19937& rng, int takes) {
    std::uniform_int_distribution<int> rows(1, 5);
    std::uniform_int_distribution<int> word(0, int(std::size(kWords)) - 1);
    for (int t = 0; t < takes; ++t) {
        std::vector<TakeRecord> records;
        const int n = rows(rng);
        for (int i = 0; i < n; ++i) {
            const QString name = QString::fromUtf8(kWords[word(rng)]) +
                                 QString::number(rng() % 1000) + QStringLiteral(".dat");
            records.push_back({QStringLiteral("/in/") + name, QStringLiteral("/out/") + name,
                               QStringLiteral("Move"), name});
        }
        ASSERT_TRUE(CommitTake(log, QStringLiteral("rule %1").arg(t % 7), records));
    }
}

// Walks forward and back through every page and jumps about at random, comparing each
// page with the reference query; returns the number of pages compared.
int CompareWalks(LogManager& log, RawLog& raw, const QString& word, int pageSize,
                 std::mt19937& rng) {
    const qint64 total = qint64(raw.referencePage(word, 1 << 30, 1).size());
    const qint64 pages = (total + pageSize - 1) / pageSize;
    int compared = 0;
    auto check = [&](qint64 page) {
        ++compared;
        EXPECT_EQ(IdsOf(log.SearchActionLog(word, pageSize, page)),
                  raw.referencePage(word, pageSize, page))
            << "word '" << word.toStdString() << "' size " << pageSize << " page " << page;
    };
    for (qint64 p = 1; p <= pages + 1; ++p) check(p);
    for (qint64 p = pages + 1; p >= 1; --p) check(p);
    std::uniform_int_distribution<qint64> anyPage(1, pages + 2);
    for (int i = 0; i < 25; ++i) {
        const qint64 p = anyPage(rng);
        check(p);
        check(p + 1);
        check(p);
        if (p > 1) check(p - 1);
    }
    return compared;
}

TEST(LogPagingTest, PagesEqualTheSkipNewestFormOnDataWithGapsAndChanges) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("log.db"));
    LogManager log;
    ASSERT_TRUE(log.OpenLogFile(path));
    std::mt19937 rng(20240309);
    CommitRandomTakes(log, rng, 700);
    RawLog raw(path);
    ASSERT_TRUE(raw.ok());
    // Gaps: one long run of ids and a scattering of single rows.
    ASSERT_TRUE(raw.exec(QStringLiteral("DELETE FROM actions WHERE id BETWEEN 500 AND 800")));
    ASSERT_TRUE(raw.exec(QStringLiteral("BEGIN")));
    for (qint64 id : raw.allIds()) {
        if (rng() % 4 == 0) {
            ASSERT_TRUE(raw.exec(QStringLiteral("DELETE FROM actions WHERE id = %1").arg(id)));
        }
    }
    ASSERT_TRUE(raw.exec(QStringLiteral("COMMIT")));

    const QString words[] = {QString(),
                             QStringLiteral("alpha"),
                             QStringLiteral("ph"),
                             QStringLiteral("_a"),
                             QStringLiteral("a%a"),
                             QStringLiteral("it's"),
                             QStringLiteral("zzz")};
    int compared = 0;
    for (const QString& w : words) compared += CompareWalks(log, raw, w, 17, rng);
    compared += CompareWalks(log, raw, QString(), 7, rng);
    compared += CompareWalks(log, raw, QStringLiteral("a%a"), 7, rng);

    // The table changes between page turns, from this manager and from another
    // connection: remembered page ranges must not outlive the table they describe.
    for (int round = 0; round < 4; ++round) {
        if (round % 2 == 0) {
            CommitRandomTakes(log, rng, 15);
        } else {
            const std::vector<qint64> ids = raw.allIds();
            ASSERT_TRUE(raw.exec(
                QStringLiteral("DELETE FROM actions WHERE id = %1").arg(ids[rng() % ids.size()])));
            ASSERT_TRUE(
                raw.exec(QStringLiteral("INSERT INTO actions (searchwords) VALUES "
                                        "('alpha1.dat,')")));
        }
        compared += CompareWalks(log, raw, QStringLiteral("alpha"), 17, rng);
        compared += CompareWalks(log, raw, QString(), 17, rng);
    }
    EXPECT_GT(compared, 1000);
}

TEST(LogPagingTest, HundredThousandRows) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("log.db"));
    LogManager log;
    ASSERT_TRUE(log.OpenLogFile(path));
    qint64 pdfRows = 0;
    for (int take = 0; take < 25000; ++take) {
        std::vector<TakeRecord> records;
        bool hasPdf = false;
        for (int i = take * 4; i < take * 4 + 4; ++i) {
            const bool pdf = i % 10 == 0;
            hasPdf = hasPdf || pdf;
            const QString name = pdf ? QStringLiteral("report-%1.pdf").arg(i)
                                     : QStringLiteral("IMG_%1.jpg").arg(i, 6, 10, QLatin1Char('0'));
            records.push_back({QStringLiteral("/home/u/Downloads/") + name,
                               QStringLiteral("/home/u/Pictures/") + name, QStringLiteral("Move"),
                               name});
        }
        ASSERT_TRUE(CommitTake(log, QStringLiteral("Photos"), records));
        if (hasPdf) pdfRows += 4;
    }
    EXPECT_EQ(log.GetActionCount(QString()), 100000);
    EXPECT_EQ(log.GetActionCount(QStringLiteral(".pdf")), pdfRows);
    EXPECT_EQ(log.GetActionCount(QStringLiteral("IMG_099999")), 4);

    RawLog raw(path);
    ASSERT_TRUE(raw.ok());
    const qint64 lastPage = (100000 + 16) / 17;  // 5883
    for (const QString& w : {QString(), QStringLiteral(".pdf")})
        for (qint64 p : {qint64(1), qint64(2), qint64(3000), qint64(3001), qint64(2999),
                         qint64(2000), lastPage - 1, lastPage, lastPage + 1})
            EXPECT_EQ(IdsOf(log.SearchActionLog(w, 17, p)), raw.referencePage(w, 17, p))
                << w.toStdString() << " page " << p;
    const std::vector<LogRow> last = log.SearchActionLog(QString(), 17, lastPage);
    ASSERT_EQ(last.size(), size_t(100000 - (lastPage - 1) * 17));
    EXPECT_EQ(last.back().id, 1);
    const std::optional<LogRow> newest = log.GetActionRecord(QStringLiteral("100000"));
    ASSERT_TRUE(newest.has_value());
    EXPECT_EQ(newest->searchWords,
              QStringLiteral("IMG_099999.jpg,IMG_099998.jpg,IMG_099997.jpg,IMG_099996.jpg,"));
}

}  // namespace
}  // namespace vandrel
