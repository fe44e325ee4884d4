#include "platform/state_file.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace vandrel {

namespace {

StateReadResult ReadState(const QString& path, bool firstLineOnly) {
    StateReadResult result;
    QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return result;  // Missing
    QFile file(path);
    bool ok = info.isFile() && file.open(QIODevice::ReadOnly);
    QByteArray bytes;
    if (ok) {
        bytes = file.readAll();
        ok = file.error() == QFileDevice::NoError;
    }
    QString text;
    if (ok) {
        QStringDecoder decoder(QStringDecoder::Utf8);
        text = decoder(bytes);
        ok = !decoder.hasError();
    }
    if (!ok) {
        result.status = StateReadStatus::Unreadable;
        result.keptAsidePath = KeepAside(path);
        return result;
    }
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    if (firstLineOnly) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'));
        if (end >= 0) text.truncate(end);
        if (text.endsWith(QLatin1Char('\r'))) text.chop(1);
    }
    result.status = StateReadStatus::Ok;
    result.text = text;
    return result;
}

}  // namespace

StateReadResult ReadStateLine(const QString& path) { return ReadState(path, true); }
StateReadResult ReadStateText(const QString& path) { return ReadState(path, false); }

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
    return QFile::rename(path, aside) ? aside : QString();
}

}  // namespace vandrel
