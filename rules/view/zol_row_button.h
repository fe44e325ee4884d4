// The add and delete buttons at the end of a condition or action row.
#pragma once

#include <QWidget>

namespace wexcontrols {
class WexButton;
}

namespace vandrel {

class ZolRowButton : public QWidget {
    Q_OBJECT
  public:
    explicit ZolRowButton(QWidget* parent = nullptr);

    void EnableAddButton(bool on);
    void EnableDelButton(bool on);
    bool addEnabled() const;
    bool delEnabled() const;
    wexcontrols::WexButton* addButton() const { return add_; }
    wexcontrols::WexButton* delButton() const { return del_; }

  signals:
    void RowAdd();
    void RowDel();

  private:
    wexcontrols::WexButton* add_;
    wexcontrols::WexButton* del_;
};

}  // namespace vandrel
