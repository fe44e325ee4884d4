#include "app/ui_heartbeat.h"

#include <QSaveFile>

namespace vandrel {

UiHeartbeat::UiHeartbeat(QString file, QObject* parent) : QObject(parent), file_(std::move(file)) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, &UiHeartbeat::tick);
    timer_.start();
    sinceTick_.start();
}

void UiHeartbeat::setBusy(bool busy) {
    if (busy && !busy_) sinceTick_.restart();  // idle time before the drop is no stall
    busy_ = busy;
}

void UiHeartbeat::tick() {
    const qint64 gap = sinceTick_.restart();
    if (busy_ && gap > longestGapMs_) longestGapMs_ = gap;
}

QString UiHeartbeat::line() const {
    return QStringLiteral("longest_gap_ms=%1 drops=%2 items=%3")
        .arg(longestGapMs_)
        .arg(drops_)
        .arg(items_);
}

bool UiHeartbeat::write() const {
    QSaveFile out(file_);
    if (!out.open(QIODevice::WriteOnly)) return false;
    out.write(line().toUtf8() + '\n');
    return out.commit();
}

}  // namespace vandrel
