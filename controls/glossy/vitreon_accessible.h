// What assistive technology learns about a glossy control: its role (button, check box, radio
// button, tab list, scroll bar), its checked or pressed state, the scroll bar's value, and an
// action that works the control as a click or a key does.
#pragma once

#include <QAccessibleWidget>

namespace vitreon {

class VitreonAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    // Installs the factory with Qt once; every control calls it when it is made.
    static void install();

    VitreonAccessible(QWidget* widget, QAccessible::Role role);

    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    // The scroll bar's value (other controls have none).
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;
};

}  // namespace vitreon
