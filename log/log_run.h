// One run in the action log for as long as the object lives: every take committed on the
// log meanwhile belongs to it (see LogManager::BeginRun). A run is what "undo the run"
// takes back together: one basket drop with all its items, one watched-folder task, one
// "Go" of the confirmation sheet, one apply or organize command, one quick-folder drop.
// Runs nest: a scope opened inside another joins the outer run. Use on the thread that
// uses the log.
#pragma once

#include <QString>

namespace vandrel {

class LogManager;

class LogRun {
  public:
    // log may be null: then there is no run and nothing to end.
    explicit LogRun(LogManager* log);
    ~LogRun();
    LogRun(const LogRun&) = delete;
    LogRun& operator=(const LogRun&) = delete;

    // The run's identity; empty without a log.
    const QString& id() const { return id_; }

  private:
    LogManager* log_;
    QString id_;
};

}  // namespace vandrel
