// Runs the items of a watched-folder task on a worker thread against a snapshot of the
// rules taken when the run starts, with services of its own (its own log connection), so
// the window never freezes while files are moved. Each item's result and the end arrive
// on the owner's thread. One run at a time. Create and use on the UI thread.
#pragma once

#include <QObject>
#include <QThread>
#include <atomic>
#include <memory>
#include <mutex>

#include "folders/auto_folder_task.h"
#include "rules/engine_context.h"
#include "rules/run_outcome.h"

namespace vandrel {

class ActionPrompt;
class AttributeHelper;
class Clock;
class FileInUseProbe;
class LogManager;
class RuleList;

class FolderTaskWorker : public QObject {
    Q_OBJECT

  public:
    // logPath: the action log the worker writes to; clock must outlive the worker.
    FolderTaskWorker(QString logPath, const Clock& clock, QObject* parent = nullptr);
    // Stops after the item in hand and waits for it.
    ~FolderTaskWorker() override;

    // The services the worker thread uses; leave them to it while running() (the
    // confirmation sheet runs its batch with them).
    EngineContext context();
    // Who answers the actions' questions and hears their failures (none: every question
    // is answered "no"). Must outlive the worker; set it before a run starts.
    void setPrompt(ActionPrompt* prompt) { prompt_ = prompt; }
    // Starts the run; false while one is running.
    bool Start(const AutoFolderTask& task, const RuleList& rules);
    bool running() const { return thread_ && thread_->isRunning(); }

  signals:
    void itemDone(const QString& path, const QString& result);
    // The same with the item's place in the run (0-based) and, when its rule stopped
    // because a move, copy or rename did not take place, why.
    void itemOutcome(int index, const QString& path, const vandrel::RunOutcome& outcome);
    // The run ended; why is empty, or says why it stopped early (the log cannot record).
    void finished(const QString& why);

  private:
    QString logPath_;
    const Clock& clock_;
    std::unique_ptr<LogManager> log_;
    std::unique_ptr<AttributeHelper> attributes_;
    std::unique_ptr<FileInUseProbe> inUse_;
    ActionPrompt* prompt_ = nullptr;
    std::unique_ptr<QThread> thread_;
    std::atomic<bool> stop_{false};
    // Held by the worker thread while it uses the engine. QThread::wait already orders the
    // worker's writes before whoever waited, but inside Qt, where ThreadSanitizer cannot
    // see it; taking this after the wait makes the hand-over of the log and the services
    // to the next run (or back to the UI thread) explicit.
    std::mutex engineInUse_;
};

}  // namespace vandrel
