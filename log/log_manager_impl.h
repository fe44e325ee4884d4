// What a LogManager holds: the connection, the side file of takes not yet folded into the
// table, the page cache, the open run and the identity texts. Shared by the log manager's
// source files only.
#pragma once

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSet>
#include <optional>
#include <vector>

#include "log/like_matcher.h"
#include "log/log_manager.h"
#include "log/log_manager_texts.h"
#include "log/log_page_cache.h"
#include "log/log_schema.h"
#include "log/log_search_word.h"
#include "log/sqlite_db.h"
#include "log/stored_takes.h"
#include "log/take_journal.h"

namespace vandrel {

class Clock;

struct LogManager::Impl {
    const Clock* clock = nullptr;
    SqliteDb db;
    std::vector<ActionLog> pending;
    LogPageCache pages;
    qint64 dataVersion = -1;
    QRandomGenerator random{QRandomGenerator::system()->generate()};
    QString keptAside;
    QString path;  // of the open log
    TakeJournal journal;
    std::vector<JournalTake> unfolded;  // in the side file, not yet in the database
    QElapsedTimer oldestUnfolded;
    // Texts of the last time seen: takes come many to a second.
    logdb::TimeText stem{logdb::IdentityStem};
    logdb::TimeText stored{logdb::StoredTime};
    logdb::TimeText runStem{logdb::RunStem};
    // A run identity: the date and time, "-" and six random hex digits.
    QString newRunId(const QDateTime& now) {
        return runStem.of(now) + QLatin1Char('-') +
               QString::number(random.bounded(0x100000u, 0x1000000u), 16);
    }

    bool open() const { return db.isOpen(); }
    // A take could not be written, or the database stopped taking the waiting ones.
    bool writeFailed = false;

    SqliteOpen openAndPrepare(const QString& file);
    LogSearchWord indexedRead(const LogSearchWord& word, bool forCount);
    std::optional<qint64> rememberedCount(const LogSearchWord& word);
    // A count, the newest id it covers and the file's data version it was read at; split
    // when its newer half was counted on the second connection.
    struct Count {
        qint64 rows = 0;
        qint64 newest = -1;
        qint64 version = 0;
        bool split = false;
    };
    std::optional<Count> countRows(const LogSearchWord& word, bool twoThreads);
    // The second connection a long count's newer half is read on, opened at its first use.
    SqliteDb counter;
    qint64 countSplitFrom = 200000;
    qint64 indexAnswersUpTo = 0;  // 0: the defaults (SetIndexAnswersUpTo)
    bool openCounter();
    void rememberCount(const LogSearchWord& word, qint64 rows, qint64 through, qint64 readVersion);
    bool indexCounts(const LogSearchWord& word);
    bool readPage(const LogSearchWord& word, const LogPageCache::Plan& plan, int itemsCount,
                  std::vector<LogRow>& rows);
    std::optional<LikeMatcher> pagesFromPacks(const LogSearchWord& word);
    bool readPackedPage(const LogSearchWord& word, const LikeMatcher& matcher,
                        const LogPageCache::Plan& plan, int itemsCount, std::vector<LogRow>& rows);
    SqliteOpen startAfresh(const QString& file, const QString& reason);

    bool refused = false;  // the last insertTakes failed on a refusal of the data
    QString run;           // the open run; empty outside one
    int runDepth = 0;
    // Take identities drawn for the newest date-time stem: a batch commits thousands of
    // takes a second, and undo finds a take by its identity.
    QString usedStem;
    QSet<QString> usedUids;

    QString drawUid(const QString& stemText, const QString& previous);
    std::vector<LogRow> readRows(const std::string& where, const QString& value);

    bool insertTakes(const std::vector<JournalTake>& takes);
    bool fold();
    void rewriteJournal();
    bool storeLeftOver(const std::vector<JournalTake>& takes);
    void takeOverOrphans();

    // The page cache holds id ranges of the table as it was; another connection's commit
    // (the desktop program and a command line run share the file) makes them stale.
    // An older program writing to the same file meanwhile leaves its rows without folded
    // search words: they get them before the search, which would miss them otherwise.
    void forgetPagesIfChanged() {
        const qint64 version = db.dataVersion();
        if (version == dataVersion) return;
        pages.clear();
        if (LogSchema::HasUnfolded(db)) (void)LogSchema::FoldMissing(db, {});
        dataVersion = db.dataVersion();
    }
};

}  // namespace vandrel
