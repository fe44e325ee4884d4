// The drop-down part shared by WexCombo and WexInsert: the items are the entries of a pop-up
// menu shown at the pointer on a mouse press, or below the control from the keyboard.
#pragma once

#include <QMenu>
#include <QStringList>

#include "wex_control.h"

namespace wexcontrols {

class WexDropList : public WexControl {
    Q_OBJECT
  public:
    // Appends the item at the end of the list; `index` is accepted for callers that pass one
    // and is not used.
    void AddItem(const QString& item, int index = -1);
    QStringList items() const;
    QMenu* menu() const { return menu_; }

  protected:
    WexDropList(images::Decoration decoration, QWidget* parent);

    // The user chose an entry; `item` is the item exactly as added.
    virtual void itemChosen(const QString& item) = 0;

    void activate() override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QMenu* menu_;
};

}  // namespace wexcontrols
