#include "rules/view/zol_con_selector.h"

#include "rules/kind_registry.h"

namespace vandrel {

ZolConSelector::ZolConSelector(QWidget* parent)
    : ZolKindSelector(KindRegistry::conditionSelectorEntries(), QStringLiteral("Condition kind"),
                      parent) {}

}  // namespace vandrel
