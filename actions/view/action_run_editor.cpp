#include "actions/view/action_run_editor.h"

#include <QCheckBox>
#include <QToolButton>

#include "actions/view/action_editor_parts.h"
#include "actions/view/pattern_input.h"
#include "rules/view/editor_fields.h"
#include "rules/view/path_field.h"

namespace vandrel {

ActionRunEditor::ActionRunEditor(ActionRun& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* app = new PathField(PathField::Mode::OpenFile, QStringLiteral("Select an Application"),
                              model.application(), this);
    app->setObjectName(QStringLiteral("cmbApplication"));
    PlaceField(app, 0, 0, 3250);
    PlaceField(makeOptionsToggle(), 3300, 0, 600);
    connect(app, &PathField::pathChanged, this,
            [this](const QString& p) { model_.setApplication(p); });

    auto* params = MakeCheck(this, QStringLiteral("chkParams"),
                             QStringLiteral("run with parameters"), model.passParameters());
    PlaceField(params, 100, 400, 3800);
    connect(params, &QCheckBox::toggled, this, [this](bool on) { model_.setPassParameters(on); });
    addOption(params);
    QWidget* insert = nullptr;
    addOption(AddPatternWithInsert(this, model.pattern(), 100, 750, 2700, &insert, 3900));
    addOption(insert);
}

}  // namespace vandrel
