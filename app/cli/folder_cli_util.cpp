#include "app/cli/folder_cli_util.h"

#include <QDir>
#include <QFileInfo>

#include "folders/watched_folder_list.h"

namespace vandrel {

bool LoadFolderList(CliContext& ctx, WatchedFolderList& list) {
    const StateReadResult r = list.LoadFromFile(ctx.paths().foldersFile());
    if (r.status != StateReadStatus::Unreadable) return true;
    StateUpdateResult failed;
    failed.status = StateUpdateStatus::Unreadable;
    failed.read = r;
    return ctx.reportUpdate(ctx.paths().foldersFile(), failed);
}

bool UpdateFolderList(CliContext& ctx, WatchedFolderList& list,
                      const std::function<bool(WatchedFolderList&)>& change) {
    const QString path = ctx.paths().foldersFile();
    return ctx.reportUpdate(path, ctx.store().Update(path, list, change));
}

QString AbsoluteFolderPath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

}  // namespace vandrel
