#include "log/like_matcher.h"

#include <algorithm>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vandrel {

namespace {

// The bit of a pair of bytes in Grams.
int GramBit(unsigned char a, unsigned char b) { return ((a & 0x7F) << 7) | (b & 0x7F); }

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The character after the one at p, as SQLite steps over it: its first byte and every
// continuation byte after that.
const char* NextChar(const char* p, const char* end) {
    ++p;
    while (p < end && IsContinuation(static_cast<unsigned char>(*p))) ++p;
    return p;
}

// Whether the bytes at p between the needle's first and last are the needle's: mostly a few
// bytes, which a loop compares sooner than a call.
bool SameMiddle(const char* p, std::string_view needle) {
    for (size_t i = 1; i + 1 < needle.size(); ++i)
        if (p[i] != needle[i]) return false;
    return true;
}

// The first occurrence of needle (not empty) in [p, end), or nullptr. Sixteen places at
// a time test the needle's first and last bytes, and only where both agree the rest.
const char* Search(std::string_view needle, const char* p, const char* end) {
    const size_t k = needle.size();
    if (end - p < std::ptrdiff_t(k)) return nullptr;
    if (k == 1) return static_cast<const char*>(std::memchr(p, needle[0], size_t(end - p)));
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(needle[0]);
    const __m128i last = _mm_set1_epi8(needle[k - 1]);
    for (; end - p >= std::ptrdiff_t(k - 1 + 16); p += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k - 1));
        unsigned mask = unsigned(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
        while (mask) {
            const int i = __builtin_ctz(mask);
            if (SameMiddle(p + i, needle)) return p + i;
            mask &= mask - 1;
        }
    }
#endif
    return static_cast<const char*>(memmem(p, size_t(end - p), needle.data(), k));
}

}  // namespace

LikeMatcher::LikeMatcher(const QByteArray& word) : word_(word) {
    usable_ = PlainText(std::string_view(word_.constData(), size_t(word_.size())));
    const char* p = word_.constData();
    const char* const end = p + word_.size();
    while (p < end) {
        const char* stop = static_cast<const char*>(std::memchr(p, '%', size_t(end - p)));
        if (!stop) stop = end;
        if (stop > p) {
            Segment s;
            s.bytes = std::string_view(p, size_t(stop - p));
            while (s.leadingAny < int(s.bytes.size()) && s.bytes[size_t(s.leadingAny)] == '_')
                ++s.leadingAny;
            // Every literal run of the part; the first is where its matches are looked for.
            for (size_t i = size_t(s.leadingAny); i < s.bytes.size();) {
                size_t j = i;
                while (j < s.bytes.size() && s.bytes[j] != '_') ++j;
                const std::string_view run = s.bytes.substr(i, j - i);
                if (s.first.empty()) s.first = run;
                if (run.size() > anchor_.size()) anchor_ = run;
                if (!run.empty()) runs_.push_back(run);
                const auto byte = [](char c) { return static_cast<unsigned char>(c); };
                for (size_t k = 1; k < run.size(); ++k)
                    grams_.push_back(GramBit(byte(run[k - 1]), byte(run[k])));
                if (run.size() == 1) singles_.push_back(byte(run[0]));
                // A run, one _ and another run: their bytes a character apart.
                if (!run.empty() && j + 1 < s.bytes.size() && s.bytes[j + 1] != '_')
                    grams_.push_back(kSkipBits + GramBit(byte(run.back()), byte(s.bytes[j + 1])));
                i = j + 1;
            }
            segments_.push_back(s);
        }
        p = stop + 1;
    }
    // The first part's first run serves as the anchor when no run is longer (a longer one
    // is likely rarer): where it is found, that part's match is looked for no more.
    if (!segments_.empty() && segments_.front().first.size() == anchor_.size()) {
        anchor_ = segments_.front().first;
        anchorFirst_ = true;
    }
}

void LikeMatcher::chooseAnchor(std::string_view sample) {
    if (runs_.size() < 2) return;
    // Hits counted until past the fewest so far: a common run is known as such soon.
    qint64 fewest = std::numeric_limits<qint64>::max();
    for (const std::string_view run : runs_) {
        qint64 hits = 0;
        for (const char *p = sample.data(), *end = p + sample.size(); hits <= fewest;) {
            p = Search(run, p, end);
            if (!p) break;
            ++hits;
            p += run.size();
        }
        // Equally rare: the first part's first run (where it is found, that part needs no
        // search of its own), then the longer.
        const bool first = run.data() == segments_.front().first.data();
        if (hits < fewest ||
            (hits == fewest && (first || (!anchorFirst_ && run.size() > anchor_.size())))) {
            fewest = hits;
            anchor_ = run;
            anchorFirst_ = first;
        }
    }
}

