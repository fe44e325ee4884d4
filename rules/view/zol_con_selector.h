// The condition kind selector of a rule row, its entries in the order the user sees them.
#pragma once

#include "rules/view/zol_kind_selector.h"

namespace vandrel {

class ZolConSelector : public ZolKindSelector {
    Q_OBJECT
  public:
    explicit ZolConSelector(QWidget* parent = nullptr);
};

}  // namespace vandrel
