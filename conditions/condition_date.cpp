#include "conditions/condition_date.h"

#include <QLocale>

#include "attributes/attribute_helper.h"
#include "platform/clock.h"
#include "rules/evaluation_scope.h"
#include "rules/param_parts.h"
#include "rules/rule_text.h"

namespace vandrel {

ConditionDate::ConditionDate(const EngineContext& ctx) : ctx_(ctx) {
    // A new row's date control shows today.
    date_ = QDateTime(ctx_.clockOrSystem().now().date(), QTime(0, 0));
}

void ConditionDate::setOperator(const QString& op) { op_ = StripSeparators(op); }
void ConditionDate::setNumber(const QString& number) { number_ = StripSeparators(number); }
void ConditionDate::setUnit(const QString& unit) { unit_ = StripSeparators(unit); }

bool ConditionDate::showsDate() const {
    const QString op = op_.toUpper();
    return op == QLatin1String("IS") || op == QLatin1String("IS BEFORE") ||
           op == QLatin1String("IS AFTER");
}

QString ConditionDate::SaveToString() const {
    const QString sep = QString::fromUtf16(kConditionFieldSep);
    // A fixed, locale-free form, so a rule file moves between machines unchanged.
    if (unreadDate_) return op_ + sep + number_ + sep + unit_ + sep + *unreadDate_;
    const QString dateText = date_.time() == QTime(0, 0)
                                 ? date_.toString(QStringLiteral("yyyy-MM-dd"))
                                 : date_.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return op_ + sep + number_ + sep + unit_ + sep + dateText;
}

QDateTime ConditionDate::ParseDateText(const QString& raw) {
    const QString text = raw.trimmed();
    if (text.isEmpty()) return {};
    static const char* const kForms[] = {
        "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-M-d H:m:s", "yyyy-M-d H:m",
        "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd",       "yyyy-M-d"};
    // Qt's parser needs a form's separators in the text, so a form whose space, "T" or ":"
    // the text lacks cannot match; skipping it spares the time-zone lookups (each a file
    // look) a failed local-time parse makes.
    const bool hasSpace = text.contains(QLatin1Char(' '));
    const bool hasT = text.contains(QLatin1Char('T'));
    const bool hasColon = text.contains(QLatin1Char(':'));
    for (const char* form : kForms) {
        const QLatin1String f(form);
        if ((!hasSpace && f.contains(QLatin1Char(' '))) ||
            (!hasT && f.contains(QLatin1Char('T'))) || (!hasColon && f.contains(QLatin1Char(':'))))
            continue;
        const QDateTime dt = QDateTime::fromString(text, f);
        if (dt.isValid()) return dt;
        const QDate d = QDate::fromString(text, f);
        if (d.isValid()) return QDateTime(d, QTime(0, 0));
    }
    const QLocale locale;
    const QDateTime dt = locale.toDateTime(text, QLocale::ShortFormat);
    if (dt.isValid()) return dt;
    const QDate d = locale.toDate(text, QLocale::ShortFormat);
    if (d.isValid()) return QDateTime(d, QTime(0, 0));
    return {};
}

void ConditionDate::LoadFromString(const QString& text) {
    const QStringList f = SplitText(text, kConditionFieldSep);
    op_ = FieldAt(f, 0);
    number_ = FieldAt(f, 1);
    unit_ = FieldAt(f, 2);
    const QDateTime dt = ParseDateText(FieldAt(f, 3));
    // Replacing a date we cannot read by today would silently change what the rule means.
    if (dt.isValid())
        setDate(dt);
    else
        unreadDate_ = FieldAt(f, 3);
}

QString ConditionDate::loadProblem() const {
    // The window operators do not use the date: it is kept, but nothing is amiss.
    if (!unreadDate_ || !showsDate()) return QString();
    return QStringLiteral(
               "the date \"%1\" cannot be read; the condition does not hold until "
               "it is mended")
        .arg(*unreadDate_);
}

std::optional<ItemLook::Time> ConditionDate::timeOf() const {
    if (EqualsUpper(attrCode_, QLatin1String("DATE.CREATED"))) return ItemLook::Time::kCreated;
    if (EqualsUpper(attrCode_, QLatin1String("DATE.MODIFIED"))) return ItemLook::Time::kModified;
    if (EqualsUpper(attrCode_, QLatin1String("DATE.ACCESSED"))) return ItemLook::Time::kAccessed;
    return std::nullopt;
}

qint64 ConditionDate::dateMs(EvaluationScope& scope) {
    // The control's local date-time as an instant costs a time-zone lookup; it is worked
    // out again only when the date or the offset from UTC changes (a move of the system's
    // time zone, or a daylight-saving change since).
    const qint64 offset = scope.nowOffsetMs();
    if (!dateMs_ || dateMsOffset_ != offset) {
        dateMs_ = date_.toMSecsSinceEpoch();
        dateMsOffset_ = offset;
    }
    return *dateMs_;
}

const ConditionDate::Prepared& ConditionDate::prepared() {
    if (fields_.same(op_, number_, unit_, attrCode_)) return prepared_;
    const QString op = op_.toUpper();
    prepared_.op = op == QLatin1String("IS")                   ? Op::kIs
                   : op == QLatin1String("IS BEFORE")          ? Op::kBefore
                   : op == QLatin1String("IS AFTER")           ? Op::kAfter
                   : op == QLatin1String("IS IN THE LAST")     ? Op::kInLast
                   : op == QLatin1String("IS NOT IN THE LAST") ? Op::kNotInLast
                                                               : Op::kNone;
    const QString unit = unit_.toUpper();
    prepared_.unit = unit == QLatin1String("MINUTE") ? Unit::kMinute
                     : unit == QLatin1String("HOUR") ? Unit::kHour
                     : unit == QLatin1String("DAY")  ? Unit::kDay
                     : unit == QLatin1String("WEEK") ? Unit::kWeek
                                                     : Unit::kOther;
    bool ok = false;
    const qint64 n = number_.trimmed().toLongLong(&ok);
    prepared_.number = ok ? std::optional<qint64>(n) : std::nullopt;
    prepared_.time = timeOf();
    return prepared_;
}

bool ConditionDate::DoCheck(const QString& paramList) {
    const Prepared& p = prepared();
    const bool windowOp = p.op == Op::kInLast || p.op == Op::kNotInLast;
    // The number field only ever holds whole numbers; anything else (a hand-edited rules
    // file) cannot describe a window, so the condition does not hold.
    if (windowOp && !p.number) return false;
    const qint64 n = windowOp ? *p.number : 0;
    if (!PartsOf(paramList).isFile) return false;
    if (!ctx_.attributes) return false;
    if (unreadDate_ && showsDate()) return false;
    return WithItemLook(ctx_, paramList, [&](EvaluationScope& scope, const ItemLook& look) {
        // Beyond any real window (a hand-edited number) the calendar arithmetic is left to
        // the general path below.
        constexpr qint64 kMaxWindow = 1'000'000'000;
        if (look.stat().isFile() && p.time && date_.isValid() && n > -kMaxWindow && n < kMaxWindow)
            return compareInstants(scope, look, *p.time, p, n);
        return compareDates(scope, look, p, n);
    });
}

bool ConditionDate::compareInstants(EvaluationScope& scope, const ItemLook& look,
                                    ItemLook::Time which, const Prepared& p, qint64 n) {
    // Dates compared as instants in milliseconds: the same order as comparing the
    // date-times, without a time-zone lookup per comparison.
    const qint64 fileMs = look.seconds(which) * 1000;
    if (p.op == Op::kIs) {
        const QDate day = scope.localDate(look.seconds(which));
        return day.isValid() ? day == date_.date() : look.local(which).date() == date_.date();
    }
    if (p.op == Op::kBefore) return fileMs < dateMs(scope);
    if (p.op == Op::kAfter) return fileMs > dateMs(scope);
    const bool inLast = p.op == Op::kInLast;
    if (!inLast && p.op != Op::kNotInLast) return false;
    qint64 start = scope.nowMs();
    if (p.unit == Unit::kMinute)
        start -= n * 60 * 1000;
    else if (p.unit == Unit::kHour)
        start -= n * 3600 * 1000;
    else if (p.unit == Unit::kDay)
        start = scope.daysBeforeNowMs(n);
    else if (p.unit == Unit::kWeek)
        start = scope.daysBeforeNowMs(7 * n);
    return inLast ? fileMs > start : fileMs < start;
}

bool ConditionDate::compareDates(EvaluationScope& scope, const ItemLook& look, const Prepared& p,
                                 qint64 n) {
    QDateTime windowStart = scope.now();
    if (p.unit == Unit::kMinute)
        windowStart = windowStart.addSecs(-n * 60);
    else if (p.unit == Unit::kHour)
        windowStart = windowStart.addSecs(-n * 3600);
    else if (p.unit == Unit::kDay)
        windowStart = windowStart.addDays(-n);
    else if (p.unit == Unit::kWeek)
        windowStart = windowStart.addDays(-7 * n);
    const QDateTime fileDate = ctx_.attributes->parseFileDateAttr(look, attrCode_);
    if (!fileDate.isValid()) return false;
    switch (p.op) {
        case Op::kIs:
            return FormatDateText(fileDate) == FormatDateText(date_);
        case Op::kBefore:
            return fileDate < date_;
        case Op::kAfter:
            return fileDate > date_;
        case Op::kInLast:
            return fileDate > windowStart;
        case Op::kNotInLast:
            return fileDate < windowStart;
        case Op::kNone:
            break;
    }
    return false;
}

}  // namespace vandrel
