// A silver glossy button with a menu sign, for dropping down a menu of functions.
#pragma once

#include "image_button.h"

namespace vitreon {

class VITREON_API AquaFunctionButton : public ImageButton {
    Q_OBJECT
  public:
    explicit AquaFunctionButton(QWidget* parent = nullptr);

  protected:
    void paintImage(QPainter& p, const QRectF& cell, bool pressed) const override;
    QPainterPath outline(const QRectF& cell) const override;
};

}  // namespace vitreon
