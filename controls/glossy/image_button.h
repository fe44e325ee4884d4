// The base of the glossy picture buttons (help, close, add, function): a strip with the normal
// cell on top and the pressed cell below. Mouse down shows the pressed cell; mouse up shows
// the normal one and raises Click. Tab gives it the focus; Space (on release) and Enter click.
#pragma once

#include <QPainterPath>
#include <QWidget>

#include "image_strip.h"
#include "vitreon_api.h"

namespace vitreon {

class VITREON_API ImageButton : public QWidget {
    Q_OBJECT
  public:
    // 0 while the normal cell shows, 1 while the pressed one does.
    int shownCell() const { return pressed_ ? 1 : 0; }
    QSize sizeHint() const override;
    // Does what a click of the user does: raises Click (used by assistive technology).
    void click() { emit Click(); }

  signals:
    void Click();

  protected:
    // `cell` is the logical size of one image cell; the control is exactly that size.
    ImageButton(QSize cell, const QString& accessibleName, QWidget* parent);
    // Paints the image of one cell: the normal look, or the pressed look when `pressed`.
    virtual void paintImage(QPainter& p, const QRectF& cell, bool pressed) const = 0;
    // The outline the focus ring follows.
    virtual QPainterPath outline(const QRectF& cell) const = 0;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    void setPressed(bool pressed);
    bool isPressed() const { return pressed_; }

  private:
    QSize cell_;
    ImageStrip strip_;
    bool pressed_ = false;
    bool mouseDown_ = false;
};

}  // namespace vitreon
