#include "log/log_search_packs.h"

#include <sqlite3.h>

#include <QByteArray>
#include <algorithm>
#include <vector>

#include "log/log_manager_sql.h"

namespace vandrel {

using logdb::NewestId;

namespace {

constexpr qint64 kPacksPerBatch = LogSchema::kBatch / LogSearchPacks::kIds;

// The packs every one of whose ids is at or below the newest.
qint64 CompletePacks(SqliteDb& db) {
    const qint64 newest = NewestId(db);
    return newest < LogSearchPacks::kIds ? 0 : newest / LogSearchPacks::kIds;
}

// The packs below `complete` that are missing, at most `most` of them.
std::vector<qint64> MissingPacks(SqliteDb& db, qint64 complete, qint64 most) {
    std::vector<qint64> missing;
    SqliteQuery q(db.prepare("SELECT pack FROM searchpacks WHERE pack < :n ORDER BY pack"));
    q.bind(":n", complete);
    qint64 expected = 0;
    const auto upTo = [&](qint64 stop) {
        for (; expected < stop && qint64(missing.size()) < most; ++expected)
            missing.push_back(expected);
    };
    while (q.step() == SQLITE_ROW && qint64(missing.size()) < most) {
        upTo(q.int64(0));
        expected = q.int64(0) + 1;
    }
    upTo(complete);
    return missing;
}

// The texts of the pack's ids in order; a pack with a text that SQLite would not read
// byte by byte is stored without texts, and its rows are left to the scan.
bool MakePack(SqliteDb& db, qint64 pack) {
    const qint64 first = pack * LogSearchPacks::kIds + 1;
    const qint64 last = first + LogSearchPacks::kIds - 1;
    QByteArray texts;
    texts.reserve(int(LogSearchPacks::kIds) * 96);
    bool plain = true;
    {
        SqliteQuery q(db.prepare(
            "SELECT id, foldedwords FROM actions WHERE id BETWEEN :a AND :b ORDER BY id"));
        q.bind(":a", first);
        q.bind(":b", last);
        qint64 next = first;
        const auto noText = [&](qint64 upTo) {
            for (; next < upTo; ++next) texts.append(LikeMatcher::kNoText).append('\0');
        };
        int step = SQLITE_ROW;
        while ((step = q.step()) == SQLITE_ROW) {
            noText(q.int64(0));
            if (q.isNull(1)) {
                noText(next + 1);
                continue;
            }
            const std::string_view text = q.bytes(1);
            plain = plain && LikeMatcher::PlainText(text);
            texts.append(text.data(), qsizetype(text.size())).append('\0');
            ++next;
        }
        if (step != SQLITE_DONE) return false;
        noText(last + 1);
    }
    SqliteQuery put(
        db.prepare("INSERT OR REPLACE INTO searchpacks (pack, grams, texts) VALUES (:p, :g, :t)"));
    put.bind(":p", pack);
    if (plain) {
        put.bindBlob(":g", LikeMatcher::Grams(std::string_view(texts.constData(), texts.size())));
        put.bindBlob(":t", texts);
    }
    return put.step() == SQLITE_DONE;
}

// A walk's own copy of the matcher, its anchor chosen on the first pack it reads: the walks
// of one count run on two threads.
class Tuned {
  public:
    explicit Tuned(const LikeMatcher& matcher) : matcher_(matcher) {}
    const LikeMatcher& to(std::string_view firstPack) {
        if (!tuned_) matcher_.chooseAnchor(firstPack);
        tuned_ = true;
        return matcher_;
    }

