#include "folders/watched_folder.h"

#include "platform/clock.h"
#include "platform/path_text.h"
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

// Reads yyyy-MM-ddTHH:mm:ss by hand: the general format parser costs far more than the
// rest of a folder's loading. Anything else (or an impossible date) gives an invalid time.
QDateTime ParseDate(const QString& text) {
    if (text.size() != 19 || text.at(4) != QLatin1Char('-') || text.at(7) != QLatin1Char('-') ||
        text.at(10) != QLatin1Char('T') || text.at(13) != QLatin1Char(':') ||
        text.at(16) != QLatin1Char(':'))
        return QDateTime();
    const auto num = [&text](int at, int len, bool* ok) {
        int v = 0;
        for (int i = at; i < at + len; ++i) {
            const QChar c = text.at(i);
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) *ok = false;
            v = v * 10 + (c.unicode() - u'0');
        }
        return v;
    };
    bool ok = true;
    const QDate d(num(0, 4, &ok), num(5, 2, &ok), num(8, 2, &ok));
    const QTime t(num(11, 2, &ok), num(14, 2, &ok), num(17, 2, &ok));
    if (!ok || !d.isValid() || !t.isValid()) return QDateTime();
    return QDateTime(d, t);
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

QString WatchedFolder::TextProblem(const QString& text) {
    const QStringList f = SplitText(text, kFolderFieldSep);
    if (f.size() < 2) return QStringLiteral("it has no folder path");
    if (f.at(1).isEmpty()) return QStringLiteral("its folder path is empty");
    if (!f.at(1).startsWith(QLatin1Char('/')))
        return QStringLiteral("its folder path is not absolute");
    return QString();
}

bool WatchedFolder::IsStorablePath(const QString& path) { return StripSeparators(path) == path; }

bool WatchedFolder::setFolderPath(const QString& path) {
    if (!IsStorablePath(path)) return false;
    folderPath_ = path;
    return true;
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
    // Compared as instants: local-time arithmetic on every folder each minute is costly.
    const qint64 nowMs = now.toMSecsSinceEpoch();
    const qint64 nextMs = nextRunTime_.toMSecsSinceEpoch();
    const qint64 windowEndMs = nextMs + qint64(kDueWindowSecs) * 1000;
    if (nextMs < nowMs && nowMs < windowEndMs) {
        lastRunTime_ = now;
        nextRunTime_ = ComputeNextRunTime(now);
        return true;
    }
    // A window missed while the computer slept or checks were suspended is not made up.
    if (nowMs > windowEndMs) nextRunTime_ = ComputeNextRunTime(now);
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
    // Every other missing or unreadable field takes the default of a new row.
    const QStringList f = SplitText(text, kFolderFieldSep);
    const auto has = [&f](int i) { return i < f.size(); };

    // A field that is missing (a cut-short file) or unreadable takes the safe value:
    // organizing off, and confirmation on, so that nothing runs that the user did not see.
    enabled_ = has(0) && ParseFlag(f.at(0), false);
    folderPath_ = has(1) ? f.at(1) : QString();
    method_ = has(2) && !f.at(2).isEmpty() ? f.at(2) : kDefaultMethod;
    interval_ = has(3) && !f.at(3).isEmpty() ? f.at(3) : kDefaultInterval;
    const QString h = has(4) ? TwoDigits(f.at(4), 0, 23) : QString();
    hour_ = h.isEmpty() ? kDefaultHour : h;
    const QString m = has(5) ? TwoDigits(f.at(5), 0, 59) : QString();
    minute_ = m.isEmpty() ? kDefaultMinute : m;
    const QDateTime last = has(6) ? ParseDate(f.at(6)) : QDateTime();
    const QDateTime next = has(7) ? ParseDate(f.at(7)) : QDateTime();
    if (!last.isValid() || !next.isValid()) {
        const QDateTime now = clock_->now();
        lastRunTime_ = last.isValid() ? last : now;
        nextRunTime_ = next.isValid() ? next : now.addDays(-1);
    } else {
        lastRunTime_ = last;
        nextRunTime_ = next;
    }
    // Field 8 (the stored recalculation flag) is not needed: applying the method after
    // loading always asks for a fresh next run time.
    selector_.LoadFromString(has(9) ? f.at(9) : QString::fromLatin1(kAllRules));
    confirm_ = !has(10) || ParseFlag(f.at(10), true);
    recalcPending_ = true;
}

}  // namespace vandrel
