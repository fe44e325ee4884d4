// The condition rows of one rule in the editor, over the rule's ConditionList.
#pragma once

#include "rules/condition_list.h"
#include "rules/view/zol_rows_panel.h"

namespace vandrel {

class ZolConditionPanel : public ZolRowsPanel {
    Q_OBJECT
  public:
    // list: the rule's condition rows; it must outlive the panel.
    explicit ZolConditionPanel(ConditionList& list, QWidget* parent = nullptr);

    void LoadFromString(const QString& text);
    QString SaveToString() const { return list_.SaveToString(); }
    std::vector<IConditionCheck*> getConditionCollection() const {
        return list_.getConditionCollection();
    }
    ConditionList& model() { return list_; }

  protected:
    ZolKindSelector* makeSelector() override;
    int modelRowCount() const override { return list_.rowCount(); }
    QString modelSelector(int index) const override;
    void modelInsertAfter(int index) override { list_.insertEmptyRowAfter(index); }
    void modelRemove(int index) override { list_.removeRow(index); }
    void modelSetSelector(int index, const QString& text) override;
    KindEditor* makeEditor(int index) override;

  private:
    ConditionList& list_;
};

}  // namespace vandrel
