// The common part of WexRadio and WexCheck: a mark image at the left, shifted by Value
// cells, and the caption beside it. A click, Space or Enter changes Value (each control
// says how) and raises Click.
#pragma once

#include "wex_control.h"

namespace wexcontrols {

class WexMark : public WexControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(qint16 Value READ Value WRITE setValue)
  public:
    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    qint16 Value() const { return value_; }
    // Redraws without raising Click.
    void setValue(qint16 value);
    WexStrip* strip() const { return picMark_; }

    void ReadProperties(const QVariantMap& bag) override;
    QVariantMap WriteProperties() const override;

  signals:
    void Click();

  protected:
    WexMark(const QString& defaultCaption, int cells, WexStrip::CellPainter painter,
            QWidget* parent);
    // The Value after the user's click.
    virtual qint16 clickedValue() const = 0;

    void activate() override;
    void layoutParts() override;

  private:
    const QString defaultCaption_;
    WexStrip* picMark_;
    QString caption_;
    qint16 value_ = 0;
};

}  // namespace wexcontrols
