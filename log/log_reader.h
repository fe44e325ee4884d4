// Reads the action log for the log view on a thread of its own, so that a count or a search
// over a large log never stalls the window. Each kind of request (a page, a count, one
// record) keeps only its newest pending request: a request asked while an older one of its
// kind still waits replaces it, so a burst of typing causes one query. Answers arrive on
// the thread that owns the reader, tagged with their request number; callers drop answers
// to requests they no longer want. Create and use on one thread (the UI thread).
#pragma once

#include <QObject>
#include <QString>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "log/log_manager.h"

namespace vandrel {

// One record with whether its destination still exists (tested on the reader's thread).
struct LogRecordAnswer {
    std::optional<LogRow> row;
    bool dstExists = false;
};

class LogReader : public QObject {
    Q_OBJECT

  public:
    using PageAnswer = std::function<void(quint64 request, std::vector<LogRow> rows)>;
    using CountAnswer = std::function<void(quint64 request, qint64 count)>;
    using RecordAnswer = std::function<void(quint64 request, LogRecordAnswer answer)>;

    // Opens its own connection to the log at logPath on its thread. before (may be empty)
    // runs on the owner's thread before each count is asked for, that is once a search (the
    // owner flushes the takes its own log still holds).
    explicit LogReader(QString logPath, std::function<void()> before = {},
                       QObject* parent = nullptr);
    // Waits for the query in hand; pending requests are dropped unanswered.
    ~LogReader() override;

    // Each returns the request number its answer will carry (numbers only grow).
    quint64 requestPage(const QString& word, int pageSize, qint64 page, PageAnswer answer);
    quint64 requestCount(const QString& word, CountAnswer answer);
    quint64 requestRecord(qint64 id, RecordAnswer answer);

  private:
    struct PageJob {
        quint64 request = 0;
        QString word;
        int pageSize = 0;
        qint64 page = 0;
        PageAnswer answer;
    };
    struct CountJob {
        quint64 request = 0;
        QString word;
        CountAnswer answer;
    };
    struct RecordJob {
        quint64 request = 0;
        qint64 id = 0;
        RecordAnswer answer;
    };

    void run();
    quint64 nextRequest();

    QString path_;
    std::function<void()> before_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    quint64 lastRequest_ = 0;
    std::optional<PageJob> page_;
    std::optional<CountJob> count_;
    std::optional<RecordJob> record_;
    std::thread thread_;  // last: starts after every other member exists
};

}  // namespace vandrel
