#include "rules/view/zol_row_button.h"

#include "controls/standard/wex_button.h"
#include "rules/view/view_twips.h"

namespace vandrel {

using wexcontrols::WexButton;

namespace {

WexButton* makeButton(QWidget* parent, const QString& style, const QString& name,
                      const QString& accessible) {
    auto* b = new WexButton(parent);
    b->setButtonStyle(style);
    b->setObjectName(name);
    b->setAccessibleName(accessible);
    b->setToolTip(accessible);
    return b;
}

}  // namespace

ZolRowButton::ZolRowButton(QWidget* parent) : QWidget(parent) {
    add_ = makeButton(this, QStringLiteral("add"), QStringLiteral("btnAdd"),
                      QStringLiteral("Add a row below"));
    del_ = makeButton(this, QStringLiteral("del"), QStringLiteral("btnDel"),
                      QStringLiteral("Delete this row"));
    add_->move(0, 0);
    del_->move(TwipsToPx(330), 0);
    setFixedSize(TwipsToPx(640), TwipsToPx(300));
    connect(add_, &WexButton::Click, this, &ZolRowButton::RowAdd);
    connect(del_, &WexButton::Click, this, &ZolRowButton::RowDel);
}

void ZolRowButton::EnableAddButton(bool on) { add_->setEnable(on); }
void ZolRowButton::EnableDelButton(bool on) { del_->setEnable(on); }
bool ZolRowButton::addEnabled() const { return add_->Enable(); }
bool ZolRowButton::delEnabled() const { return del_->Enable(); }

}  // namespace vandrel
