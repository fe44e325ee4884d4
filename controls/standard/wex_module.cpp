#include "wex_module.h"

#include <QFileDialog>
#include <QFileInfo>

namespace wexcontrols {

QString BrowseForFolder(QWidget* owner, const QString& title) {
    const QString chosen =
        QFileDialog::getExistingDirectory(owner, title, QString(), QFileDialog::ShowDirsOnly);
    return PickedFolderPath(chosen);
}

QString PickedFolderPath(const QString& raw) {
    QString path = raw;
    const qsizetype nul = path.indexOf(QChar(u'\0'));
    if (nul >= 0) path.truncate(nul);
    // Removing the only "/" of the root would turn a real choice into "cancelled".
    if (path.size() > 1 && path.endsWith(u'/')) path.chop(1);
    return path;
}

QString LastPathComponent(const QString& path) {
    if (path == QStringLiteral("/")) return path;
    return path.mid(path.lastIndexOf(u'/') + 1);
}

bool FileExists(const QString& path) {
    if (path.isEmpty()) return false;
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

}  // namespace wexcontrols
