#include "rules/view/zol_act_selector.h"

#include "rules/kind_registry.h"

namespace vandrel {

ZolActSelector::ZolActSelector(QWidget* parent)
    : ZolKindSelector(KindRegistry::actionSelectorEntries(), QStringLiteral("Action kind"),
                      parent) {}

}  // namespace vandrel
