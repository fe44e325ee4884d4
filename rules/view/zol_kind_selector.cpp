#include "rules/view/zol_kind_selector.h"

#include "rules/view/view_twips.h"

namespace vandrel {

ZolKindSelector::ZolKindSelector(const QStringList& entries, const QString& accessibleName,
                                 QWidget* parent)
    : WexCombo(parent) {
    for (const QString& e : entries) AddItem(e);
    setText(QString());
    setAccessibleDescription(accessibleName);
    // The longest kinds ("Date Last Modified") need the narrowest face to fit the column.
    QFont narrow = font();
    narrow.setStretch(QFont::Condensed);
    setFont(narrow);
    connect(this, &WexCombo::Click, this, [this] { setToolTip(Text()); });
    setFixedSize(TwipsToPx(1785), TwipsToPx(300));
    connect(this, &WexCombo::Click, this, [this] { emit SelectChange(Text()); });
}

}  // namespace vandrel
