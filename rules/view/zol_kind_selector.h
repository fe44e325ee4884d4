// The kind selector at the start of a condition or action row: a drop-down list of
// the kinds, empty until the user picks one. The text shown is what the rule stores.
// ZolConSelector and ZolActSelector only fill in their entries.
#pragma once

#include <QComboBox>

namespace vandrel {

class ZolKindSelector : public QComboBox {
    Q_OBJECT
  public:
    ZolKindSelector(const QStringList& entries, const QString& accessibleName,
                    QWidget* parent = nullptr);

    QString SelectText() const { return currentIndex() < 0 ? QString() : currentText(); }
    // Shows the text; a text that is no entry (a stored kind no longer offered) is shown
    // as an extra entry of this box only, so it is saved back unchanged.
    void LoadFromString(const QString& text);
    QString SaveToString() const { return SelectText(); }

  signals:
    void SelectChange(const QString& text);

  private:
    bool loading_ = false;
};

}  // namespace vandrel
