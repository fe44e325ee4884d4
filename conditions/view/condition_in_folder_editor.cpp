#include "conditions/view/condition_in_folder_editor.h"

#include "rules/view/editor_fields.h"
#include "rules/view/path_field.h"

namespace vandrel {

ConditionInFolderEditor::ConditionInFolderEditor(ConditionInFolder& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* path = new PathField(PathField::Mode::Folder, QStringLiteral("Select a Folder"),
                               model.folder, this);
    path->setObjectName(QStringLiteral("txtPath"));
    PlaceField(path, 0, 0, 3900);
    connect(path, &PathField::pathChanged, this, [this](const QString& p) { model_.folder = p; });
}

}  // namespace vandrel
