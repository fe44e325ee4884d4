// The list of watched-folder rows of the folders tab, over a WatchedFolderList: one
// FolderPanel per folder, new ones on top, rows collapsed (430 twips) or expanded (2500).
// An expanded row's selector lists the rules last handed to SetCurRuleAttrs.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "rules/rule_attr.h"

namespace vandrel {

class FolderPanel;
class WatchedFolderList;

class FoldersPaper : public QWidget {
    Q_OBJECT

  public:
    // list must outlive the paper.
    explicit FoldersPaper(WatchedFolderList& list, QWidget* parent = nullptr);

    std::vector<FolderPanel*> panels() const { return panels_; }
    // Keeps the rules for rows expanded later and collapses every row.
    void SetCurRuleAttrs(const std::vector<RuleAttr>& rules);
    void LoadFromString(const QString& text);
    QString SaveToString() const;
    FolderPanel* AddNewFolder();
    // Rebuilds the rows from the list (after it was loaded or changed elsewhere).
    void refresh();
    // Replaces the folder pickers' dialog (a test's scripted answer).
    void setChooser(std::function<QString(QWidget*, const QString&)> chooser);

  signals:
    // The list's extent in twips, the 20-twip margin included.
    void Resize(int width, int height);
    void InvokeFolderTask(vandrel::FolderPanel* folderPanelObj);

  private:
    FolderPanel* makePanel(int index);
    void relayout();

    WatchedFolderList& list_;
    std::vector<FolderPanel*> panels_;
    std::function<QString(QWidget*, const QString&)> chooser_;
};

}  // namespace vandrel
