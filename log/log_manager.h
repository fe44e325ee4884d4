// The action log: collects the records of one rule application and writes them as one
// take into the SQLite database log.db (table "actions"), and reads them back page by
// page for the log view and the command line. One instance per process; calls on one
// instance must not overlap (the owner serialises them).
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "log/action_log.h"

namespace vandrel {

class Clock;

// One row of the actions table.
struct LogRow {
    qint64 id = 0;
    QDateTime takeTime;
    QString ruleTitle;
    QString actionName;
    QString dstPath;
    QString oriPath;
    QString searchWords;
    QString takeUid;
};

class LogManager {
public:
    // clock: the source of "now" for take identities; null means the system clock.
    explicit LogManager(const Clock* clock = nullptr);
    ~LogManager();
    LogManager(const LogManager&) = delete;
    LogManager& operator=(const LogManager&) = delete;

    // One page of rows whose search words contain word (single quotes removed, % and _
    // keep their wildcard meaning), newest first. pageNum counts from 1. Empty when the
    // log is not open or the page lies beyond the last row.
    std::vector<LogRow> SearchActionLog(const QString& searchWord, int itemsCount,
                                        qint64 pageNum);
    // Number of rows matching the word; 0 when the log is not open.
    qint64 GetActionCount(const QString& searchWord);
    // The row with that id; nothing when absent, unreadable or the log is closed.
    std::optional<LogRow> GetActionRecord(const QString& searchId);
    // Adds a record to the pending list.
    void AppendActionLog(const ActionLog& actLog);
    // Writes the pending records as one take (one transaction) and empties the list.
    // Returns false when the write failed (the log is closed or the database refused);
    // the pending records are then dropped, so two takes never mix.
    bool CommitToLogFile(const QString& ruleTitle);
    // Opens (creating when missing) the log database. False on failure; the engine
    // keeps working without a log.
    bool OpenLogFile(const QString& strPath);
    void CloseLogFile();

    bool isOpen() const;
    // The last error text, for the one message the outer layer shows.
    QString lastError() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace vandrel
