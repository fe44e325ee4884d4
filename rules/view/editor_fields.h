// Small builders for the fields of the kind editors, on the standard controls: every
// field gets its object name, an accessible name and its place in twips in the editor.
#pragma once

#include <QString>
#include <QStringList>

class QLabel;
class QWidget;

namespace wexcontrols {
class WexCheck;
class WexCombo;
class WexExpandBtn;
class WexFile;
class WexFolder;
class WexInsert;
class WexNumText;
class WexRadio;
class WexText;
}  // namespace wexcontrols

namespace vandrel {

// Places w at left/top with the given width (twips) and the row's field height.
void PlaceField(QWidget* w, int left, int top, int width);
// A drop-down list showing current, which need not be one of the entries (a hand-edited
// or older rule keeps its text and saves it back unchanged).
wexcontrols::WexCombo* MakeCombo(QWidget* parent, const QString& name, const QString& accessible,
                                 const QStringList& entries, const QString& current);
// A single-line text field that drops separator tokens and line breaks as typed.
wexcontrols::WexText* MakeTextField(QWidget* parent, const QString& name, const QString& accessible,
                                    const QString& text);
wexcontrols::WexNumText* MakeNumberField(QWidget* parent, const QString& name,
                                         const QString& accessible, int min, int max,
                                         const QString& text);
wexcontrols::WexCheck* MakeCheck(QWidget* parent, const QString& name, const QString& caption,
                                 bool on);
wexcontrols::WexRadio* MakeRadio(QWidget* parent, const QString& name, const QString& caption,
                                 bool on);
QLabel* MakeCaption(QWidget* parent, const QString& text);
// The "Adv." toggle of an action row.
wexcontrols::WexExpandBtn* MakeOptionsButton(QWidget* parent);
// The "insert" list of an action's pattern: the attribute names.
wexcontrols::WexInsert* MakeInsertList(QWidget* parent, const QStringList& attributes);
wexcontrols::WexFolder* MakeFolderField(QWidget* parent, const QString& name, const QString& path);
// mode: "open" or "save".
wexcontrols::WexFile* MakeFileField(QWidget* parent, const QString& name, const QString& caption,
                                    const QString& mode, const QString& path);

}  // namespace vandrel
