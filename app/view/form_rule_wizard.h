// The rule wizard: opened by the basket for a single dropped item that no rule matched.
// It shows the item's file name and an editor of one new rule; "Apply" hands the rule's
// text and the item to the host (which adds the rule on top and runs the rules on the
// item), "Cancel" and the close button change nothing. creatingNewRule is set while the
// wizard is open, which suspends the automatic folder checks. The window grows with the
// rule. Deletes itself when closed. UI thread only.
#pragma once

#include <QWidget>
#include <memory>

#include "rules/engine_context.h"

class QLabel;
namespace vitreon {
class AquaButton;
}

namespace vandrel {

class AppVarMgr;
class Rule;
class ZolRulePanel;

class FormRuleWizard : public QWidget {
    Q_OBJECT

  public:
    // vars must outlive the wizard; ctx is what the edited rule is built with.
    FormRuleWizard(AppVarMgr& vars, const EngineContext& ctx, QWidget* parent = nullptr);
    ~FormRuleWizard() override;

    // The item the rule is made for.
    void setPath(const QString& path);
    const QString& path() const { return path_; }
    ZolRulePanel* rulePanel() const { return oRulePanel_; }

    void apply();

  signals:
    // "Apply": the new rule's text and the item to run the rules on.
    void applied(const QString& ruleText, const QString& path);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void fit();

    AppVarMgr& vars_;
    QString path_;
    std::unique_ptr<Rule> rule_;
    QWidget* picTop_;
    QLabel* lblFile_;
    ZolRulePanel* oRulePanel_;
    QWidget* picBtm_;
    vitreon::AquaButton* btnApply_;
    vitreon::AquaButton* btnCancel_;
};

}  // namespace vandrel
