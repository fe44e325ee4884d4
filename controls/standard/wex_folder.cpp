#include "wex_folder.h"

#include "wex_module.h"

namespace wexcontrols {

WexFolder::WexFolder(QWidget* parent)
    : WexPathField(QStringLiteral("Select a Folder"), images::Decoration::Folder, parent),
      chooser_(&BrowseForFolder) {}

void WexFolder::ReadProperties(const QVariantMap& bag) {
    readCaption(bag);
    clearChanged();
}

QVariantMap WexFolder::WriteProperties() const { return {{QStringLiteral("Caption"), Caption()}}; }

QString WexFolder::choose() {
    return PickedFolderPath(chooser_(this, QStringLiteral("Select a Folder")));
}

}  // namespace wexcontrols
