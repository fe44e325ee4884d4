// The editor of an "In Folder" row: the folder picker.
#pragma once

#include "conditions/condition_in_folder.h"
#include "rules/view/kind_editor.h"

namespace vandrel {

class ConditionInFolderEditor : public KindEditor {
    Q_OBJECT
  public:
    // model: the row's condition; it must outlive the editor.
    explicit ConditionInFolderEditor(ConditionInFolder& model, QWidget* parent = nullptr);

  private:
    ConditionInFolder& model_;
};

}  // namespace vandrel
