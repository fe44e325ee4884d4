#include "log/log_run.h"

#include "log/log_manager.h"

namespace vandrel {

LogRun::LogRun(LogManager* log) : log_(log) {
    if (log_) id_ = log_->BeginRun();
}

LogRun::~LogRun() {
    if (log_) log_->EndRun();
}

}  // namespace vandrel
