// The action kind selector of a rule row, its entries in the order the user sees them.
#pragma once

#include "rules/view/zol_kind_selector.h"

namespace vandrel {

class ZolActSelector : public ZolKindSelector {
    Q_OBJECT
  public:
    explicit ZolActSelector(QWidget* parent = nullptr);
};

}  // namespace vandrel
