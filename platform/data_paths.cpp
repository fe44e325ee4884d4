#include "platform/data_paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vandrel {

DataPaths::DataPaths(const QString& dir)
    : dir_(QDir::cleanPath(QDir(dir.isEmpty() ? defaultDir() : dir).absolutePath())) {}

QString DataPaths::defaultDir() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/vandrel");
}

bool DataPaths::ensureExists() const {
    QFileInfo info(dir_);
    if (info.exists()) return info.isDir() && info.isReadable() && info.isWritable();
    return QDir().mkpath(dir_);
}

}  // namespace vandrel
