// One watched-folder row of the folders tab, over a WatchedFolder: "Organize", the folder
// picker, the schedule combos, "Adv." and close on one line; expanded, the run times, the
// status, "Organize Now", "Ask for confirmation" and the rule selector. Every edit goes to
// the model at once; runs and removal are asked of the host through signals.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "rules/rule_attr.h"

class QLabel;
namespace wexcontrols {
class WexButton;
class WexCheck;
class WexCombo;
class WexExpandBtn;
class WexFolder;
class WexStandardBtn;
}  // namespace wexcontrols

namespace vandrel {

class RulesSelector;
class WatchedFolder;

class FolderPanel : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidthTwips = 6800;
    static constexpr int kCollapsedTwips = 430;
    static constexpr int kExpandedTwips = 2500;
    using Chooser = std::function<QString(QWidget* owner, const QString& title)>;

    // folder must outlive the row.
    explicit FolderPanel(WatchedFolder& folder, QWidget* parent = nullptr);

    WatchedFolder& folder() { return folder_; }
    bool expanded() const;
    void CloseExpand();
    void setExpanded(bool expanded);
    QString folderNameText() const;
    void InvokeNotify(const QString& text);
    void InvodeResult(const QString& text);
    void Invoke();
    void SetCurRulesAttr(const std::vector<RuleAttr>& rules);
    // Shows the model's fields again (after the model changed underneath).
    void refresh();
    // Replaces the folder picker's dialog (a test's scripted answer).
    void setChooser(const Chooser& chooser);
    RulesSelector* selector() const { return oRulesSelector_; }

  signals:
    void FolderClose();
    void Expand(bool bExp);
    void InvokeFolderTask(vandrel::FolderPanel* folderPanelObj);

  private:
    void applyMethod();
    void showTimes();

    WatchedFolder& folder_;
    wexcontrols::WexCheck* chkEnable_;
    wexcontrols::WexFolder* cmbFolder_;
    wexcontrols::WexCombo* cmbMethod_;
    wexcontrols::WexCombo* cmbInterval_;
    wexcontrols::WexCombo* cmbHour_;
    QLabel* lblTime_;
    wexcontrols::WexCombo* cmbMinute_;
    wexcontrols::WexExpandBtn* btnExpand_;
    wexcontrols::WexButton* btnClose_;
    QWidget* expandedPart_;
    QLabel* lblLastTime_;
    QLabel* lblNextTime_;
    QLabel* lblNotify_;
    wexcontrols::WexStandardBtn* btnInvoke_;
    wexcontrols::WexCheck* chkConfirm_;
    RulesSelector* oRulesSelector_;
};

}  // namespace vandrel
