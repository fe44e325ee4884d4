// WexRadio: a radio mark. A click sets Value to 1; clearing the siblings is the host's job.
#pragma once

#include "wex_mark.h"

namespace wexcontrols {

class WexRadio : public WexMark {
    Q_OBJECT
  public:
    explicit WexRadio(QWidget* parent = nullptr);

  protected:
    qint16 clickedValue() const override { return 1; }
};

}  // namespace wexcontrols
