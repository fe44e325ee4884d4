#include "actions/confirm_batch.h"

#include "actions/module_file_op.h"
#include "log/log_run.h"
#include "rules/rule_list.h"
#include "rules/run_outcome.h"

namespace vandrel {

ConfirmBatch::ConfirmBatch(QObject* parent)
    : QObject(parent), runner_([](RuleList& rules, const QString& path, const QString& sel) {
          const RunOutcome outcome = rules.RunRules(path, sel);
          // A rule stopped by a move, copy or rename that did not happen says why.
          const QString why =
              outcome.stopped()
                  ? QStringLiteral("\"%1\" not done: %2").arg(outcome.action, outcome.notDone)
                  : QString();
          return ConfirmOutcome{outcome.result, why};
      }) {}

ConfirmBatch::~ConfirmBatch() {
    stop_ = true;
    if (thread_) thread_->wait();
}

void ConfirmBatch::SetTaskObj(const AutoFolderTask& task, RuleList& rules) {
    task_ = task;
    rows_.clear();
    for (const QString& path : task.taskItems) {
        const QString answer = rules.DoRulesTest(path, task.ruleSelection);
        if (answer == QLatin1String(kNoMatchedRule)) continue;
        ConfirmRow row;
        row.path = path;
        if (FileExists(path))
            row.kind = QStringLiteral("File");
        else if (FolderExists(path))
            row.kind = QStringLiteral("Folder");
        row.ruleText = answer;
        rows_.push_back(row);
    }
}

void ConfirmBatch::setTicked(int row, bool ticked) {
    if (row >= 0 && row < static_cast<int>(rows_.size()) && !thread_)
        rows_[static_cast<size_t>(row)].ticked = ticked;
}

int ConfirmBatch::tickedCount() const {
    int n = 0;
    for (const ConfirmRow& r : rows_) n += r.ticked ? 1 : 0;
    return n;
}

bool ConfirmBatch::Go(const RuleList& rules, const EngineContext& workerContext) {
    if (thread_) return false;
    std::vector<std::pair<int, QString>> work;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].ticked) work.emplace_back(static_cast<int>(i), rows_[i].path);
    }
    // The snapshot is taken here, on the rules' own thread; edits made to the rules while
    // the batch runs do not reach it.
    std::shared_ptr<RuleList> snapshot = rules.clone(workerContext);
    const QString selection = task_.ruleSelection;
    const ItemRunner runner = runner_;
    LogManager* log = workerContext.log;
    thread_.reset(QThread::create([this, work, snapshot, selection, runner, log] {
        // One "Go" is one run: undo takes it back whole.
        const LogRun run(log);
        const int total = static_cast<int>(work.size());
        for (int n = 0; n < total && !stop_; ++n) {
            const int row = work[static_cast<size_t>(n)].first;
            QMetaObject::invokeMethod(
                this, [this, row, n, total] { emit itemStarted(row, n, total); },
                Qt::QueuedConnection);
            const ConfirmOutcome outcome =
                runner(*snapshot, work[static_cast<size_t>(n)].second, selection);
            QMetaObject::invokeMethod(
                this, [this, row, outcome] { deliver(row, outcome); }, Qt::QueuedConnection);
        }
    }));
    connect(thread_.get(), &QThread::finished, this, [this] {
        finished_ = true;
        emit batchFinished();
    });
    thread_->start();
    return true;
}

void ConfirmBatch::deliver(int row, const ConfirmOutcome& outcome) {
    ConfirmRow& r = rows_[static_cast<size_t>(row)];
    r.done = true;
    r.outcome = outcome;
    emit itemFinished(row);
}

}  // namespace vandrel
