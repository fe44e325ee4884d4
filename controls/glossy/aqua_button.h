// A glossy push button with a caption: a left cap, the caption centred over a stretched
// middle, and a right cap, each with a normal and a pressed cell. Its height is one cell and
// its width stays between 600 and 3000 twips whatever the host asks for.
#pragma once

#include "image_button.h"

namespace vitreon {

class VITREON_API AquaButton : public ImageButton {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
  public:
    static constexpr int kMinWidthTwips = 600;
    static constexpr int kMaxWidthTwips = 3000;
    // The caption's top edge in the normal state.
    static constexpr int kCaptionTopTwips = 60;

    explicit AquaButton(QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    // The height of one cell: half the height of a cap's strip.
    // It fits the caption in the current font, so no caption is ever cut off.
    int cellHeight() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintImage(QPainter& p, const QRectF& cell, bool pressed) const override;
    QPainterPath outline(const QRectF& cell) const override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void makeStrips(qreal dpr);
    int capWidth() const;

    QString caption_;
    ImageStrip capLeft_;
    ImageStrip middle_;
    ImageStrip capRight_;
};

}  // namespace vitreon
