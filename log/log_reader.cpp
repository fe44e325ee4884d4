#include "log/log_reader.h"

#include <QFileInfo>

namespace vandrel {

LogReader::LogReader(QString logPath, std::function<void()> before, QObject* parent)
    : QObject(parent), path_(std::move(logPath)), before_(std::move(before)) {
    thread_ = std::thread([this] { run(); });
}

LogReader::~LogReader() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

quint64 LogReader::nextRequest() { return ++lastRequest_; }

quint64 LogReader::requestPage(const QString& word, int pageSize, qint64 page, PageAnswer answer) {
    quint64 n;
    {
        std::lock_guard lock(mutex_);
        n = nextRequest();
        page_ = PageJob{n, word, pageSize, page, std::move(answer)};
    }
    wake_.notify_one();
    return n;
}

quint64 LogReader::requestCount(const QString& word, CountAnswer answer) {
    if (before_) before_();
    quint64 n;
    {
        std::lock_guard lock(mutex_);
        n = nextRequest();
        count_ = CountJob{n, word, std::move(answer)};
    }
    wake_.notify_one();
    return n;
}

quint64 LogReader::requestRecord(qint64 id, RecordAnswer answer) {
    quint64 n;
    {
        std::lock_guard lock(mutex_);
        n = nextRequest();
        record_ = RecordJob{n, id, std::move(answer)};
    }
    wake_.notify_one();
    return n;
}

void LogReader::run() {
    LogManager log;
    bool opened = false;
    // Answers are posted to this object's thread; a reader being destroyed joins this
    // thread first, and Qt drops events posted to an object that is gone.
    for (;;) {
        std::optional<PageJob> page;
        std::optional<CountJob> count;
        std::optional<RecordJob> record;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || page_ || count_ || record_; });
            if (stopping_) return;
            // A record is one lookup, a page the next thing the user sees; a count can
            // take a while on a large log, so it goes last.
            if (record_)
                record.swap(record_);
            else if (page_)
                page.swap(page_);
            else
                count.swap(count_);
        }
        if (!opened) opened = log.OpenLogFile(path_);
        if (record) {
            LogRecordAnswer a;
            a.row = log.GetActionRecord(QString::number(record->id));
            // Any entry under that name counts: the user may open or locate a folder too.
            if (a.row && !a.row->dstPath.isEmpty()) a.dstExists = QFileInfo::exists(a.row->dstPath);
            QMetaObject::invokeMethod(
                this,
                [r = std::move(*record), a = std::move(a)]() mutable {
                    r.answer(r.request, std::move(a));
                },
                Qt::QueuedConnection);
        } else if (page) {
            std::vector<LogRow> rows = log.SearchActionLog(page->word, page->pageSize, page->page);
            QMetaObject::invokeMethod(
                this,
                [p = std::move(*page), rows = std::move(rows)]() mutable {
                    p.answer(p.request, std::move(rows));
                },
                Qt::QueuedConnection);
        } else if (count) {
            const qint64 n = log.GetActionCount(count->word);
            QMetaObject::invokeMethod(
                this, [c = std::move(*count), n]() { c.answer(c.request, n); },
                Qt::QueuedConnection);
        }
    }
}

}  // namespace vandrel
