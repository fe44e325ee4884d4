// A glossy check box: a rounded square mark, blue with a white tick when Value is 1. A click flips
// Value between 0 and 1 and raises Click. Caption defaults to "Check".
#pragma once

#include "mark_box.h"

namespace vitreon {

class VITREON_API AquaCheck : public MarkBox {
    Q_OBJECT
  public:
    explicit AquaCheck(QWidget* parent = nullptr);

  protected:
    void toggle() override;
    void paintMark(QPainter& p, const QRectF& cell, bool set) const override;
    QPainterPath markOutline(const QRectF& cell) const override;
};

}  // namespace vitreon
