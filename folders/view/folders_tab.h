// The folders tab of the settings window: "New Folder", the watched-folder rows in a
// frame with their scroll bar, the hint shown while there is no folder, and the note
// about the timer.
#pragma once

#include <QWidget>
#include <vector>

#include "rules/rule_attr.h"

class QLabel;
namespace vitreon {
class AquaButton;
class AquaVScrollBar;
}  // namespace vitreon

namespace vandrel {

class FoldersPaper;
class WatchedFolderList;

class FoldersTab : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidthTwips = 7400;
    static constexpr int kFrameHeightTwips = 6300;

    // list must outlive the tab.
    explicit FoldersTab(WatchedFolderList& list, QWidget* parent = nullptr);

    FoldersPaper* paper() const { return oFoldersPaper_; }
    // The tab was opened: the rows get the current rules and collapse, and the hint shows
    // when there is no folder.
    void enterTab(const std::vector<RuleAttr>& rules);
    bool hintShown() const;

  private:
    void addFolder();
    void paperResized(int heightTwips);

    QWidget* picFolder_;
    FoldersPaper* oFoldersPaper_;
    vitreon::AquaVScrollBar* oVScrollFolder_;
    QWidget* picGuide_;
    vitreon::AquaButton* btnAddFolder_;
};

}  // namespace vandrel
