#include "rules/view/editor_fields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

#include "rules/view/typed_text_guard.h"
#include "rules/view/view_twips.h"

namespace vandrel {

void PlaceField(QWidget* w, int left, int top, int width) {
    w->setGeometry(TwipsToPx(left), TwipsToPx(top), TwipsToPx(width), TwipsToPx(300));
}

QComboBox* MakeCombo(QWidget* parent, const QString& name, const QString& accessible,
                     const QStringList& entries, const QString& current) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessible);
    box->setFocusPolicy(Qt::StrongFocus);
    box->addItems(entries);
    int i = box->findText(current, Qt::MatchExactly);
    if (i < 0) {
        box->addItem(current);
        i = box->count() - 1;
    }
    box->setCurrentIndex(i);
    return box;
}

QLineEdit* MakeTextField(QWidget* parent, const QString& name, const QString& accessible,
                         const QString& text) {
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(name);
    field->setAccessibleName(accessible);
    GuardTypedText(field);
    return field;
}

QSpinBox* MakeNumberField(QWidget* parent, const QString& name, const QString& accessible, int min,
                          int max, const QString& text) {
    auto* field = new QSpinBox(parent);
    field->setObjectName(name);
    field->setAccessibleName(accessible);
    field->setRange(min, max);
    // A stored number outside the range is shown clamped; the rule keeps its text until
    // the user changes the field.
    bool ok = false;
    const int value = text.toInt(&ok);
    field->setValue(ok ? value : min);
    return field;
}

QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& caption, bool on) {
    auto* check = new QCheckBox(caption, parent);
    check->setObjectName(name);
    check->setChecked(on);
    return check;
}

QRadioButton* MakeRadio(QWidget* parent, const QString& name, const QString& caption, bool on) {
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(name);
    radio->setChecked(on);
    return radio;
}

QLabel* MakeCaption(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QToolButton* MakeOptionsButton(QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QStringLiteral("cmdOptions"));
    b->setText(QStringLiteral("Adv."));
    b->setAccessibleName(QStringLiteral("Advanced options"));
    b->setCheckable(true);
    b->setFocusPolicy(Qt::StrongFocus);
    return b;
}

QComboBox* MakeInsertList(QWidget* parent, const QStringList& attributes) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("cmbAttr"));
    box->setAccessibleName(QStringLiteral("Insert an attribute into the pattern"));
    box->setFocusPolicy(Qt::StrongFocus);
    box->addItems(attributes);
    box->setPlaceholderText(QStringLiteral("insert"));
    box->setCurrentIndex(-1);
    return box;
}

}  // namespace vandrel
