// WexStandardBtn: a plain flat button with its Text centred.
#pragma once

#include "wex_control.h"

namespace wexcontrols {

class WexStandardBtn : public WexControl {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE setText)
  public:
    explicit WexStandardBtn(QWidget* parent = nullptr);

    // Until set, the Text is the control's own name.
    QString Text() const { return textSet_ ? text_ : objectName(); }
    void setText(const QString& text);
    QSize sizeHint() const override;

    void ReadProperties(const QVariantMap& bag) override;
    QVariantMap WriteProperties() const override;

  signals:
    void Click();

  protected:
    void activate() override;
    void layoutParts() override;

  private:
    QString text_;
    bool textSet_ = false;
};

}  // namespace wexcontrols
