// Helpers for the log store tests: committing takes, and a second, raw SQLite connection
// to the same file for what LogManager cannot do (delete rows, store a NULL, and run the
// reference "skip the newest M rows with not in" query the pages must equal).
#pragma once

#include <sqlite3.h>

#include <QString>
#include <QStringList>
#include <vector>

#include "log/log_manager.h"

namespace vandrel::test {

struct TakeRecord {
    QString oriPath;
    QString dstPath;
    QString actionName;
    QString searchWords;
};

// Appends the records in order, commits them under title and has them stored at once
// (as a batch run does when it ends), so other connections see them.
bool CommitTake(LogManager& log, const QString& title, const std::vector<TakeRecord>& records,
                const QDateTime& when = QDateTime(QDate(2024, 3, 9), QTime(14, 5, 6)));

// A raw connection; closed on destruction.
class RawLog {
  public:
    explicit RawLog(const QString& path);
    ~RawLog();
    RawLog(const RawLog&) = delete;
    RawLog& operator=(const RawLog&) = delete;

    bool ok() const { return db_ != nullptr; }
    bool exec(const QString& sql);
    // The ids of the page as the described query forms give them: "top N" newest first,
    // for page 2 and beyond with "id not in (the newest M matching ids)", where matching
    // means searchwords like '%W%' (quotes removed from W); no filter for the empty word.
    std::vector<qint64> referencePage(const QString& word, int pageSize, qint64 page);
    std::vector<qint64> allIds();
    // The ids a query gives; texts are bound first, then numbers (?1, ?2, ...).
    std::vector<qint64> ids(const QString& sql, const std::vector<QString>& texts,
                            const std::vector<qint64>& numbers);

  private:
    sqlite3* db_ = nullptr;
};

std::vector<qint64> IdsOf(const std::vector<LogRow>& rows);

}  // namespace vandrel::test
