// A glossy search frame: a rounded field holding a text box (at left 300, top 75 twips) with a
// magnifying glass at the right edge. Setting Text sets the inner text box; the host listens
// to textBox() for what the user types.
#pragma once

#include <QWidget>

#include "vitreon_api.h"

class QLineEdit;

namespace vitreon {

class VITREON_API AquaSearchBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE setText)
  public:
    static constexpr int kTextLeftTwips = 300;
    static constexpr int kTextTopTwips = 75;

    explicit AquaSearchBox(QWidget* parent = nullptr);

    QString Text() const;
    void setText(const QString& text);
    // The inner text box (named "txtSearch"); owned by this control.
    QLineEdit* textBox() const { return text_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    int decorationWidth() const { return height(); }
    void placeTextBox();

    QLineEdit* text_;
};

}  // namespace vitreon
