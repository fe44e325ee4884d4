// WexCheck: a check mark. A click flips Value between 0 and 1 (any other value counts as
// checked and becomes 0).
#pragma once

#include "wex_mark.h"

namespace wexcontrols {

class WexCheck : public WexMark {
    Q_OBJECT
  public:
    explicit WexCheck(QWidget* parent = nullptr);

  protected:
    qint16 clickedValue() const override { return Value() == 0 ? 1 : 0; }
};

}  // namespace wexcontrols
