// WexCombo: a drop-down list whose chosen entry becomes its Text (shown as its caption) and
// raises Click. Up and Down step through the items from the keyboard.
#pragma once

#include "wex_drop_list.h"

namespace wexcontrols {

class WexCombo : public WexDropList {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE setText)
  public:
    explicit WexCombo(QWidget* parent = nullptr);

    // Until set, the Text is the control's own name.
    QString Text() const;
    void setText(const QString& text);

    void ReadProperties(const QVariantMap& bag) override;
    QVariantMap WriteProperties() const override;

  signals:
    void Click();

  protected:
    void itemChosen(const QString& item) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QString text_;
    bool textSet_ = false;
};

}  // namespace wexcontrols
