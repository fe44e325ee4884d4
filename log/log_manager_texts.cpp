#include "log/log_manager_texts.h"

namespace vandrel::logdb {

QString StoredTime(const QDateTime& time) {
    if (!time.isValid()) return QString();
    const QDateTime local = time.toLocalTime();
    const QDate d = local.date();
    const QTime t = local.time();
    if (d.year() < 0 || d.year() > 9999) return local.toString(kTimeFormat);
    char16_t text[19] = {u'0', u'0', u'0', u'0', u'-', u'0', u'0', u'-', u'0', u'0',
                         u' ', u'0', u'0', u':', u'0', u'0', u':', u'0', u'0'};
    const auto put = [&text](int end, int value) {
        for (int i = end; value > 0; --i, value /= 10) text[i] = char16_t(u'0' + value % 10);
    };
    put(3, d.year());
    put(6, d.month());
    put(9, d.day());
    put(12, t.hour());
    put(15, t.minute());
    put(18, t.second());
    return QString(reinterpret_cast<const QChar*>(text), 19);
}

QString IdentityStem(const QDateTime& now) {
    const QDate d = now.date();
    const QTime t = now.time();
    QString stem;
    for (int part : {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()})
        stem += QString::number(part);
    return stem;
}

QString RunStem(const QDateTime& now) { return now.toString(QStringLiteral("yyyyMMddHHmmss")); }

}  // namespace vandrel::logdb
