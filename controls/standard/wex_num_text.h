// WexNumText: a whole-number field kept between Min and Max. On every change of the text box
// a valid number is remembered as the last good value, anything else but an empty or still
// incomplete entry is replaced by it, and ValueChange is raised. Up adds 1 below Max, Down
// subtracts 1 above Min; leaving the field empty sets Min.
#pragma once

#include <QLineEdit>

#include "wex_control.h"

namespace wexcontrols {

class WexNumText : public WexControl {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE setText)
    Q_PROPERTY(qint32 Max READ Max WRITE setMax)
    Q_PROPERTY(qint32 Min READ Min WRITE setMin)
  public:
    explicit WexNumText(QWidget* parent = nullptr);

    QString Text() const { return oText_->text(); }
    // Goes through the same check as typing (and raises ValueChange).
    void setText(const QString& text);
    qint32 Max() const { return max_; }
    qint32 Min() const { return min_; }
    // A changed bound brings the value back into the range at once.
    void setMax(qint32 max);
    void setMin(qint32 min);
    // The last good value.
    qint64 value() const { return lastGood_; }
    QLineEdit* textBox() const { return oText_; }

    void ReadProperties(const QVariantMap& bag) override;
    QVariantMap WriteProperties() const override;

  signals:
    void ValueChange();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void layoutParts() override;

  private:
    enum class Entry { Empty, Valid, Incomplete, Invalid };
    Entry classify(const QString& text, qint64* value) const;
    qint64 low() const { return std::min(min_, max_); }
    qint64 high() const { return std::max(min_, max_); }
    void textChanged(const QString& text);
    void step(int delta);
    void leave();
    void keepInRange();

    QLineEdit* oText_;
    qint32 max_ = 100;
    qint32 min_ = 1;
    qint64 lastGood_ = 1;
    bool inChange_ = false;
};

}  // namespace wexcontrols
