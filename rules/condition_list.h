// The condition rows of one rule.
#pragma once

#include "rules/row_list.h"

namespace vandrel {

class ConditionList : public RowList<IConditionCheck> {
  public:
    explicit ConditionList(const EngineContext& ctx)
        : RowList<IConditionCheck>(ctx, kConditionCellSep) {}
    std::vector<IConditionCheck*> getConditionCollection() const { return collection(); }
};

}  // namespace vandrel
