#include "app/desktop_requests.h"

#include <QJsonArray>

#include "app/app_var_mgr.h"
#include "app/desktop_protocol.h"
#include "app/folder_add_request.h"
#include "app/settings_state.h"
#include "folders/watched_folder.h"
#include "folders/watched_folder_list.h"
#include "platform/clock.h"
#include "rules/rule_list.h"

namespace vandrel {

namespace {

// Exit statuses the command line gives for the same outcomes.
constexpr int kOk = 0;
constexpr int kFailure = 1;
constexpr int kUsage = 2;

QJsonObject Reply(int status, const QStringList& out, const QStringList& err) {
    return {{QStringLiteral("status"), status},
            {QStringLiteral("out"), QJsonArray::fromStringList(out)},
            {QStringLiteral("err"), QJsonArray::fromStringList(err)}};
}

QJsonObject Fail(int status, const QString& message) {
    return Reply(status, {}, {QStringLiteral("vandrel: ") + message});
}

}  // namespace

DesktopRequests::DesktopRequests(SettingsState& state, const AppVarMgr* vars, QObject* parent)
    : QObject(parent),
      state_(state),
      vars_(vars),
      rulesLoader_([this](const QString& text) { state_.rules().LoadFromString(text); }),
      foldersLoader_([this](const QString& text) { state_.folders().LoadFromString(text); }) {}

QString DesktopRequests::busyReason() const {
    if (!vars_) return {};
    if (vars_->autoTaskRunning() || vars_->handTaskRunning())
        return QStringLiteral("a watched folder is being organized");
    if (vars_->dropTaskRunning()) return QStringLiteral("a drop on the basket is being organized");
    if (vars_->creatingNewRule()) return QStringLiteral("the rule wizard is open");
    return {};
}

QJsonObject DesktopRequests::handle(const QJsonObject& request) {
    if (request.value(QLatin1String("v")).toInt(-1) != desktop::kVersion)
        return Fail(kUsage, QStringLiteral("the running Vandrel does not understand this request "
                                           "(another version of the program?); nothing was "
                                           "changed"));
    const QString command = request.value(QLatin1String("command")).toString();
    const bool known = command == QLatin1String(desktop::kCommandRulesImport) ||
                       command == QLatin1String(desktop::kCommandFoldersAdd) ||
                       command == QLatin1String(desktop::kCommandFoldersRemove);
    if (!known)
        return Fail(kUsage, QStringLiteral("the running Vandrel does not know the request '%1'; "
                                           "nothing was changed")
                                .arg(command.left(64)));
    const QString busy = busyReason();
    if (!busy.isEmpty())
        return Fail(kFailure,
                    QStringLiteral("the running Vandrel cannot change its lists now (%1); "
                                   "nothing was changed, try again when it is done")
                        .arg(busy));
    if (command == QLatin1String(desktop::kCommandRulesImport)) return importRules(request);
    if (command == QLatin1String(desktop::kCommandFoldersAdd)) return addFolder(request);
    return removeFolder(request);
}

QJsonObject DesktopRequests::importRules(const QJsonObject& request) {
    const QString file = request.value(QLatin1String("file")).toString();
    const bool yes = request.value(QLatin1String("yes")).toBool(false);
    if (file.isEmpty() || !request.value(QLatin1String("yes")).isBool())
        return Fail(kUsage,
                    QStringLiteral("the import request names no file; nothing was imported"));
    const ImportResult r = SettingsState::ReadImport(file);
    switch (r.status) {
        case ImportStatus::NotRules:
            return Reply(kFailure, {},
                         {QStringLiteral("I think this file doesn't contain the correct rules "
                                         "settings format.")});
        case ImportStatus::Unreadable:
        case ImportStatus::Damaged:
            return Fail(kFailure, QStringLiteral("%1 cannot be imported: %2; nothing was imported")
                                      .arg(file, r.problem));
        case ImportStatus::Imported:
            break;
    }
    // Replacing an empty rule list loses nothing; replacing rules needs a yes.
    if (state_.rules().ruleCount() > 0 && !yes)
        return Fail(kFailure, QStringLiteral("This operation will overwrite your current rules. "
                                             "Nothing was imported (use --yes to import %1)")
                                  .arg(file));
    rulesLoader_(r.line);
    emit rulesChanged();
    QStringList err;
    for (const QString& problem : state_.rules().loadProblems())
        err << QStringLiteral("vandrel: ") + problem;
    const ListSaveResult saved = state_.SaveRules();
    if (!saved.ok) {
        err << QStringLiteral(
                   "vandrel: the running Vandrel took the rules but could not save "
                   "them yet: %1")
                   .arg(saved.error);
        return Reply(kFailure, {}, err);
    }
    return Reply(kOk, {QStringLiteral("Import Successfully")}, err);
}

QJsonObject DesktopRequests::addFolder(const QJsonObject& request) {
    const std::optional<FolderAddRequest> add = FolderAddRequest::FromJson(request);
    if (!add)
        return Fail(kUsage, QStringLiteral("the folder request is not well formed; nothing "
                                           "was changed"));
    const QString problem = add->pathProblem();
    if (!problem.isEmpty()) return Fail(kUsage, problem);
    // The GUIDs are checked against the rules this program holds, which may be newer
    // than rules.txt.
    QString unknown;
    const QString selection = add->selectionIn(state_.rules(), unknown);
    if (!unknown.isEmpty())
        return Fail(kUsage, QStringLiteral("unknown rule GUID %1").arg(unknown));

    const Clock& clock = state_.folders().clock();
    WatchedFolderList changed(clock);
    changed.LoadFromString(state_.folders().SaveToString());
    const WatchedFolder* added = add->addTo(changed, selection, clock.now());
    if (!added)
        return Fail(kUsage, QStringLiteral("%1 is already a watched folder").arg(add->path));
    const QString folderText = added->SaveToString();
    return saveFolders(changed.SaveToString(), folderText);
}

QJsonObject DesktopRequests::removeFolder(const QJsonObject& request) {
    const QString path = request.value(QLatin1String("path")).toString();
    if (path.isEmpty())
        return Fail(kUsage,
                    QStringLiteral("the folder request names no folder; nothing was changed"));
    WatchedFolderList changed(state_.folders().clock());
    changed.LoadFromString(state_.folders().SaveToString());
    int removed = 0;
    for (int i = IndexOfWatchedFolder(changed, path); i >= 0;
         i = IndexOfWatchedFolder(changed, path)) {
        changed.RemoveFolderAt(i);
        ++removed;
    }
    if (removed == 0) return Fail(kUsage, QStringLiteral("%1 is not a watched folder").arg(path));
    return saveFolders(changed.SaveToString(), QString());
}

QJsonObject DesktopRequests::saveFolders(const QString& listText, const QString& folderText) {
    foldersLoader_(listText);
    emit foldersChanged();
    const ListSaveResult saved = state_.SaveFolders();
    if (!saved.ok)
        return Fail(kFailure, QStringLiteral("the running Vandrel changed its folders but could "
                                             "not save them yet: %1")
                                  .arg(saved.error));
    QJsonObject reply = Reply(kOk, {}, {});
    if (!folderText.isEmpty()) reply.insert(QStringLiteral("folder"), folderText);
    return reply;
}

}  // namespace vandrel
