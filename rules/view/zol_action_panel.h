// The action rows of one rule in the editor, over the rule's ActionList.
#pragma once

#include "rules/action_list.h"
#include "rules/view/zol_rows_panel.h"

namespace vandrel {

class ZolActionPanel : public ZolRowsPanel {
    Q_OBJECT
  public:
    // list: the rule's action rows; it must outlive the panel.
    explicit ZolActionPanel(ActionList& list, QWidget* parent = nullptr);

    void LoadFromString(const QString& text);
    QString SaveToString() const { return list_.SaveToString(); }
    std::vector<IActionTake*> getActionCollection() const { return list_.getActionCollection(); }
    ActionList& model() { return list_; }

  protected:
    ZolKindSelector* makeSelector() override;
    int modelRowCount() const override { return list_.rowCount(); }
    QString modelSelector(int index) const override;
    void modelInsertAfter(int index) override { list_.insertEmptyRowAfter(index); }
    void modelRemove(int index) override { list_.removeRow(index); }
    void modelSetSelector(int index, const QString& text) override;
    KindEditor* makeEditor(int index) override;

  private:
    ActionList& list_;
};

}  // namespace vandrel
