#include "folders/auto_task_timers.h"

#include "folders/auto_task_runner.h"

namespace vandrel {

AutoTaskTimers::AutoTaskTimers(AutoTaskRunner& runner, int folderIntervalMs,
                               int countdownIntervalMs, QObject* parent)
    : QObject(parent), runner_(runner) {
    folder_.setInterval(folderIntervalMs);
    countdown_.setInterval(countdownIntervalMs);
    connect(&folder_, &QTimer::timeout, this, [this] { runner_.FolderTimerTick(); });
    connect(&countdown_, &QTimer::timeout, this, [this] { runner_.CountdownTick(); });
    connect(&runner_, &AutoTaskRunner::folderTimerChanged, this, [this] { Follow(); });
    connect(&runner_, &AutoTaskRunner::countdownTimerChanged, this, [this] { Follow(); });
}

void AutoTaskTimers::start() {
    started_ = true;
    Follow();
}

void AutoTaskTimers::stop() {
    started_ = false;
    Follow();
}

void AutoTaskTimers::Follow() {
    // Restarting a running timer would push its next tick back; only switch on changes.
    const bool folderOn = started_ && runner_.folderTimerActive();
    const bool countdownOn = started_ && runner_.countdownActive();
    if (folderOn != folder_.isActive()) folderOn ? folder_.start() : folder_.stop();
    if (countdownOn != countdown_.isActive()) countdownOn ? countdown_.start() : countdown_.stop();
}

}  // namespace vandrel
