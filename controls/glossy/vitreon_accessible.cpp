#include "vitreon_accessible.h"

#include <mutex>

#include "aqua_radio.h"
#include "aqua_tab.h"
#include "aqua_v_scroll_bar.h"
#include "image_button.h"
#include "mark_box.h"

namespace vitreon {
namespace {

QAccessibleInterface* factory(const QString&, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    if (w == nullptr) return nullptr;
    if (qobject_cast<ImageButton*>(w)) return new VitreonAccessible(w, QAccessible::Button);
    if (qobject_cast<AquaRadio*>(w)) return new VitreonAccessible(w, QAccessible::RadioButton);
    if (qobject_cast<MarkBox*>(w)) return new VitreonAccessible(w, QAccessible::CheckBox);
    if (qobject_cast<AquaTab*>(w)) return new VitreonAccessible(w, QAccessible::PageTabList);
    if (qobject_cast<AquaVScrollBar*>(w)) return new VitreonAccessible(w, QAccessible::ScrollBar);
    return nullptr;
}

}  // namespace

void VitreonAccessible::install() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(factory); });
}

VitreonAccessible::VitreonAccessible(QWidget* widget, QAccessible::Role role)
    : QAccessibleWidget(widget, role) {}

QAccessible::State VitreonAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    if (auto* m = qobject_cast<MarkBox*>(widget())) {
        s.checkable = true;
        s.checked = m->Value() != 0;
    }
    if (auto* b = qobject_cast<ImageButton*>(widget())) s.pressed = b->shownCell() == 1;
    return s;
}

void* VitreonAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface && qobject_cast<AquaVScrollBar*>(widget())) {
        return static_cast<QAccessibleValueInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QStringList VitreonAccessible::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (qobject_cast<ImageButton*>(widget())) names.prepend(pressAction());
    if (qobject_cast<MarkBox*>(widget())) names.prepend(toggleAction());
    return names;
}

void VitreonAccessible::doAction(const QString& actionName) {
    if (actionName == pressAction()) {
        if (auto* b = qobject_cast<ImageButton*>(widget())) return b->click();
    }
    if (actionName == toggleAction()) {
        if (auto* m = qobject_cast<MarkBox*>(widget())) return m->click();
    }
    QAccessibleWidget::doAction(actionName);
}

QVariant VitreonAccessible::currentValue() const {
    auto* bar = qobject_cast<AquaVScrollBar*>(widget());
    return bar ? QVariant(bar->Value()) : QVariant();
}

void VitreonAccessible::setCurrentValue(const QVariant& value) {
    if (auto* bar = qobject_cast<AquaVScrollBar*>(widget())) bar->scrollTo(value.toInt());
}

QVariant VitreonAccessible::maximumValue() const {
    auto* bar = qobject_cast<AquaVScrollBar*>(widget());
    return bar ? QVariant(bar->Max()) : QVariant();
}

QVariant VitreonAccessible::minimumValue() const {
    auto* bar = qobject_cast<AquaVScrollBar*>(widget());
    return bar ? QVariant(bar->Min()) : QVariant();
}

QVariant VitreonAccessible::minimumStepSize() const { return QVariant(1); }

}  // namespace vitreon
