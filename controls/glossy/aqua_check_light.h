// A glossy check box shown as a small lamp, lit green when Value is 1 and dim grey when 0, for
// on/off settings. A click flips Value between 0 and 1 and raises Click. Caption defaults to
// "Check".
#pragma once

#include "mark_box.h"

namespace vitreon {

class VITREON_API AquaCheckLight : public MarkBox {
    Q_OBJECT
  public:
    explicit AquaCheckLight(QWidget* parent = nullptr);

  protected:
    void toggle() override;
    void paintMark(QPainter& p, const QRectF& cell, bool set) const override;
    QPainterPath markOutline(const QRectF& cell) const override;
};

}  // namespace vitreon
