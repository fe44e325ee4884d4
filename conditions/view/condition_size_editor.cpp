#include "conditions/view/condition_size_editor.h"

#include <QComboBox>
#include <QSpinBox>

#include "rules/view/editor_fields.h"

namespace vandrel {

ConditionSizeEditor::ConditionSizeEditor(ConditionSize& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* op = MakeCombo(
        this, QStringLiteral("cmbCompare"), QStringLiteral("Size comparison"),
        {QStringLiteral("is"), QStringLiteral("is greater than"), QStringLiteral("is less than")},
        model.op);
    auto* number = MakeNumberField(this, QStringLiteral("txtNumber"), QStringLiteral("Size"), 1,
                                   1024, model.number);
    auto* unit = MakeCombo(
        this, QStringLiteral("cmbUnit"), QStringLiteral("Size unit"),
        {QStringLiteral("Byte"), QStringLiteral("KB"), QStringLiteral("MB"), QStringLiteral("GB")},
        model.unit);
    PlaceField(op, 0, 0, 1750);
    PlaceField(number, 1800, 0, 1000);
    PlaceField(unit, 2850, 0, 1050);
    connect(op, &QComboBox::currentTextChanged, this, [this](const QString& t) { model_.op = t; });
    connect(number, &QSpinBox::valueChanged, this,
            [this](int v) { model_.number = QString::number(v); });
    connect(unit, &QComboBox::currentTextChanged, this,
            [this](const QString& t) { model_.unit = t; });
}

}  // namespace vandrel
