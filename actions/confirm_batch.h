// The model of the confirmation sheet: the items of a watched-folder task that some
// selected rule would handle, each with that rule's title and a tick, and "Go", which runs
// the ticked items in list order on one worker thread against a snapshot of the rules
// taken when it starts, reporting each item as it finishes. Live on the UI thread; the
// signals arrive there.
#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "folders/auto_folder_task.h"
#include "rules/engine_context.h"

namespace vandrel {

class RuleList;

// What running the rules on one item came to: the rule list's answer and, when the acting
// rule stopped because one of its moves, copies or renames did not happen, why.
struct ConfirmOutcome {
    QString result;
    QString why;
};

struct ConfirmRow {
    QString path;
    QString kind;      // "File", "Folder", or empty when the item is neither (any more)
    QString ruleText;  // the answer of the rule test when the sheet was built
    bool ticked = true;
    bool done = false;
    ConfirmOutcome outcome;  // once done
};

class ConfirmBatch : public QObject {
    Q_OBJECT

  public:
    // Runs the rules on one item (on the worker thread, with the snapshot).
    using ItemRunner = std::function<ConfirmOutcome(RuleList& rules, const QString& path,
                                                    const QString& selection)>;

    explicit ConfirmBatch(QObject* parent = nullptr);
    // Waits for a running batch, which stops after its current item.
    ~ConfirmBatch() override;

    // Lists the task's items whose rule test answers anything but "no matched rule".
    void SetTaskObj(const AutoFolderTask& task, RuleList& rules);

    const QString& folderCaption() const { return task_.folderCaption; }
    const std::vector<ConfirmRow>& rows() const { return rows_; }
    void setTicked(int row, bool ticked);
    int tickedCount() const;

    // Replaces how an item is run (the default calls RuleList::DoRunRules).
    void setItemRunner(ItemRunner runner) { runner_ = std::move(runner); }

    // Starts running the ticked items on a worker thread against a copy of rules made now
    // with workerContext (whose log and probes the caller must leave to the worker until
    // finished). False when a batch is already running or has run.
    bool Go(const RuleList& rules, const EngineContext& workerContext);
    bool running() const { return thread_ != nullptr && !finished_; }
    bool finished() const { return finished_; }
    // Asks a running batch to stop after the item it is on.
    void requestStop() { stop_ = true; }

  signals:
    // Row index of the item being run; done of total items finished before it.
    void itemStarted(int row, int done, int total);
    void itemFinished(int row);
    void batchFinished();

  private:
    void deliver(int row, const ConfirmOutcome& outcome);

    AutoFolderTask task_;
    std::vector<ConfirmRow> rows_;
    ItemRunner runner_;
    std::unique_ptr<QThread> thread_;
    std::atomic<bool> stop_{false};
    bool finished_ = false;
};

}  // namespace vandrel
