// WexButton: an image button drawn from a 5 x 3 strip picBack. The column is the style
// ("add", "del", "up", "down", "close"), the row the state: 0 enabled, 1 held down, 2
// disabled. A disabled button ignores the mouse and the keyboard.
#pragma once

#include "wex_control.h"

namespace wexcontrols {

class WexButton : public WexControl {
    Q_OBJECT
    Q_PROPERTY(QString ButtonStyle READ ButtonStyle WRITE setButtonStyle)
    Q_PROPERTY(bool Enable READ Enable WRITE setEnable)
  public:
    explicit WexButton(QWidget* parent = nullptr);

    QString ButtonStyle() const { return style_; }
    // An unknown style is stored but leaves the strip at its column.
    void setButtonStyle(const QString& style);
    bool Enable() const { return enable_; }
    void setEnable(bool enable);

    // The strip; its cell is the shown image.
    WexStrip* strip() const { return picBack_; }
    QSize sizeHint() const override;

    void ReadProperties(const QVariantMap& bag) override;
    QVariantMap WriteProperties() const override;

    // Column of a style, or -1 for an unknown one.
    static int StyleColumn(const QString& style);

  signals:
    void Click();

  protected:
    void activate() override;
    void layoutParts() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void showRow(int row);

    WexStrip* picBack_;
    QString style_;
    bool enable_ = true;
};

}  // namespace wexcontrols
