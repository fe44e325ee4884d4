// The texts the action log writes for times and identities: a take's stored time, the
// date-and-time stems of take and run identities, and a one-entry memory of the last
// time formatted (takes come many to a second). Not for use outside the log manager.
#pragma once

#include <QDateTime>
#include <QString>

namespace vandrel::logdb {

// How the table keeps a take's time, in local time.
inline const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// A record's time as the table keeps it (kTimeFormat), without the cost of the locale
// machinery; empty when unknown.
QString StoredTime(const QDateTime& time);

// Year, month, day, hour, minute and second in plain decimal without leading zeros; the
// identity is this followed by the random part: 5 January 2008 09:07:03 with 4321 gives
// "2008159734321".
QString IdentityStem(const QDateTime& now);

// The date-and-time part of a run identity.
QString RunStem(const QDateTime& now);

// The text of a time, remembered for the last time asked about.
class TimeText {
  public:
    explicit TimeText(QString (*format)(const QDateTime&)) : format_(format) {}
    // Only local times are remembered: for those the same instant is the same text.
    QString of(const QDateTime& time) {
        if (time.timeSpec() != Qt::LocalTime) return format_(time);
        if (!known_ || time != time_) {
            time_ = time;
            text_ = format_(time);
            known_ = true;
        }
        return text_;
    }

  private:
    QString (*format_)(const QDateTime&);
    bool known_ = false;
    QDateTime time_;
    QString text_;
};

}  // namespace vandrel::logdb