bool LikeMatcher::PlainText(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = p + text.size();
    while (p < end) {
        const unsigned c = *p;
        if (c < 0x80) {
            if (c == 0 || (c >= 'A' && c <= 'Z')) return false;
            ++p;
            continue;
        }
        // Lengths and the allowed range of the second byte: no overlong forms, no
        // surrogates, nothing past U+10FFFF.
        int more = 0;
        unsigned low = 0x80, high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            if (c == 0xE0) low = 0xA0;
            if (c == 0xED) high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            if (c == 0xF0) low = 0x90;
            if (c == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (end - p <= more || p[1] < low || p[1] > high) return false;
        for (int i = 2; i <= more; ++i)
            if (!IsContinuation(p[i])) return false;
        // U+FFFE and U+FFFF, which SQLite reads as U+FFFD.
        if (c == 0xEF && p[1] == 0xBF && p[2] >= 0xBE) return false;
        p += more + 1;
    }
    return true;
}

const char* LikeMatcher::find(const Segment& segment, const char* from, const char* end,
                              const char* firstRun) const {
    // The earliest place the first literal run can start: after the leading _.
    const char* p = from;
    for (int i = 0; i < segment.leadingAny; ++i) {
        if (p >= end) return nullptr;
        p = NextChar(p, end);
    }
    if (segment.first.empty()) return p;
    const std::string_view rest =
        segment.bytes.substr(size_t(segment.leadingAny) + segment.first.size());
    for (bool known = firstRun && firstRun >= p;; ++p, known = false) {
        p = known ? firstRun : Search(segment.first, p, end);
        if (!p) return nullptr;
        const char* q = p + segment.first.size();
        bool ok = true;
        for (const char c : rest) {
            if (q >= end || (c != '_' && *q != c)) {
                ok = false;
                break;
            }
            q = c == '_' ? NextChar(q, end) : q + 1;
        }
        if (ok) return q;
    }
}

// Each part, in order, at its earliest place after the part before: with % before and after
// every part, the earliest places leave the most room for the parts after them.
bool LikeMatcher::matchesFrom(const char* begin, const char* end, const char* firstRun) const {
    for (const Segment& segment : segments_) {
        begin = find(segment, begin, end, firstRun);
        if (!begin) return false;
        firstRun = nullptr;
    }
    return true;
}

bool LikeMatcher::matches(std::string_view text) const {
    return matchesFrom(text.data(), text.data() + text.size());
}

template <typename Found>
void LikeMatcher::forEachMatch(std::string_view packed, Found found) const {
    const char* p = packed.data();
    const char* const end = p + packed.size();
    if (anchor_.empty()) {
        // No literal byte to look for: every entry is matched as it is.
        for (int place = 0; p < end; ++place) {
            const char* stop = static_cast<const char*>(std::memchr(p, 0, size_t(end - p)));
            if (!stop) stop = end;
            if ((stop == p || *p != kNoText) && matchesFrom(p, stop)) found(p, stop, place);
            p = stop + 1;
        }
        return;
    }
    // Only entries holding the anchor can match: the search skips the others in bulk.
    // A word without wildcards is its anchor: where it is found, the entry matches.
    const bool plain = segments_.size() == 1 && segments_[0].bytes.size() == anchor_.size();
    while (p < end) {
        const char* hit = Search(anchor_, p, end);
        if (!hit) break;
        if (plain) {
            const char* stop = static_cast<const char*>(std::memchr(hit, 0, size_t(end - hit)));
            if (!stop) stop = end;
            found(hit, stop, -1);
            p = stop + 1;
            continue;
        }
        const char* begin = static_cast<const char*>(memrchr(p, 0, size_t(hit - p)));
        begin = begin ? begin + 1 : p;
        const char* stop = static_cast<const char*>(std::memchr(hit, 0, size_t(end - hit)));
        if (!stop) stop = end;
        // The anchor, when it is the first part's first run, is where that run first is.
        if (matchesFrom(begin, stop, anchorFirst_ ? hit : nullptr)) found(begin, stop, -1);
        p = stop + 1;
    }
}

qint64 LikeMatcher::countEntries(std::string_view packed) const {
    qint64 n = 0;
    forEachMatch(packed, [&](const char*, const char*, int) { ++n; });
    return n;
}

void LikeMatcher::findEntries(std::string_view packed, std::vector<int>& places) const {
    // The place of an entry is the number of entries before it: the NULs counted from the
    // last match on.
    const char* counted = packed.data();
    int place = 0;
    forEachMatch(packed, [&](const char* begin, const char*, int known) {
        if (known >= 0) {
            place = known;
        } else {
            place += int(std::count(counted, begin, '\0'));
            counted = begin;
        }
        places.push_back(place);
    });
}

QByteArray LikeMatcher::Grams(std::string_view texts) {
    QByteArray grams(kGramBytes, '\0');
    auto* bits = reinterpret_cast<unsigned char*>(grams.data());
    const auto set = [bits](int bit) {
        bits[bit >> 3] |= static_cast<unsigned char>(1u << (bit & 7));
    };
    const auto* t = reinterpret_cast<const unsigned char*>(texts.data());
    const size_t n = texts.size();
    for (size_t i = 0; i + 1 < n; ++i) {
        set(GramBit(t[i], t[i + 1]));
        // The last byte of a character and the first of the character after the next.
        if (IsContinuation(t[i + 1])) continue;
        size_t after = i + 2;
        while (after < n && IsContinuation(t[after])) ++after;
        if (after < n) set(kSkipBits + GramBit(t[i], t[after]));
    }
    return grams;
}

bool LikeMatcher::mayMatchIn(std::string_view grams) const {
    if (grams.size() != size_t(kGramBytes)) return true;
    const auto* bits = reinterpret_cast<const unsigned char*>(grams.data());
    for (const int bit : grams_)
        if (!(bits[bit >> 3] & (1u << (bit & 7)))) return false;
    // A byte is in the texts when a pair starts with it (every text ends with a NUL): one of
    // the sixteen bytes of its pairs is set.
    for (const unsigned char c : singles_) {
        const unsigned char* row = bits + (c & 0x7F) * 16;
        if (std::all_of(row, row + 16, [](unsigned char b) { return b == 0; })) return false;
    }
    return true;
}

}  // namespace vandrel
