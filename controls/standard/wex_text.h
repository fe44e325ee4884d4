// WexText: a plain text box oText (left 45, top 30 twips) in a flat field.
#pragma once

#include <QLineEdit>

#include "wex_control.h"

namespace wexcontrols {

class WexText : public WexControl {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE setText)
  public:
    explicit WexText(QWidget* parent = nullptr);

    // Until set or typed, the Text is the control's own name.
    QString Text() const { return oText_->text(); }
    void setText(const QString& text);
    QLineEdit* textBox() const { return oText_; }

    void ReadProperties(const QVariantMap& bag) override;
    QVariantMap WriteProperties() const override;

  signals:
    // The user typed (not part of the persisted control; lets a host keep its model current).
    void textEdited(const QString& text);

  protected:
    void layoutParts() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* oText_;
    bool textSet_ = false;
};

}  // namespace wexcontrols