  private:
    LikeMatcher matcher_;
    bool tuned_ = false;
};

}  // namespace

qint64 LogSearchPacks::Unpacked(SqliteDb& db) {
    const qint64 complete = CompletePacks(db);
    if (complete == 0) return 0;
    SqliteQuery q(db.prepare("SELECT count(*) FROM searchpacks WHERE pack < :n"));
    q.bind(":n", complete);
    return q.step() == SQLITE_ROW ? (complete - q.int64(0)) * kIds : 0;
}

bool LogSearchPacks::CatchUp(SqliteDb& db, const LogSchema::Progress& progress) {
    qint64 total = -1, done = 0;
    for (;;) {
        if (!db.exec("BEGIN IMMEDIATE")) return false;
        const qint64 complete = CompletePacks(db);
        if (total < 0) total = Unpacked(db);
        const std::vector<qint64> missing = MissingPacks(db, complete, kPacksPerBatch);
        if (missing.empty()) return db.exec("COMMIT");
        for (const qint64 pack : missing) {
            if (!MakePack(db, pack)) {
                db.setError(QStringLiteral("pack the search words"));
                const QString error = db.error();
                (void)db.exec("ROLLBACK");
                db.setErrorText(error);
                return false;
            }
        }
        if (!db.exec("COMMIT")) {
            const QString error = db.error();
            (void)db.exec("ROLLBACK");
            db.setErrorText(error);
            return false;
        }
        done += qint64(missing.size()) * kIds;
        if (progress) progress(std::min(done, total), total);
    }
}

bool LogSearchPacks::ForEachPack(SqliteDb& db, const LikeMatcher& matcher, qint64 lo, qint64 hi,
                                 bool newestFirst, const Visit& visit) {
    const qint64 firstPack = lo <= 1 ? 0 : (lo - 1 + kIds - 1) / kIds;
    const qint64 lastPack = hi < kIds ? -1 : hi / kIds - 1;
    if (firstPack > lastPack) return true;
    SqliteQuery q(db.prepare(newestFirst ? "SELECT pack, grams FROM searchpacks WHERE pack BETWEEN "
                                           ":a AND :b AND grams IS NOT NULL ORDER BY pack DESC"
                                         : "SELECT pack, grams FROM searchpacks WHERE pack BETWEEN "
                                           ":a AND :b AND grams IS NOT NULL ORDER BY pack"));
    q.bind(":a", firstPack);
    q.bind(":b", lastPack);
    // Each pack's texts read just after its pairs of bytes, whose pages are still at hand.
    SqliteQuery texts(db.prepare("SELECT texts FROM searchpacks WHERE pack = :p"));
    Tuned tuned(matcher);
    int step = SQLITE_ROW;
    while ((step = q.step()) == SQLITE_ROW) {
        const qint64 pack = q.int64(0);
        bool more = true;
        if (!matcher.mayMatchIn(q.bytes(1))) {
            more = visit(pack, nullptr, {});
        } else {
            texts.bind(":p", pack);
            if (texts.step() != SQLITE_ROW) return false;
            more = visit(pack, &tuned.to(texts.bytes(0)), texts.bytes(0));
            texts.reset();
        }
        if (!more) return true;
    }
    return step == SQLITE_DONE;
}

std::optional<qint64> LogSearchPacks::Count(SqliteDb& db, const LikeMatcher& matcher, qint64 lo,
                                            qint64 hi, const ScanCount& scan) {
    qint64 total = 0;
    qint64 next = lo;  // the first id not counted yet
    const auto scanTo = [&](qint64 upTo) {
        if (upTo < next) return true;
        const std::optional<qint64> n = scan(next, upTo);
        if (n) total += *n;
        return n.has_value();
    };
    bool ok = true;
    const bool walked =
        ForEachPack(db, matcher, lo, hi, false,
                    [&](qint64 pack, const LikeMatcher* tuned, std::string_view packed) {
                        ok = scanTo(pack * kIds);
                        next = (pack + 1) * kIds + 1;
                        if (ok && tuned) total += tuned->countEntries(packed);
                        return ok;
                    });
    if (!walked || !ok || !scanTo(hi)) return std::nullopt;
    return total;
}

bool LogSearchPacks::Page(SqliteDb& db, const LikeMatcher& matcher, qint64 lo, qint64 hi,
                          bool newestFirst, qint64 skip, qint64 most, const ScanIds& scan,
                          std::vector<qint64>& ids) {
    const size_t full = ids.size() + size_t(most);
    qint64 toSkip = skip;
    const auto take = [&](const std::vector<qint64>& found) {
        for (const qint64 id : found) {
            if (ids.size() >= full) break;
            if (toSkip > 0)
                --toSkip;
            else
                ids.push_back(id);
        }
    };
    // The ids not walked yet: [lo, next] newest first, [next, hi] oldest first.
    qint64 next = newestFirst ? hi : lo;
    std::vector<qint64> found;
    const auto scanTo = [&](qint64 bound) {
        const qint64 a = newestFirst ? bound : next, b = newestFirst ? next : bound;
        if (a > b || ids.size() >= full) return true;
        found.clear();
        if (!scan(a, b, newestFirst, toSkip + qint64(full - ids.size()), found)) return false;
        take(found);
        return true;
    };
    std::vector<int> places;
    bool ok = true;
    const bool walked =
        ForEachPack(db, matcher, lo, hi, newestFirst,
                    [&](qint64 pack, const LikeMatcher* tuned, std::string_view packed) {
                        const qint64 first = pack * kIds + 1, last = first + kIds - 1;
                        ok = scanTo(newestFirst ? last + 1 : first - 1);
                        next = newestFirst ? first - 1 : last + 1;
                        if (!ok || ids.size() >= full) return false;
                        if (!tuned) return true;
                        places.clear();
                        tuned->findEntries(packed, places);
                        found.clear();
                        for (const int place : places) found.push_back(first + place);
                        if (newestFirst) std::reverse(found.begin(), found.end());
                        take(found);
                        return ids.size() < full;
                    });
    return walked && ok && scanTo(newestFirst ? lo : hi);
}

}  // namespace vandrel
