// A glossy radio button: a round mark, blue with a white dot when Value is 1. A click sets Value to
// 1 and raises Click; clearing its siblings is the host's business. Caption defaults to "Radio".
#pragma once

#include "mark_box.h"

namespace vitreon {

class VITREON_API AquaRadio : public MarkBox {
    Q_OBJECT
  public:
    explicit AquaRadio(QWidget* parent = nullptr);

  protected:
    void toggle() override;
    void paintMark(QPainter& p, const QRectF& cell, bool set) const override;
    QPainterPath markOutline(const QRectF& cell) const override;
};

}  // namespace vitreon
