// The search's `like '%word%'` matched in memory, over the packed copies of the folded search
// words (LogSearchPacks), with SQLite's own result: % matches any run of characters, _ any
// one character, every other character itself. Exact only on texts that SQLite and a byte
// comparison read alike (PlainText below); the packs hold no other. Plain value type.
#pragma once

#include <QByteArray>
#include <string_view>
#include <vector>

namespace vandrel {

class LikeMatcher {
  public:
    // word: the folded search word, UTF-8, its % and _ wildcards as in `like`.
    explicit LikeMatcher(const QByteArray& word);

    // False when SQLite would read the word otherwise than byte by byte (a character it
    // takes for another, an ASCII capital, which like would match both ways): such a word
    // is left to SQLite.
    bool usable() const { return usable_; }
    // Whether '%word%' matches text.
    bool matches(std::string_view text) const;
    // Takes the word's literal run that is rarest in sample (packed texts) as the one looked
    // for first: any run would do, the rarest leaves the fewest texts to match in full.
    void chooseAnchor(std::string_view sample);
    // The number of matching entries in packed: texts each ended by a NUL byte, an entry
    // starting with kNoText standing for a row without one (which never matches).
    qint64 countEntries(std::string_view packed) const;
    // The places (from 0) of the matching entries in packed, in order, appended to places.
    void findEntries(std::string_view packed, std::vector<int>& places) const;

    // Which pairs of bytes some texts hold, next to each other and a character apart (the
    // last byte of one character, the first of the character after the next): a bit for
    // each pair of their low seven bits (so exact for two ASCII bytes). A text without one
    // of the pairs a word's literal bytes make (a run, or two runs around one _) or without
    // one of its bytes cannot match it, which rules out whole packs of texts at a glance.
    // The texts are as packed, each ended by a NUL.
    static constexpr int kGramBytes = 4096;
    static QByteArray Grams(std::string_view texts);
    // False when grams (of Grams) lack a pair of bytes that every match holds.
    bool mayMatchIn(std::string_view grams) const;

    // True when SQLite's `like` reads text as its bytes: well-formed UTF-8 without NUL,
    // without the characters it reads as U+FFFD, and without ASCII capitals.
    static bool PlainText(std::string_view text);
    // The first byte of a packed entry without text: never part of well-formed UTF-8.
    static constexpr char kNoText = '\xFF';

  private:
    // Bytes of one part between % wildcards, where '_' stands for any one character.
    struct Segment {
        std::string_view bytes;
        int leadingAny = 0;      // the _ before its first literal byte
        std::string_view first;  // its first run of literal bytes (empty: all _)
    };
    // The end of the earliest match of segment in [from, end), or nullptr; firstRun, when
    // given, is where the segment's first run first is at or after from.
    const char* find(const Segment& segment, const char* from, const char* end,
                     const char* firstRun) const;
    bool matchesFrom(const char* begin, const char* end, const char* firstRun = nullptr) const;

    // Calls found(begin, end, place) for each matching entry of packed.
    template <typename Found>
    void forEachMatch(std::string_view packed, Found found) const;

    QByteArray word_;
    static constexpr int kSkipBits = kGramBytes * 4;  // the pairs a character apart
    std::vector<int> grams_;                          // bits every matching text has in its Grams
    std::vector<unsigned char> singles_;              // the word's runs of one byte
    std::vector<Segment> segments_;
    std::vector<std::string_view> runs_;  // every literal run, in order
    std::string_view anchor_;             // a literal run every match holds, looked for first
    bool anchorFirst_ = false;            // the anchor is the first part's first run
    bool usable_ = true;
};

}  // namespace vandrel
