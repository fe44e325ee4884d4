// The kind selector at the start of a condition or action row: a drop-down list of
// the kinds, empty until the user picks one. The text shown is what the rule stores.
// ZolConSelector and ZolActSelector only fill in their entries.
#pragma once

#include "controls/standard/wex_combo.h"

namespace vandrel {

class ZolKindSelector : public wexcontrols::WexCombo {
    Q_OBJECT
  public:
    ZolKindSelector(const QStringList& entries, const QString& accessibleName,
                    QWidget* parent = nullptr);

    QString SelectText() const { return Text(); }
    // Shows the text, also one that is no entry (a stored kind no longer offered), which
    // is then saved back unchanged.
    void LoadFromString(const QString& text) {
        setText(text);
        setToolTip(text);
    }
    QString SaveToString() const { return Text(); }

  signals:
    // The user picked an entry.
    void SelectChange(const QString& text);
};

}  // namespace vandrel
