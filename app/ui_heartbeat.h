// For the desktop benchmark: when VANDREL_UI_HEARTBEAT names a file, a 5 ms timer on the
// user-interface thread measures the longest gap between its ticks while a drop is being
// organised; at exit one line "longest_gap_ms=N drops=M items=K" (drops finished, items
// organised) is written to that file. User-interface thread only.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

namespace vandrel {

class UiHeartbeat : public QObject {
    Q_OBJECT

  public:
    // file: where the line goes at write(); the timer starts at once.
    explicit UiHeartbeat(QString file, QObject* parent = nullptr);

    // A drop is being organised (gaps count) or not.
    void setBusy(bool busy);
    void itemDone() { ++items_; }
    void dropDone() { ++drops_; }

    qint64 longestGapMs() const { return longestGapMs_; }
    QString line() const;
    // Writes line() to the file; false when it cannot be written.
    bool write() const;

  private:
    void tick();

    QString file_;
    QTimer timer_;
    QElapsedTimer sinceTick_;
    bool busy_ = false;
    qint64 longestGapMs_ = 0;
    qint64 drops_ = 0;
    qint64 items_ = 0;
};

}  // namespace vandrel
