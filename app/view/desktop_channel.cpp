#include "app/view/desktop_channel.h"

#include "app/desktop_requests.h"
#include "app/view/form_rules_setting.h"
#include "app/view/form_start.h"
#include "app/view/rules_tab.h"
#include "folders/view/folders_paper.h"
#include "folders/view/folders_tab.h"
#include "rules/view/rules_paper.h"

namespace vandrel {

DesktopChannel::DesktopChannel(const QString& dataDir) : server_(dataDir) {}

DesktopChannel::~DesktopChannel() { server_.setHandler({}); }

void DesktopChannel::attach(FormStart& start) {
    server_.setHandler({});
    requests_ = std::make_unique<DesktopRequests>(start.settingsState(), &start.vars());
    FormRulesSetting& window = start.settings();
    requests_->setRulesLoader(
        [&window](const QString& text) { window.rulesTab()->paper()->LoadFromString(text); });
    requests_->setFoldersLoader(
        [&window](const QString& text) { window.foldersTab()->paper()->LoadFromString(text); });
    QObject::connect(requests_.get(), &DesktopRequests::foldersChanged, &start,
                     &FormStart::RefreshFolderList);
    server_.setHandler([this](const QJsonObject& request) { return requests_->handle(request); });
}

}  // namespace vandrel
