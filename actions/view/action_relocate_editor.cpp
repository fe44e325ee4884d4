#include "actions/view/action_relocate_editor.h"

#include <QCheckBox>
#include <QToolButton>

#include "actions/view/action_editor_parts.h"
#include "actions/view/pattern_input.h"
#include "rules/view/editor_fields.h"
#include "rules/view/path_field.h"

namespace vandrel {

ActionRelocateEditor::ActionRelocateEditor(ActionRelocate& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* folder = new PathField(PathField::Mode::Folder, QStringLiteral("Select a Folder"),
                                 model.folder(), this);
    folder->setObjectName(QStringLiteral("cmbFolder"));
    PlaceField(folder, 0, 0, 3250);
    PlaceField(makeOptionsToggle(), 3300, 0, 600);
    connect(folder, &PathField::pathChanged, this,
            [this](const QString& p) { model_.setFolder(p); });

    auto* sub = MakeCheck(this, QStringLiteral("chkSubfolder"),
                          QStringLiteral("Sort into subfolder"), model.sortIntoSubfolder());
    PlaceField(sub, 100, 400, 3800);
    connect(sub, &QCheckBox::toggled, this, [this](bool on) { model_.setSortIntoSubfolder(on); });
    addOption(sub);
    QWidget* insert = nullptr;
    addOption(AddPatternWithInsert(this, model.pattern(), 100, 750, 2700, &insert, 3900));
    addOption(insert);
    for (QWidget* w : AddConflictChoice(this, 1100, model.renameValue(),
                                        [this](bool on) { model_.setRename(on); }))
        addOption(w);
}

}  // namespace vandrel
