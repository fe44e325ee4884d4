// A small round grey glossy button with a cross, for closing a panel or a row.
#pragma once

#include "image_button.h"

namespace vitreon {

class VITREON_API GreyClose : public ImageButton {
    Q_OBJECT
  public:
    explicit GreyClose(QWidget* parent = nullptr);

  protected:
    void paintImage(QPainter& p, const QRectF& cell, bool pressed) const override;
    QPainterPath outline(const QRectF& cell) const override;
};

}  // namespace vitreon
