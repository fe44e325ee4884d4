// A blue glossy button with a plus sign, for adding an item (a rule, a folder).
#pragma once

#include "image_button.h"

namespace vitreon {

class VITREON_API AquaAddButton : public ImageButton {
    Q_OBJECT
  public:
    explicit AquaAddButton(QWidget* parent = nullptr);

  protected:
    void paintImage(QPainter& p, const QRectF& cell, bool pressed) const override;
    QPainterPath outline(const QRectF& cell) const override;
};

}  // namespace vitreon
