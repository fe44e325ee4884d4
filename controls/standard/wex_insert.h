// WexInsert: a drop-down list that hands the chosen entry to the host (InsertText) and keeps
// its own caption.
#pragma once

#include "wex_drop_list.h"

namespace wexcontrols {

class WexInsert : public WexDropList {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE setText)
  public:
    explicit WexInsert(QWidget* parent = nullptr);

    QString Text() const { return text_; }
    void setText(const QString& text);

    void ReadProperties(const QVariantMap& bag) override;
    QVariantMap WriteProperties() const override;

  signals:
    void InsertText(const QString& insText);

  protected:
    void itemChosen(const QString& item) override;

  private:
    QString text_;
};

}  // namespace wexcontrols
