#include "conditions/condition_date.h"

#include <QLocale>

#include "attributes/attribute_helper.h"
#include "platform/clock.h"
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
    for (const char* form : kForms) {
        const QDateTime dt = QDateTime::fromString(text, QLatin1String(form));
        if (dt.isValid()) return dt;
        const QDate d = QDate::fromString(text, QLatin1String(form));
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

bool ConditionDate::DoCheck(const QString& paramList) {
    const QString op = op_.toUpper();
    const bool windowOp =
        op == QLatin1String("IS IN THE LAST") || op == QLatin1String("IS NOT IN THE LAST");
    QDateTime windowStart = ctx_.clockOrSystem().now();
    if (windowOp) {
        // The number field only ever holds whole numbers; anything else (a hand-edited
        // rules file) cannot describe a window, so the condition does not hold.
        bool ok = false;
        const qint64 n = number_.trimmed().toLongLong(&ok);
        if (!ok) return false;
        const QString unit = unit_.toUpper();
        if (unit == QLatin1String("MINUTE"))
            windowStart = windowStart.addSecs(-n * 60);
        else if (unit == QLatin1String("HOUR"))
            windowStart = windowStart.addSecs(-n * 3600);
        else if (unit == QLatin1String("DAY"))
            windowStart = windowStart.addDays(-n);
        else if (unit == QLatin1String("WEEK"))
            windowStart = windowStart.addDays(-7 * n);
    }
    if (ParamKind(paramList).toUpper() != QLatin1String("FILE")) return false;
    if (!ctx_.attributes) return false;
    if (unreadDate_ && showsDate()) return false;
    QDateTime fileDate;
    try {
        fileDate = ctx_.attributes->parseFileDateAttr(ParamPath(paramList), attrCode_);
    } catch (...) {
        return false;
    }
    if (!fileDate.isValid()) return false;
    if (op == QLatin1String("IS")) return FormatDateText(fileDate) == FormatDateText(date_);
    if (op == QLatin1String("IS BEFORE")) return fileDate < date_;
    if (op == QLatin1String("IS AFTER")) return fileDate > date_;
    if (op == QLatin1String("IS IN THE LAST")) return fileDate > windowStart;
    if (op == QLatin1String("IS NOT IN THE LAST")) return fileDate < windowStart;
    return false;
}

}  // namespace vandrel
