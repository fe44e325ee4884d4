// Log search ignores the case of every letter; the trigram index answers exactly as the scan
// over the folded search words; rows written by older programs become searchable alike.
#include <gtest/gtest.h>

#include <random>

#include "log/log_manager.h"
#include "log/log_search_word.h"
#include "log/log_test_util.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using Route = LogSearchWord::Route;
using test::RawLog;

struct FoldedLog : ::testing::Test {
    test::TempDir dir;
    QString path = dir.file(QStringLiteral("log.db"));
    LogManager log;
    void SetUp() override { ASSERT_TRUE(log.OpenLogFile(path)); }
    bool add(const QString& name) {
        log.AppendActionLog({QDateTime(), name, name, QStringLiteral("Move"), name});
        return log.CommitToLogFile(QStringLiteral("r"));
    }
};

TEST_F(FoldedLog, EveryLetterMatchesInEitherCase) {
    for (const char* name : {"Müller.txt", "ÉTÉ 2024.doc", "Ωmega.pdf", "文書.txt", "a_c.txt",
                             "abc.txt", "100%.txt", "ǅemal.jpg"})
        ASSERT_TRUE(add(QString::fromUtf8(name)));
    const struct {
        const char* word;
        Route route;
        int count;
    } cases[] = {
        {"MÜLLER", Route::Phrase, 1}, {"müLLer", Route::Phrase, 1}, {"été 2", Route::Phrase, 1},
        {"ΩMEGA", Route::Phrase, 1},  {"ǆEMAL", Route::Phrase, 1},  {"ǄE", Route::Scan, 1},
        {"文書", Route::Scan, 1},     {"文書.T", Route::Phrase, 1}, {"M_LLER", Route::Glob, 1},
        {"%ÜLL%R", Route::Glob, 1},   {"A_C", Route::Scan, 2},      {"A_C.TXT", Route::Glob, 2},
        {"100%", Route::Glob, 1},     {"ü'LL", Route::Phrase, 1},   {"MUELLER", Route::Phrase, 0},
    };
    for (const auto& c : cases) {
        const QString word = QString::fromUtf8(c.word);
        EXPECT_EQ(LogSearchWord(word).route(), c.route) << c.word;
        EXPECT_EQ(log.GetActionCount(word), c.count) << c.word;
        EXPECT_EQ(log.SearchActionLog(word, 17, 1).size(), size_t(c.count)) << c.word;
    }
}

TEST_F(FoldedLog, IndexGivesTheScansRowsPagesAndCounts) {
    const QString letters = QString::fromUtf8("aAbBcC_%'\"*[. éÉüÜ文書字ß");
    std::mt19937 rng(7);
    const auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    std::vector<QString> names;
    for (int i = 0; i < 3000; ++i) {
        QString name;
        for (int k = 3 + pick(10); k > 0; --k) name += letters.at(pick(int(letters.size())));
        names.push_back(name);
        ASSERT_TRUE(add(name));
    }
    ASSERT_TRUE(log.Flush());
    RawLog raw(path);
    int indexed = 0;
    // Pages near the top, deep ones (skipping whole packs of search words) and the page
    // before one just read (walked oldest first from it).
    const auto check = [&](int i) {
        const QString& name = names[size_t(pick(3000))];
        QString word = name.mid(pick(int(name.size())), 1 + pick(6));
        if (i % 4 == 3 && name.size() >= 6)  // two runs of a name around a %, as a glob word
            word = name.left(3) + QLatin1Char('%') + name.right(3);
        if (pick(2)) word = word.toUpper();
        const qint64 page = pick(3) ? 1 + pick(4) : 2 + pick(300);
        log.SetCountSplitFrom(i % 2 ? 1 : 1 << 30);  // every other count on two threads
        // Every third word handed from the index to the packs at once, or after 40 rows.
        log.SetIndexAnswersUpTo(i % 3 == 0 ? 0 : i % 3 == 1 ? 1 : 40);
        const QString like = QLatin1Char('%') + LogSearchWord(word).folded() + QLatin1Char('%');
        const std::vector<qint64> all = raw.ids(
            QStringLiteral("SELECT id FROM actions WHERE foldedwords LIKE ?1 ORDER BY id DESC"),
            {like}, {});
        EXPECT_EQ(log.GetActionCount(word), qint64(all.size())) << word.toStdString();
        for (const qint64 p : {page, page - 1}) {
            const std::vector<qint64> expected(
                all.begin() + std::min<qint64>(all.size(), (p - 1) * 7),
                all.begin() + std::min<qint64>(all.size(), p * 7));
            EXPECT_EQ(test::IdsOf(log.SearchActionLog(word, 7, p)), expected)
                << word.toStdString() << " page " << p;
            if (p == 1) break;
        }
        indexed += LogSearchWord(word).route() != Route::Scan;
    };
    for (int i = 0; i < 400; ++i) check(i);
    EXPECT_GT(indexed, 100);  // the index answered a good share of the words
    // Another program deletes a row, changes one, gives a deleted row's id again and stores
    // a text SQLite reads otherwise than byte by byte (an ASCII capital): each pack touched
    // is made again, or left to the scan.
    for (const char* change :
         {"DELETE FROM actions WHERE id IN (5, 1500)",
          "UPDATE actions SET foldedwords = 'éé' WHERE id = 900",
          "INSERT INTO actions (id, searchwords, foldedwords) VALUES (5, 'aA', 'aA')"}) {
        ASSERT_TRUE(raw.exec(QString::fromUtf8(change))) << change;
        for (int i = 0; i < 40; ++i) check(i);
    }
}

TEST_F(FoldedLog, RowsWithoutFoldedWordsAreFoldedBeforeAnySearch) {
    // A log of an older program (no folded column), then its rows written to a current log.
    test::TempDir older;
    const QString oldPath = older.file(QStringLiteral("log.db"));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(oldPath.toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_exec(db,
                 "CREATE TABLE actions (id INTEGER PRIMARY KEY, taketime, ruletitle, actionname, "
                 "dstpath, oripath, searchwords, takeuid); INSERT INTO actions (searchwords) "
                 "VALUES ('Müller.txt,'), ('x,'), (NULL)",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    qint64 done = 0, total = 0;
    LogManager old;
    ASSERT_TRUE(old.OpenLogFile(oldPath, [&](qint64 d, qint64 t) { done = d, total = t; }));
    EXPECT_TRUE(done == 2 && total == 2) << done << " of " << total;
    EXPECT_EQ(old.GetActionCount(QStringLiteral("MÜLLER")), 1);
    ASSERT_TRUE(
        RawLog(path).exec(QStringLiteral("INSERT INTO actions (searchwords) VALUES ('Ä.txt,')")));
    EXPECT_EQ(log.GetActionCount(QStringLiteral("ä.TXT")), 1);
}

}  // namespace
}  // namespace vandrel
