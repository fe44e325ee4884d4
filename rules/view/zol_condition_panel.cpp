#include "rules/view/zol_condition_panel.h"

#include "conditions/view/condition_editor_factory.h"
#include "rules/view/zol_con_selector.h"

namespace vandrel {

ZolConditionPanel::ZolConditionPanel(ConditionList& list, QWidget* parent)
    : ZolRowsPanel(QStringLiteral("newCon"), parent), list_(list) {
    rebuild();
}

void ZolConditionPanel::LoadFromString(const QString& text) {
    clearRows();
    list_.LoadFromString(text);
    rebuild();
}

ZolKindSelector* ZolConditionPanel::makeSelector() { return new ZolConSelector; }

QString ZolConditionPanel::modelSelector(int index) const {
    return list_.rows().at(static_cast<std::size_t>(index)).selectorText;
}

void ZolConditionPanel::modelSetSelector(int index, const QString& text) {
    list_.setSelector(index, text);
}

KindEditor* ZolConditionPanel::makeEditor(int index) {
    return CreateConditionEditor(list_.rows().at(static_cast<std::size_t>(index)).object.get());
}

}  // namespace vandrel
