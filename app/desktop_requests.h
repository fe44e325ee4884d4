// What the command line hands to the running desktop program: "rules import" and
// "folders add/remove" applied to the program's lists in memory (which it would write
// over the files on close) exactly as the commands apply them to the files, then saved
// as the settings window saves them. rulesChanged()/foldersChanged() tell the windows.
// No widgets; UI thread only (the desktop server calls handle()).
#pragma once

#include <QJsonObject>
#include <QObject>
#include <functional>

namespace vandrel {

class AppVarMgr;
class SettingsState;

class DesktopRequests : public QObject {
    Q_OBJECT

  public:
    using Loader = std::function<void(const QString& text)>;

    // state (and vars, when given) must outlive this object. With vars, a request that
    // arrives while a batch runs or the rule wizard is open is refused (try again later):
    // the lists must not change under a running task.
    explicit DesktopRequests(SettingsState& state, const AppVarMgr* vars = nullptr,
                             QObject* parent = nullptr);

    // How a changed list is put in place: by default straight into the model. A window
    // showing the list sets its own (the list view's LoadFromString), so no row is left
    // over a rule or folder that went away.
    void setRulesLoader(Loader loader) { rulesLoader_ = std::move(loader); }
    void setFoldersLoader(Loader loader) { foldersLoader_ = std::move(loader); }

    // Applies one request; returns the reply (see desktop_protocol.h). Never throws; a
    // request that is not understood gets status 2 and a line saying why.
    QJsonObject handle(const QJsonObject& request);

  signals:
    void rulesChanged();
    void foldersChanged();

  private:
    QJsonObject importRules(const QJsonObject& request);
    QJsonObject addFolder(const QJsonObject& request);
    QJsonObject removeFolder(const QJsonObject& request);
    // Puts the changed list in place, saves it and replies (with the added folder's text).
    QJsonObject saveFolders(const QString& listText, const QString& folderText);
    QString busyReason() const;

    SettingsState& state_;
    const AppVarMgr* vars_;
    Loader rulesLoader_;
    Loader foldersLoader_;
};

}  // namespace vandrel
