// The add and delete buttons at the end of a condition or action row.
#pragma once

#include <QWidget>

class QToolButton;

namespace vandrel {

class ZolRowButton : public QWidget {
    Q_OBJECT
  public:
    explicit ZolRowButton(QWidget* parent = nullptr);

    void EnableAddButton(bool on);
    void EnableDelButton(bool on);
    bool addEnabled() const;
    bool delEnabled() const;
    QToolButton* addButton() const { return add_; }
    QToolButton* delButton() const { return del_; }

  signals:
    void RowAdd();
    void RowDel();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QToolButton* add_;
    QToolButton* del_;
};

}  // namespace vandrel
