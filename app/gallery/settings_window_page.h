// The gallery page of the settings window itself, over a data folder of its own: five
// rules, three watched folders (the first expanded) and a log of 40 rows in 14 takes.
#pragma once

#include <QTemporaryDir>
#include <QWidget>
#include <memory>

namespace vandrel {
class AppVarMgr;
class FormRulesSetting;
class SystemClock;
}  // namespace vandrel

class SettingsWindowPage : public QWidget {
    Q_OBJECT
  public:
    explicit SettingsWindowPage(QWidget* parent = nullptr);
    ~SettingsWindowPage() override;
    vandrel::FormRulesSetting* settings() const { return window_.get(); }
    // Chooses a tab of the window; on the folders tab the first row is expanded.
    void showTab(int tabNum);

  private:
    QTemporaryDir sandbox_;
    std::unique_ptr<vandrel::SystemClock> clock_;
    std::unique_ptr<vandrel::AppVarMgr> vars_;
    std::unique_ptr<vandrel::FormRulesSetting> window_;
};
