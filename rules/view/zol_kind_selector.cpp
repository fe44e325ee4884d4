#include "rules/view/zol_kind_selector.h"

#include "rules/view/view_twips.h"

namespace vandrel {

ZolKindSelector::ZolKindSelector(const QStringList& entries, const QString& accessibleName,
                                 QWidget* parent)
    : QComboBox(parent) {
    addItems(entries);
    setCurrentIndex(-1);
    setPlaceholderText(QStringLiteral("choose..."));
    setAccessibleName(accessibleName);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(TwipsToPx(1785), TwipsToPx(300));
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (!loading_) emit SelectChange(itemText(index));
    });
}

void ZolKindSelector::LoadFromString(const QString& text) {
    loading_ = true;
    if (text.isEmpty()) {
        setCurrentIndex(-1);
    } else {
        int i = findText(text, Qt::MatchExactly);
        if (i < 0) {
            addItem(text);
            i = count() - 1;
        }
        setCurrentIndex(i);
    }
    loading_ = false;
}

}  // namespace vandrel
