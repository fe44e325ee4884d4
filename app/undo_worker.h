// Undo for the windows: finds what a take or a run holds (one indexed read of the log, on
// the calling thread) and undoes it on a worker thread with its own log connection, with
// progress, so the window never freezes. One undo at a time. Create and use on the UI
// thread. The tray's "Undo last run" uses CanUndoLastRun and StartLastRun.
#pragma once

#include <QObject>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "actions/undo_engine.h"
#include "log/log_manager.h"

namespace vandrel {

class UndoWorker : public QObject {
    Q_OBJECT

  public:
    // What an undo would take back.
    struct Selection {
        std::vector<LogRow> rows;
        int undoable = 0;  // rows undo can take back (the confirmation's count)
    };

    // logPath: the action log. before (may be empty) runs before each read of the log (the
    // owner stores the takes its own log connection still holds).
    explicit UndoWorker(QString logPath, std::function<void()> before = {},
                        QObject* parent = nullptr);
    // Asks a running undo to stop after the take in hand and waits for it.
    ~UndoWorker() override;

    // The take holding row rowId, the run of that row, the newest run. Empty while an undo
    // runs or when the log cannot be read.
    Selection takeOf(qint64 rowId);
    Selection runOf(qint64 rowId);
    Selection lastRun();

    // For the tray: whether the newest run holds something undo can take back and no undo
    // is running now (reads the log only; each item is checked when it is undone).
    bool CanUndoLastRun();
    // Starts undoing selection; false while an undo runs or when it holds nothing undo can
    // take back.
    bool Start(Selection selection);
    bool StartLastRun() { return Start(lastRun()); }
    bool running() const { return busy_; }

  signals:
    void progress(int done, int total);
    void finished(const vandrel::UndoReport& report);

  private:
    LogManager* openLog();

    QString logPath_;
    std::function<void()> before_;
    LogManager log_;
    std::unique_ptr<QThread> thread_;
    std::atomic<bool> stop_{false};
    bool busy_ = false;  // from Start to the finished signal; UI thread only
};

}  // namespace vandrel
