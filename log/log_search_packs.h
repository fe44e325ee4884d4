// Packed copies of the folded search words, for counts that the index answers slowly or not
// at all (a word in a third of the rows, wildcards between common runs, runs shorter than
// three characters). Each pack holds the texts of a fixed range of kIds ids, one after the
// other, so a count reads a few hundred blobs and matches them in memory instead of reading
// a million rows. The ranges whose ids are all handed out are packed (CatchUp); a row added,
// deleted or changed inside a packed range drops that pack in the same transaction (the
// schema's triggers), and whatever no pack covers is counted by the scan, so a count is
// always the scan's. Used by LogManager on its own connections.
#pragma once

#include <QtGlobal>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "log/like_matcher.h"
#include "log/log_schema.h"
#include "log/sqlite_db.h"

namespace vandrel {

class LogSearchPacks {
  public:
    // Ids per pack. The schema's triggers name the same number.
    static constexpr qint64 kIds = 1024;

    // The packs that could be made and are missing, counted in ids.
    static qint64 Unpacked(SqliteDb& db);
    // Makes the missing packs, a batch of them per transaction, so a killed run keeps what
    // it did; progress in ids. False on failure (a busy file, a full disk).
    static bool CatchUp(SqliteDb& db, const LogSchema::Progress& progress);

    // The scan's count of the ids from lo to hi, where no pack answers.
    using ScanCount = std::function<std::optional<qint64>(qint64 lo, qint64 hi)>;
    // The rows with ids from lo to hi that matcher matches: the packs wholly inside the
    // range matched in memory, the rest by scan. Nothing when the log cannot be read.
    static std::optional<qint64> Count(SqliteDb& db, const LikeMatcher& matcher, qint64 lo,
                                       qint64 hi, const ScanCount& scan);
    // The ids from lo to hi that match, in order (descending when newestFirst), where no
    // pack answers: at most `most` of them appended to ids. False when they cannot be read.
    using ScanIds = std::function<bool(qint64 lo, qint64 hi, bool newestFirst, qint64 most,
                                       std::vector<qint64>& ids)>;
    // The ids of the rows from lo to hi that matcher matches, walked in order (descending
    // when newestFirst): `skip` of them passed over, then up to `most` appended to ids. The
    // packs wholly inside the range are matched in memory (those whose pairs of bytes rule
    // a match out, not read at all), the rest by scan. False when the log cannot be read.
    static bool Page(SqliteDb& db, const LikeMatcher& matcher, qint64 lo, qint64 hi,
                     bool newestFirst, qint64 skip, qint64 most, const ScanIds& scan,
                     std::vector<qint64>& ids);
    // The start of the pack that id falls in, less one: where a count is best split.
    static qint64 Boundary(qint64 id) { return id < 1 ? id : (id - 1) / kIds * kIds; }

  private:
    // Calls visit(pack, tuned, texts) for each pack with texts wholly inside [lo, hi], in
    // order (descending when newestFirst), until visit returns false: tuned is null when the
    // pack's pairs of bytes rule a match out (its texts are then not read), else the walk's
    // copy of matcher, its anchor chosen on the first pack read. False when the packs
    // cannot be read.
    using Visit =
        std::function<bool(qint64 pack, const LikeMatcher* tuned, std::string_view texts)>;
    static bool ForEachPack(SqliteDb& db, const LikeMatcher& matcher, qint64 lo, qint64 hi,
                            bool newestFirst, const Visit& visit);
};

}  // namespace vandrel
