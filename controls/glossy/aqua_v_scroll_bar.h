// A glossy vertical scroll bar: a thumb (its body and a bottom cap) one third of the control's
// height, on a groove. Dragging the thumb or clicking the groove changes Value between Min and
// Max and raises Scroll(Value); a value set by the host is stored without moving the thumb.
// Positions are kept in twips, as the host's layout is. Keyboard: Up/Down, Page Up/Page Down,
// Space, Home/End; the mouse wheel steps like the arrow keys.
#pragma once

#include <QWidget>

#include "image_strip.h"
#include "vitreon_api.h"

namespace vitreon {

class VITREON_API AquaVScrollBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(qint32 Value READ Value WRITE setValue)
    Q_PROPERTY(qint32 Max READ Max WRITE setMax)
    Q_PROPERTY(qint32 Min READ Min WRITE setMin)
  public:
    explicit AquaVScrollBar(QWidget* parent = nullptr);

    qint32 Value() const { return value_; }
    qint32 Max() const { return max_; }
    qint32 Min() const { return min_; }
    // Stores the value as it is; the thumb stays where it is (the host moves its list itself).
    void setValue(qint32 value) { value_ = value; }
    void setMax(qint32 max) { max_ = max; }
    void setMin(qint32 min) { min_ = min; }

    // The thumb's top and height and the track (control height minus thumb height), in twips.
    int thumbTopTwips() const { return thumbTop_; }
    int thumbHeightTwips() const;
    int trackTwips() const;

    QSize sizeHint() const override;
    // Moves to `value` (kept within Min and Max) as the user would, thumb and Scroll included;
    // nothing happens when Max is not above Min. Used by assistive technology.
    void scrollTo(qint32 value);

  signals:
    void Scroll(qint32 value);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    bool hasRange() const { return max_ > min_; }
    // Moves Value by `delta` (kept within Min and Max, rounded), puts the thumb at the
    // matching place and raises Scroll. Nothing happens when there is nothing to scroll.
    void stepBy(double delta);
    void moveTo(qint32 value);
    void dragThumbTo(int topTwips);
    double pageStep() const;
    double lineStep() const;
    void paintThumb(QPainter& p, qreal dpr);

    qint32 value_ = 1;
    qint32 max_ = 100;
    qint32 min_ = 1;
    int thumbTop_ = 0;
    bool dragging_ = false;
    int grabOffset_ = 0;  // the pointer's distance below the thumb's top when the drag began
    ImageStrip picTop_;   // the thumb's body, normal and dragged cells
    ImageStrip picBtm_;   // its bottom cap
};

}  // namespace vitreon
