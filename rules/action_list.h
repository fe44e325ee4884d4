// The action rows of one rule. Every created action is handed its owning list.
#pragma once

#include "rules/row_list.h"

namespace vandrel {

class ActionList : public RowList<IActionTake> {
  public:
    explicit ActionList(const EngineContext& ctx) : RowList<IActionTake>(ctx, kActionCellSep) {}
    std::vector<IActionTake*> getActionCollection() const { return collection(); }

  protected:
    void onCreated(IActionTake& action) override { action.SetParrentPanel(this); }
};

}  // namespace vandrel
