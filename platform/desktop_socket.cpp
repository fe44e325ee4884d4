#include "platform/desktop_socket.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "platform/unix_socket.h"

namespace vandrel {

namespace {

// A folder that only this user can use: a real folder (not a link) owned by the user,
// with no access for group or others.
bool IsPrivateFolder(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

QString PrivateFolder(QString* error) {
    const uid_t uid = ::getuid();
    const QString runtime = QStringLiteral("/run/user/%1").arg(uid);
    if (IsPrivateFolder(runtime)) return runtime;
    const QString fallback = QStringLiteral("/tmp/vandrel-%1").arg(uid);
    if (::mkdir(QFile::encodeName(fallback).constData(), 0700) != 0 && errno != EEXIST) {
        if (error)
            *error =
                QStringLiteral("%1 cannot be created: %2").arg(fallback, qt_error_string(errno));
        return {};
    }
    // Someone else may have made it first to listen in our place: never use it then.
    if (!IsPrivateFolder(fallback)) {
        if (error) *error = QStringLiteral("%1 is not a private folder of this user").arg(fallback);
        return {};
    }
    return fallback;
}

}  // namespace

QString DesktopSocketPath(const QString& dataDir, QString* error) {
    const QString folder = PrivateFolder(error);
    if (folder.isEmpty()) return {};
    const QFileInfo info(dataDir);
    const QString canonical = info.canonicalFilePath();
    const QString key = canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
    // A hash keeps the name short (socket paths hold about 100 bytes) whatever the folder.
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(key), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("%1/vandrel-%2-%3.sock")
        .arg(folder)
        .arg(::getuid())
        .arg(QString::fromLatin1(hash.left(20)));
}

bool RemoveStaleSocket(const QString& path, QString* error) {
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0) {
        if (errno == ENOENT) return true;
        if (error)
            *error = QStringLiteral("%1 cannot be examined: %2").arg(path, qt_error_string());
        return false;
    }
    if (!S_ISSOCK(st.st_mode)) {
        if (error) *error = QStringLiteral("%1 is in the way and is not a socket").arg(path);
        return false;
    }
    // The lock says no Vandrel owns it, but a program that does answer there (one whose
    // lock file was deleted, say) keeps its socket: only a dead name is taken over.
    // A full queue (EAGAIN) is a live listener too.
    const UnixSocket probe = UnixSocket::Connect(path);
    if (probe.isOpen() || probe.errorNumber() == EAGAIN) {
        if (error) *error = QStringLiteral("another program answers on %1").arg(path);
        return false;
    }
    if (::unlink(native.constData()) == 0 || errno == ENOENT) return true;
    if (error) *error = QStringLiteral("%1 cannot be removed: %2").arg(path, qt_error_string());
    return false;
}

}  // namespace vandrel
