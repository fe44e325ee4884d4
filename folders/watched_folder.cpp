#include "folders/watched_folder.h"

#include "platform/clock.h"
#include "rules/rule_text.h"

namespace vandrel {

namespace {

const QString kDefaultMethod = QStringLiteral("every");
const QString kDefaultInterval = QStringLiteral("1 hour");
const QString kDefaultHour = QStringLiteral("23");
const QString kDefaultMinute = QStringLiteral("00");

// A number in [lo, hi] written with two digits, or empty when text is no such number.
QString TwoDigits(const QString& text, int lo, int hi) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v < lo || v > hi) return QString();
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

QDateTime ParseDate(const QString& text) {
    QDateTime t = QDateTime::fromString(text, QString::fromLatin1(kFolderDateFormat));
    return t.isValid() ? t : QDateTime();
}

// Stored numbers ("0"/"1") are read leniently: any other integer counts as on; text that
// is no number gives fallback.
bool ParseFlag(const QString& text, bool fallback) {
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    return ok ? v != 0 : fallback;
}

}  // namespace

WatchedFolder::WatchedFolder(const Clock& clock)
    : clock_(&clock),
      method_(kDefaultMethod),
      interval_(kDefaultInterval),
      hour_(kDefaultHour),
      minute_(kDefaultMinute) {
    const QDateTime now = clock_->now();
    lastRunTime_ = now;
    nextRunTime_ = now.addDays(-1);
}

const QStringList& WatchedFolder::methodItems() {
    static const QStringList items{QStringLiteral("every"), QStringLiteral("at")};
    return items;
}

const QStringList& WatchedFolder::intervalItems() {
    static const QStringList items{QStringLiteral("1 hour"), QStringLiteral("2 hours"),
                                   QStringLiteral("4 hours"), QStringLiteral("8 hours")};
    return items;
}

const QStringList& WatchedFolder::hourItems() {
    static const QStringList items = [] {
        QStringList l;
        for (int h = 0; h < 24; ++h) l << QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0'));
        return l;
    }();
    return items;
}

const QStringList& WatchedFolder::minuteItems() {
    static const QStringList items = [] {
        QStringList l;
        for (int m = 0; m < 60; m += 5) l << QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0'));
        return l;
    }();
    return items;
}

QString WatchedFolder::folderNameText() const {
    if (folderPath_.isEmpty()) return QString::fromLatin1(kSelectAFolder);
    QString p = folderPath_;
    while (p.size() > 1 && p.endsWith(QLatin1Char('/'))) p.chop(1);
    const QString name = FileNamePart(p);
    return name.isEmpty() ? p : name;
}

void WatchedFolder::setMethod(const QString& method) {
    method_ = method;
    recalcPending_ = true;
}

void WatchedFolder::setInterval(const QString& interval) {
    interval_ = interval;
    recalcPending_ = true;
}

void WatchedFolder::setHour(const QString& hour) {
    hour_ = hour;
    recalcPending_ = true;
}

void WatchedFolder::setMinute(const QString& minute) {
    minute_ = minute;
    recalcPending_ = true;
}

bool WatchedFolder::methodIsAt() const { return method_.toUpper() == QLatin1String("AT"); }

QString WatchedFolder::scheduleText() const {
    if (methodIsAt()) return QStringLiteral("at %1:%2").arg(hour_, minute_);
    return QStringLiteral("every ") + interval_;
}

QDateTime WatchedFolder::ComputeNextRunTime(const QDateTime& t) const {
    if (!methodIsAt()) {
        const QString iv = interval_.toUpper();
        int hours = 8;
        if (iv == QLatin1String("1 HOUR"))
            hours = 1;
        else if (iv == QLatin1String("2 HOURS"))
            hours = 2;
        else if (iv == QLatin1String("4 HOURS"))
            hours = 4;
        return t.addSecs(qint64(hours) * 3600);
    }
    // Hour and minute come from the combos or from a checked load; a text that still
    // does not parse falls back to the defaults rather than producing an invalid time.
    bool okH = false, okM = false;
    int h = hour_.toInt(&okH);
    int m = minute_.toInt(&okM);
    if (!okH || h < 0 || h > 23) h = kDefaultHour.toInt();
    if (!okM || m < 0 || m > 59) m = kDefaultMinute.toInt();
    const QTime at(h, m, 1);
    const QDateTime today(t.date(), at, t.timeSpec() == Qt::UTC ? Qt::UTC : Qt::LocalTime);
    if (today <= t) return QDateTime(t.date().addDays(1), at, today.timeSpec());
    return today;
}

bool WatchedFolder::TickCheck(const QDateTime& now) {
    if (!enabled_) return false;
    if (recalcPending_) {
        nextRunTime_ = ComputeNextRunTime(now);
        recalcPending_ = false;
    }
    const QDateTime windowEnd = nextRunTime_.addSecs(kDueWindowSecs);
    if (nextRunTime_ < now && now < windowEnd) {
        lastRunTime_ = now;
        nextRunTime_ = ComputeNextRunTime(now);
        return true;
    }
    // A window missed while the computer slept or checks were suspended is not made up.
    if (now > windowEnd) nextRunTime_ = ComputeNextRunTime(now);
    return false;
}

QString WatchedFolder::SaveToString() const {
    const QString fmt = QString::fromLatin1(kFolderDateFormat);
    const QStringList fields{enabled_ ? QStringLiteral("1") : QStringLiteral("0"),
                             folderPath_,
                             method_,
                             interval_,
                             hour_,
                             minute_,
                             lastRunTime_.toString(fmt),
                             nextRunTime_.toString(fmt),
                             recalcPending_ ? QStringLiteral("True") : QStringLiteral("False"),
                             selector_.SaveToString(),
                             confirm_ ? QStringLiteral("1") : QStringLiteral("0")};
    return fields.join(QString::fromUtf16(kFolderFieldSep));
}

void WatchedFolder::LoadFromString(const QString& text) {
    // Start from a new row so that every missing or unreadable field has its default.
    const WatchedFolder fresh(*clock_);
    const QStringList f = SplitText(text, kFolderFieldSep);
    const auto has = [&f](int i) { return i < f.size(); };

    enabled_ = has(0) ? ParseFlag(f.at(0), fresh.enabled_) : fresh.enabled_;
    folderPath_ = has(1) ? f.at(1) : fresh.folderPath_;
    method_ = has(2) && !f.at(2).isEmpty() ? f.at(2) : fresh.method_;
    interval_ = has(3) && !f.at(3).isEmpty() ? f.at(3) : fresh.interval_;
    const QString h = has(4) ? TwoDigits(f.at(4), 0, 23) : QString();
    hour_ = h.isEmpty() ? fresh.hour_ : h;
    const QString m = has(5) ? TwoDigits(f.at(5), 0, 59) : QString();
    minute_ = m.isEmpty() ? fresh.minute_ : m;
    const QDateTime last = has(6) ? ParseDate(f.at(6)) : QDateTime();
    lastRunTime_ = last.isValid() ? last : fresh.lastRunTime_;
    const QDateTime next = has(7) ? ParseDate(f.at(7)) : QDateTime();
    nextRunTime_ = next.isValid() ? next : fresh.nextRunTime_;
    // Field 8 (the stored recalculation flag) is read for completeness only: applying the
    // method after loading always asks for a fresh next run time.
    selector_.LoadFromString(has(9) ? f.at(9) : fresh.selector_.SaveToString());
    confirm_ = has(10) ? ParseFlag(f.at(10), fresh.confirm_) : fresh.confirm_;
    recalcPending_ = true;
}

}  // namespace vandrel
