// The in-memory like gives SQLite's answer on every text it is used on, and its packed
// forms (counts, places, pairs of bytes) agree with matching each text alone.
#include "log/like_matcher.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <random>
#include <string>

namespace vandrel {
namespace {

TEST(LikeMatcher, OnlyTextsSqliteReadsByteByByteArePlain) {
    const struct {
        const char* text;
        bool plain;
    } cases[] = {
        {"", true},
        {"abc_%.txt", true},
        {"müller 文書 😀", true},
        {"Abc", false},
        {"\xC3", false},
        {"\xC0\xAF", false},  // cut, overlong
        {"\xED\xA0\x80", false},
        {"\xEF\xBF\xBF", false},  // surrogate, U+FFFF
        {"\xEF\xBF\xBD", true},
        {"\xF4\x90\x80\x80", false},  // U+FFFD, > U+10FFFF
        {"\xFF", false},
        {"a\x80", false},
    };
    for (const auto& c : cases) EXPECT_EQ(LikeMatcher::PlainText(c.text), c.plain) << c.text;
    EXPECT_FALSE(LikeMatcher::PlainText(std::string_view("a\0b", 3)));
    EXPECT_FALSE(LikeMatcher(QByteArray("\xEF\xBF\xBE")).usable());
}

TEST(LikeMatcher, MatchesAsSqliteLikeAloneAndPacked) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    sqlite3_stmt* like = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT ?1 LIKE ?2", -1, &like, nullptr), SQLITE_OK);
    const auto sqliteLike = [&](const std::string& text, const std::string& pattern) {
        sqlite3_bind_text(like, 1, text.data(), int(text.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(like, 2, pattern.data(), int(pattern.size()), SQLITE_TRANSIENT);
        const bool yes = sqlite3_step(like) == SQLITE_ROW && sqlite3_column_int(like, 0) == 1;
        sqlite3_reset(like);
        return yes;
    };
    const char* const letters[] = {"a", "b", "ab", ".", " ", "é", "文", "😀", "_", "%"};
    std::mt19937 rng(11);
    const auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    const auto draw = [&](int most, int alphabet) {
        std::string s;
        for (int k = pick(most + 1); k > 0; --k) s += letters[pick(alphabet)];
        return s;
    };
    int matched = 0;
    for (int round = 0; round < 400; ++round) {
        const std::string word = draw(5, 10);
        const LikeMatcher m(QByteArray::fromStdString(word));
        ASSERT_TRUE(m.usable()) << word;
        std::string packed;
        std::vector<int> places;
        for (int i = 0; i < 40; ++i) {
            if (pick(8) == 0) {
                packed += std::string(1, LikeMatcher::kNoText) + '\0';
                continue;
            }
            const std::string text = draw(12, 8);
            const bool yes = sqliteLike(text, '%' + word + '%');
            ASSERT_EQ(m.matches(text), yes) << "'" << text << "' like '%" << word << "%'";
            if (yes) places.push_back(i);
            packed += text + '\0';
        }
        matched += !places.empty();
        EXPECT_EQ(m.countEntries(packed), qint64(places.size())) << word;
        LikeMatcher tuned = m;  // looking first for the run rarest in some other texts
        tuned.chooseAnchor(draw(60, 8) + '\0' + draw(60, 8));
        EXPECT_EQ(tuned.countEntries(packed), qint64(places.size())) << word;
        std::vector<int> found;
        m.findEntries(packed, found);
        EXPECT_EQ(found, places) << word;
        if (!places.empty()) {
            EXPECT_TRUE(m.mayMatchIn(LikeMatcher::Grams(packed).toStdString())) << word;
        }
    }
    EXPECT_GT(matched, 100);
    // Packs (each text ended by a NUL) passed over: a missing pair, pair a character apart,
    // or byte.
    const struct {
        const char* word;
        const char* texts;
        bool may;
    } packs[] = {{"zq", "abc", false}, {"x_q", "xaaq", false}, {"x_q", "xéq", true},
                 {"x_q", "xaq", true}, {"b", "abc", true},     {"z", "abc", false},
                 {"é", "e", false},    {"a%c", "abc", true}};
    for (const auto& c : packs)
        EXPECT_EQ(LikeMatcher(QByteArray(c.word))
                      .mayMatchIn(LikeMatcher::Grams(std::string(c.texts) + '\0').toStdString()),
                  c.may)
            << c.word << " in " << c.texts;
    sqlite3_finalize(like);
    sqlite3_close(db);
}

}  // namespace
}  // namespace vandrel
