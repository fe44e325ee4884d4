// Small builders for the fields of the kind editors: every field gets its object name,
// an accessible name, keyboard focus and its place in twips inside the editor.
#pragma once

#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QToolButton;
class QWidget;

namespace vandrel {

// Places w at left/top with the given width (twips) and the row's field height.
void PlaceField(QWidget* w, int left, int top, int width);
// A drop-down list showing current; a current text that is no entry (a hand-edited or
// older rule) is added to this box only, so it is shown and saved back unchanged.
QComboBox* MakeCombo(QWidget* parent, const QString& name, const QString& accessible,
                     const QStringList& entries, const QString& current);
// A single-line text field that drops separator tokens and line breaks as typed.
QLineEdit* MakeTextField(QWidget* parent, const QString& name, const QString& accessible,
                         const QString& text);
QSpinBox* MakeNumberField(QWidget* parent, const QString& name, const QString& accessible, int min,
                          int max, const QString& text);
QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& caption, bool on);
QRadioButton* MakeRadio(QWidget* parent, const QString& name, const QString& caption, bool on);
QLabel* MakeCaption(QWidget* parent, const QString& text);
// The "Adv." toggle of an action row.
QToolButton* MakeOptionsButton(QWidget* parent);
// The "insert" list of an action's pattern: the attribute names, showing "insert".
QComboBox* MakeInsertList(QWidget* parent, const QStringList& attributes);

}  // namespace vandrel
