#include "rules/view/editor_fields.h"

#include <QLabel>

#include "controls/standard/wex_check.h"
#include "controls/standard/wex_combo.h"
#include "controls/standard/wex_expand_btn.h"
#include "controls/standard/wex_file.h"
#include "controls/standard/wex_folder.h"
#include "controls/standard/wex_insert.h"
#include "controls/standard/wex_num_text.h"
#include "controls/standard/wex_radio.h"
#include "controls/standard/wex_text.h"
#include "rules/view/typed_text_guard.h"
#include "rules/view/view_twips.h"

namespace vandrel {

using namespace wexcontrols;

void PlaceField(QWidget* w, int left, int top, int width) {
    w->setGeometry(TwipsToPx(left), TwipsToPx(top), TwipsToPx(width), TwipsToPx(300));
}

WexCombo* MakeCombo(QWidget* parent, const QString& name, const QString& accessible,
                    const QStringList& entries, const QString& current) {
    auto* box = new WexCombo(parent);
    box->setObjectName(name);
    for (const QString& e : entries) box->AddItem(e);
    box->setText(current);
    box->setAccessibleDescription(accessible);
    return box;
}

WexText* MakeTextField(QWidget* parent, const QString& name, const QString& accessible,
                       const QString& text) {
    auto* field = new WexText(parent);
    field->setObjectName(name);
    field->setText(text);
    field->textBox()->setAccessibleName(accessible);
    GuardTypedText(field->textBox());
    return field;
}

WexNumText* MakeNumberField(QWidget* parent, const QString& name, const QString& accessible,
                            int min, int max, const QString& text) {
    auto* field = new WexNumText(parent);
    field->setObjectName(name);
    field->setMin(min);
    field->setMax(max);
    // A stored number outside the range shows the last good value; the rule keeps its
    // own text until the user changes the field.
    field->setText(text);
    field->textBox()->setAccessibleName(accessible);
    return field;
}

WexCheck* MakeCheck(QWidget* parent, const QString& name, const QString& caption, bool on) {
    auto* check = new WexCheck(parent);
    check->setObjectName(name);
    check->setCaption(caption);
    check->setValue(on ? 1 : 0);
    return check;
}

WexRadio* MakeRadio(QWidget* parent, const QString& name, const QString& caption, bool on) {
    auto* radio = new WexRadio(parent);
    radio->setObjectName(name);
    radio->setCaption(caption);
    radio->setValue(on ? 1 : 0);
    return radio;
}

QLabel* MakeCaption(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

WexExpandBtn* MakeOptionsButton(QWidget* parent) {
    auto* b = new WexExpandBtn(parent);
    b->setObjectName(QStringLiteral("cmdOptions"));
    b->setText(QStringLiteral("Adv."));
    b->setAccessibleDescription(QStringLiteral("Advanced options"));
    return b;
}

WexInsert* MakeInsertList(QWidget* parent, const QStringList& attributes) {
    auto* box = new WexInsert(parent);
    box->setObjectName(QStringLiteral("cmbAttr"));
    box->setText(QStringLiteral("insert"));
    box->setAccessibleDescription(QStringLiteral("Insert an attribute into the pattern"));
    for (const QString& a : attributes) box->AddItem(a);
    return box;
}

WexFolder* MakeFolderField(QWidget* parent, const QString& name, const QString& path) {
    auto* field = new WexFolder(parent);
    field->setObjectName(name);
    field->setText(path);
    return field;
}

WexFile* MakeFileField(QWidget* parent, const QString& name, const QString& caption,
                       const QString& mode, const QString& path) {
    auto* field = new WexFile(parent);
    field->setObjectName(name);
    field->setCaption(caption);
    field->setDialogMode(mode);
    field->setText(path);
    return field;
}

}  // namespace vandrel
