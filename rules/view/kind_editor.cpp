#include "rules/view/kind_editor.h"

#include "controls/standard/wex_expand_btn.h"
#include "rules/view/editor_fields.h"
#include "rules/view/view_twips.h"

namespace vandrel {

bool KindEditor::optionsShown() const { return raisedHeight() > 0 && PxToTwips(height()) >= 500; }

wexcontrols::WexExpandBtn* KindEditor::makeOptionsToggle() {
    toggle_ = MakeOptionsButton(this);
    connect(toggle_, &wexcontrols::WexExpandBtn::Click, this,
            [this] { emit rowHeightRequest(PxToTwips(height()) < 500 ? raisedHeight() : 0); });
    return toggle_;
}

void KindEditor::resizeEvent(QResizeEvent*) {
    // Hidden options would still take the keyboard focus; show them only when raised.
    const bool shown = optionsShown();
    for (QWidget* w : options_) w->setVisible(shown);
    if (toggle_) toggle_->setExpanded(shown);
}

}  // namespace vandrel
