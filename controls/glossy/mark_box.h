// The base of the glossy check box, check light and radio: a mark with a caption to its right.
// The mark strip has the cleared cell on top and the set cell below; it is shifted by Value
// cells (any non-zero Value shows as set). A click on the mark or the caption, or Space/Enter
// with the focus, calls toggle() and raises Click.
#pragma once

#include <QPainterPath>
#include <QWidget>

#include "image_strip.h"
#include "vitreon_api.h"

namespace vitreon {

class VITREON_API MarkBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(qint16 Value READ Value WRITE setValue)
  public:
    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    qint16 Value() const { return value_; }
    void setValue(qint16 value);
    // The strip cell that shows: 0 cleared, 1 set.
    int shownCell() const { return value_ != 0 ? 1 : 0; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // Does what a click of the user does: changes Value as the control does and raises Click.
    void click();

  signals:
    void Click();

  protected:
    MarkBox(int markSize, const QString& caption, QWidget* parent);
    // What a click does to Value.
    virtual void toggle() = 0;
    // Paints the mark into `cell`, set or cleared.
    virtual void paintMark(QPainter& p, const QRectF& cell, bool set) const = 0;
    virtual QPainterPath markOutline(const QRectF& cell) const = 0;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QRectF markRect() const;

    int markSize_;
    QString caption_;
    qint16 value_ = 0;
    bool mouseDown_ = false;
    ImageStrip strip_;
};

}  // namespace vitreon
