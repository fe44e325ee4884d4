// The two timers that drive an AutoTaskRunner in a program with an event loop: the folder
// timer (60 s) ticks the periodic check and the countdown timer (1 s) ticks the countdown.
// Each runs exactly while the runner says it should. Lives on the runner's thread.
#pragma once

#include <QObject>
#include <QTimer>

namespace vandrel {

class AutoTaskRunner;

class AutoTaskTimers : public QObject {
    Q_OBJECT

  public:
    // runner must outlive the timers. Nothing runs until start().
    explicit AutoTaskTimers(AutoTaskRunner& runner, int folderIntervalMs = 60000,
                            int countdownIntervalMs = 1000, QObject* parent = nullptr);

    // Starts following the runner (the folder timer starts when the runner's is active).
    void start();
    // Stops both timers and stops following the runner until start().
    void stop();

    const QTimer& folderTimer() const { return folder_; }
    const QTimer& countdownTimer() const { return countdown_; }

  private:
    void Follow();

    AutoTaskRunner& runner_;
    QTimer folder_;
    QTimer countdown_;
    bool started_ = false;
};

}  // namespace vandrel
