#include "app/folder_task_worker.h"

#include "attributes/attribute_helper.h"
#include "log/log_manager.h"
#include "log/log_run.h"
#include "platform/file_in_use.h"
#include "rules/rule_list.h"

namespace vandrel {

FolderTaskWorker::FolderTaskWorker(QString logPath, const Clock& clock, QObject* parent)
    : QObject(parent), logPath_(std::move(logPath)), clock_(clock) {}

FolderTaskWorker::~FolderTaskWorker() {
    stop_ = true;
    if (thread_) {
        thread_->wait();
        const std::lock_guard<std::mutex> handedBack(engineInUse_);
    }
}

EngineContext FolderTaskWorker::context() {
    if (!log_) {
        log_ = std::make_unique<LogManager>(&clock_);
        attributes_ = std::make_unique<AttributeHelper>(&clock_);
        inUse_ = std::make_unique<FileInUseProbe>();
    }
    // Opened (again) on demand: a log that could not be opened before may be usable now.
    if (!log_->isOpen()) log_->OpenLogFile(logPath_);
    EngineContext ctx;
    ctx.log = log_.get();
    ctx.attributes = attributes_.get();
    ctx.inUse = inUse_.get();
    ctx.clock = &clock_;
    ctx.prompt = prompt_;
    return ctx;
}

bool FolderTaskWorker::Start(const AutoFolderTask& task, const RuleList& rules) {
    if (running()) return false;
    if (thread_) {
        thread_->wait();
        const std::lock_guard<std::mutex> handedBack(engineInUse_);
    }
    const EngineContext ctx = context();
    std::shared_ptr<RuleList> snapshot = rules.clone(ctx);
    stop_ = false;
    thread_.reset(QThread::create([this, task, snapshot, ctx] {
        const std::lock_guard<std::mutex> inUse(engineInUse_);
        // One task is one run: undo takes it back whole.
        const LogRun run(ctx.log);
        QString why;
        int index = 0;
        for (const QString& item : task.taskItems) {
            if (stop_) break;
            // Every action is in the log, or it is not done.
            if (!ctx.log->isUsable()) {
                why = QStringLiteral("The action log cannot record actions: %1")
                          .arg(ctx.log->lastError());
                break;
            }
            const RunOutcome outcome = snapshot->RunRules(item, task.ruleSelection);
            QMetaObject::invokeMethod(
                this,
                [this, index, item, outcome] {
                    emit itemDone(item, outcome.result);
                    emit itemOutcome(index, item, outcome);
                },
                Qt::QueuedConnection);
            ++index;
        }
        ctx.log->Flush();  // so the log tab and other programs see the takes
        // The thread ends right after this; waiting for it first lets a handler of
        // finished start the next run at once.
        QMetaObject::invokeMethod(
            this,
            [this, why] {
                if (thread_) {
                    thread_->wait();
                    const std::lock_guard<std::mutex> handedBack(engineInUse_);
                }
                emit finished(why);
            },
            Qt::QueuedConnection);
    }));
    thread_->start();
    return true;
}

}  // namespace vandrel
