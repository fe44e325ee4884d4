#include "rules/view/zol_action_panel.h"

#include "actions/view/action_editor_factory.h"
#include "rules/view/zol_act_selector.h"

namespace vandrel {

ZolActionPanel::ZolActionPanel(ActionList& list, QWidget* parent)
    : ZolRowsPanel(QStringLiteral("newAct"), parent), list_(list) {
    rebuild();
}

void ZolActionPanel::LoadFromString(const QString& text) {
    clearRows();
    list_.LoadFromString(text);
    rebuild();
}

ZolKindSelector* ZolActionPanel::makeSelector() { return new ZolActSelector; }

QString ZolActionPanel::modelSelector(int index) const {
    return list_.rows().at(static_cast<std::size_t>(index)).selectorText;
}

void ZolActionPanel::modelSetSelector(int index, const QString& text) {
    list_.setSelector(index, text);
}

KindEditor* ZolActionPanel::makeEditor(int index) {
    return CreateActionEditor(list_.rows().at(static_cast<std::size_t>(index)).object.get());
}

}  // namespace vandrel
