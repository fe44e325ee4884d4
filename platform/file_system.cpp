#include "platform/file_system.h"

#include <QtGlobal>
#include <cerrno>

#include "platform/posix_file_system.h"

namespace vandrel {

FsStatus FsStatus::FromErrno(int error, const char* step, const QString& path) {
    FsStatus s;
    s.error_ = error;
    s.step_ = step;
    s.path_ = path;
    return s;
}

bool FsStatus::alreadyExists() const { return error_ == EEXIST || error_ == ENOTEMPTY; }
bool FsStatus::notFound() const { return error_ == ENOENT || error_ == ENOTDIR; }
bool FsStatus::crossDevice() const { return error_ == EXDEV; }
bool FsStatus::refusedByFileSystem() const {
    return error_ == EPERM || error_ == EOPNOTSUPP || error_ == ENOTSUP;
}

QString FsStatus::message() const {
    if (ok()) return QString();
    return QString::fromUtf8(step_) + QLatin1Char(' ') + path_ + QStringLiteral(": ") +
           qt_error_string(error_);
}

FileSystem& DefaultFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

}  // namespace vandrel
