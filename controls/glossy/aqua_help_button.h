// A round blue glossy button with a question mark, for opening the help.
#pragma once

#include "image_button.h"

namespace vitreon {

class VITREON_API AquaHelpButton : public ImageButton {
    Q_OBJECT
  public:
    explicit AquaHelpButton(QWidget* parent = nullptr);

  protected:
    void paintImage(QPainter& p, const QRectF& cell, bool pressed) const override;
    QPainterPath outline(const QRectF& cell) const override;
};

}  // namespace vitreon
