#include "platform/state_file.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include "platform/state_lock.h"

namespace vandrel {

namespace {

struct RawRead {
    bool exists = false;
    bool ok = false;  // read without an I/O error
    QByteArray bytes;
};

RawRead ReadBytes(const QString& path) {
    RawRead raw;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return raw;
    raw.exists = true;
    QFile file(path);
    raw.ok = info.isFile() && file.open(QIODevice::ReadOnly);
    if (raw.ok) {
        raw.bytes = file.readAll();
        raw.ok = file.error() == QFileDevice::NoError;
    }
    return raw;
}

// Decodes and checks bytes; fills text or problem.
bool Judge(const RawRead& raw, bool firstLineOnly, const StateTextCheck& check, QString& text,
           QString& problem) {
    if (!raw.ok) {
        problem = QStringLiteral("it cannot be read");
        return false;
    }
    problem = TextEncodingProblem(raw.bytes);
    if (!problem.isEmpty()) return false;
    text = QString::fromUtf8(raw.bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    if (firstLineOnly) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'));
        if (end >= 0) text.truncate(end);
        if (text.endsWith(QLatin1Char('\r'))) text.chop(1);
    }
    if (check) problem = check(text);
    return problem.isEmpty();
}

StateReadResult ReadState(const QString& path, bool firstLineOnly, const StateTextCheck& check,
                          bool lockHeld) {
    StateReadResult result;
    RawRead raw = ReadBytes(path);
    if (!raw.exists) return result;  // Missing
    QString text, problem;
    if (!Judge(raw, firstLineOnly, check, text, problem) && !lockHeld) {
        // Another writer may have put a good file in place since the read: look again
        // under the lock, so that only the damaged file is ever moved aside.
        StateLock lock(QFileInfo(path).absolutePath());
        if (lock.lock()) return ReadState(path, firstLineOnly, check, true);
        result.status = StateReadStatus::Unreadable;
        result.problem = problem;
        return result;  // left where it is: never moved without the lock
    }
    if (!problem.isEmpty()) {
        result.status = StateReadStatus::Unreadable;
        result.problem = problem;
        result.keptAsidePath = KeepAside(path);
        return result;
    }
    result.status = StateReadStatus::Ok;
    result.text = text;
    return result;
}

}  // namespace

QString TextEncodingProblem(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return QStringLiteral("it is UTF-16 text");
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0) return QStringLiteral("it holds a NUL byte at offset %1").arg(nul);
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder.decode(bytes);  // decodes only when converted
    if (decoder.hasError()) return QStringLiteral("it is not UTF-8 text");
    return QString();
}

StateReadResult ReadStateLine(const QString& path, const StateTextCheck& check) {
    return ReadState(path, true, check, false);
}

StateReadResult ReadStateText(const QString& path, const StateTextCheck& check) {
    return ReadState(path, false, check, false);
}

StateReadResult ReadStateHoldingLock(const QString& path, bool firstLineOnly,
                                     const StateTextCheck& check) {
    return ReadState(path, firstLineOnly, check, true);
}

bool WriteStateLine(const QString& path, const QString& text) {
    return WriteStateBytes(path, (text + QStringLiteral("\r\n")).toUtf8());
}

bool WriteStateBytes(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    // A direct write would defeat the point: never leave a torn state file.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return false;
    // The explicit flush matters: on a full disk Qt 6.4's commit() renames the short
    // temporary file into place and still reports success; a failed flush is caught here
    // and the old file stays.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString KeepAside(const QString& path) {
    const QString aside = path + QStringLiteral(".unreadable-") +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss"));
    // Two damaged versions within one second must not meet under one name (QFile::rename
    // never replaces).
    for (int n = 0; n < 100; ++n) {
        const QString candidate = n == 0 ? aside : aside + QLatin1Char('-') + QString::number(n);
        if (QFile::rename(path, candidate)) return candidate;
        if (!QFileInfo::exists(candidate)) break;
    }
    return QString();
}

}  // namespace vandrel
