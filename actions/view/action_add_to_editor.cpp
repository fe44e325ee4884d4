#include "actions/view/action_add_to_editor.h"

#include "rules/view/editor_fields.h"
#include "rules/view/path_field.h"

namespace vandrel {

ActionAddToEditor::ActionAddToEditor(ActionAddTo& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* file = new PathField(PathField::Mode::SaveFile, QStringLiteral("Select a List File"),
                               model.listFile(), this);
    file->setObjectName(QStringLiteral("cmbListFile"));
    PlaceField(file, 0, 0, 3900);
    connect(file, &PathField::pathChanged, this,
            [this](const QString& p) { model_.setListFile(p); });
}

}  // namespace vandrel
