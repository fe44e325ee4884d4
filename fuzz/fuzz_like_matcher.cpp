// libFuzzer target: the in-memory like of the log search against SQLite's own. The input is a
// word, a NUL, then texts each ended by a NUL: for a usable word, every plain text must match
// exactly when SQLite's like says so, and the packed counts and places must agree with that.
#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "log/like_matcher.h"

namespace {

bool SqliteLike(sqlite3_stmt* like, const std::string& text, const std::string& pattern) {
    sqlite3_bind_text(like, 1, text.data(), int(text.size()), SQLITE_STATIC);
    sqlite3_bind_text(like, 2, pattern.data(), int(pattern.size()), SQLITE_STATIC);
    const bool yes = sqlite3_step(like) == SQLITE_ROW && sqlite3_column_int(like, 0) == 1;
    sqlite3_reset(like);
    return yes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static sqlite3_stmt* like = [] {
        sqlite3* db = nullptr;
        sqlite3_stmt* s = nullptr;
        sqlite3_open(":memory:", &db);
        sqlite3_prepare_v2(db, "SELECT ?1 LIKE ?2", -1, &s, nullptr);
        return s;
    }();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t cut = input.find('\0');
    if (cut == std::string::npos || cut > 200) return 0;
    const std::string word = input.substr(0, cut);
    const vandrel::LikeMatcher m(QByteArray::fromStdString(word));
    if (!m.usable() || word.empty()) return 0;
    std::string packed;
    std::vector<int> places;
    int place = 0;
    for (size_t from = cut + 1; from < input.size(); ++place) {
        size_t stop = input.find('\0', from);
        if (stop == std::string::npos) stop = input.size();
        std::string text = input.substr(from, stop - from);
        from = stop + 1;
        if (!vandrel::LikeMatcher::PlainText(text))
            text = std::string(1, vandrel::LikeMatcher::kNoText);
        else if (SqliteLike(like, text, '%' + word + '%') != m.matches(text))
            std::abort();
        else if (m.matches(text))
            places.push_back(place);
        packed += text + '\0';
    }
    std::vector<int> found;
    m.findEntries(packed, found);
    vandrel::LikeMatcher tuned = m;
    tuned.chooseAnchor(packed);
    if (found != places || m.countEntries(packed) != qint64(places.size()) ||
        tuned.countEntries(packed) != qint64(places.size()) ||
        (!places.empty() && !m.mayMatchIn(vandrel::LikeMatcher::Grams(packed).toStdString())))
        std::abort();
    return 0;
}
