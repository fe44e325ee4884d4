#include "rules/view/kind_editor.h"

#include <QToolButton>

#include "rules/view/editor_fields.h"
#include "rules/view/view_twips.h"

namespace vandrel {

bool KindEditor::optionsShown() const { return raisedHeight() > 0 && PxToTwips(height()) >= 500; }

QToolButton* KindEditor::makeOptionsToggle() {
    toggle_ = MakeOptionsButton(this);
    connect(toggle_, &QToolButton::clicked, this,
            [this] { emit rowHeightRequest(PxToTwips(height()) < 500 ? raisedHeight() : 0); });
    return toggle_;
}

void KindEditor::resizeEvent(QResizeEvent*) {
    // Hidden options would still take the keyboard focus; show them only when raised.
    const bool shown = optionsShown();
    for (QWidget* w : options_) w->setVisible(shown);
    if (toggle_) toggle_->setChecked(shown);
}

}  // namespace vandrel
