#include "app/cli/folder_cli_util.h"

#include <QDir>
#include <QFileInfo>

#include "folders/watched_folder_list.h"

namespace vandrel {

bool LoadFolderList(CliContext& ctx, WatchedFolderList& list) {
    const QString path = ctx.paths().foldersFile();
    const StateReadResult r = list.LoadFromFile(path);
    if (r.status != StateReadStatus::Unreadable) return true;
    ctx.fail(kExitFailure,
             QStringLiteral("%1 cannot be read%2")
                 .arg(path, r.keptAsidePath.isEmpty()
                                ? QString()
                                : QStringLiteral("; kept aside as ") + r.keptAsidePath));
    return false;
}

bool SaveFolderList(CliContext& ctx, const WatchedFolderList& list) {
    if (list.SaveToFile(ctx.paths().foldersFile())) return true;
    ctx.fail(kExitFailure, QStringLiteral("%1 cannot be written").arg(ctx.paths().foldersFile()));
    return false;
}

QString AbsoluteFolderPath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}


}  // namespace vandrel
