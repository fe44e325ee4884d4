// A round red glossy button with a cross, for closing a window.
#pragma once

#include "image_button.h"

namespace vitreon {

class VITREON_API AquaCloseBtn : public ImageButton {
    Q_OBJECT
  public:
    explicit AquaCloseBtn(QWidget* parent = nullptr);

  protected:
    void paintImage(QPainter& p, const QRectF& cell, bool pressed) const override;
    QPainterPath outline(const QRectF& cell) const override;
};

}  // namespace vitreon
