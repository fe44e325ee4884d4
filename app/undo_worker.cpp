#include "app/undo_worker.h"

namespace vandrel {

UndoWorker::UndoWorker(QString logPath, std::function<void()> before, QObject* parent)
    : QObject(parent), logPath_(std::move(logPath)), before_(std::move(before)) {}

UndoWorker::~UndoWorker() {
    stop_ = true;
    if (thread_) thread_->wait();
}

// The worker's own connection, opened (again) on demand; null while the worker thread has
// it or when it cannot be opened.
LogManager* UndoWorker::openLog() {
    if (running()) return nullptr;
    if (thread_) thread_->wait();  // it has said it finished; let it end
    if (before_) before_();
    if (!log_.isOpen() && !log_.OpenLogFile(logPath_)) return nullptr;
    return &log_;
}

UndoWorker::Selection UndoWorker::takeOf(qint64 rowId) {
    Selection s;
    if (LogManager* log = openLog()) s.rows = log->RowsOfTake(rowId);
    s.undoable = UndoEngine::UndoableCount(s.rows);
    return s;
}

UndoWorker::Selection UndoWorker::runOf(qint64 rowId) {
    Selection s;
    if (LogManager* log = openLog()) {
        const std::optional<LogRow> row = log->GetActionRecord(QString::number(rowId));
        if (row) s.rows = log->RowsOfRun(row->runId);
    }
    s.undoable = UndoEngine::UndoableCount(s.rows);
    return s;
}

UndoWorker::Selection UndoWorker::lastRun() {
    Selection s;
    if (LogManager* log = openLog()) s.rows = log->RowsOfRun(log->NewestRun());
    s.undoable = UndoEngine::UndoableCount(s.rows);
    return s;
}

bool UndoWorker::CanUndoLastRun() { return !running() && lastRun().undoable > 0; }

bool UndoWorker::Start(Selection selection) {
    if (running() || selection.undoable == 0) return false;
    if (thread_) thread_->wait();
    stop_ = false;
    busy_ = true;
    thread_.reset(QThread::create([this, rows = std::move(selection.rows)]() mutable {
        UndoEngine engine(log_);
        const UndoReport report = engine.Undo(
            std::move(rows), false,
            [this](int done, int total) {
                // A few hundred updates at most: a run can hold many thousand items.
                if (done != total && done % 64 != 0) return;
                QMetaObject::invokeMethod(
                    this, [this, done, total] { emit progress(done, total); },
                    Qt::QueuedConnection);
            },
            &stop_);
        QMetaObject::invokeMethod(
            this,
            [this, report] {
                busy_ = false;
                emit finished(report);
            },
            Qt::QueuedConnection);
    }));
    thread_->start();
    return true;
}

}  // namespace vandrel
