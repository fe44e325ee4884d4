#include "actions/view/action_run_editor.h"

#include "actions/view/action_editor_parts.h"
#include "actions/view/pattern_input.h"
#include "controls/standard/wex_check.h"
#include "controls/standard/wex_expand_btn.h"
#include "controls/standard/wex_file.h"
#include "rules/view/editor_fields.h"

namespace vandrel {

ActionRunEditor::ActionRunEditor(ActionRun& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* app = MakeFileField(this, QStringLiteral("cmbApplication"),
                              QStringLiteral("Select an Application"), QStringLiteral("open"),
                              model.application());
    PlaceField(app, 0, 0, 3000);
    PlaceField(makeOptionsToggle(), 3050, 0, 850);
    connect(app, &wexcontrols::WexFile::Click, this,
            [this, app] { model_.setApplication(app->Text()); });

    auto* params = MakeCheck(this, QStringLiteral("chkParams"),
                             QStringLiteral("run with parameters"), model.passParameters());
    PlaceField(params, 100, 400, 3800);
    connect(params, &wexcontrols::WexCheck::Click, this,
            [this, params] { model_.setPassParameters(params->Value() == 1); });
    addOption(params);
    QWidget* insert = nullptr;
    addOption(AddPatternWithInsert(this, model.pattern(), 100, 750, 2700, &insert, 3900));
    addOption(insert);
}

}  // namespace vandrel
