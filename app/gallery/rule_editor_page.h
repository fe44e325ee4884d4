// The gallery's rule editor page: a rule list with three realistic rules in a scrolling
// paper, as the settings window will show it. The rules live only in this page.
#pragma once

#include <QWidget>
#include <memory>

namespace vandrel {
class RuleList;
class RulesPaper;
}  // namespace vandrel

class RuleEditorPage : public QWidget {
    Q_OBJECT
  public:
    explicit RuleEditorPage(QWidget* parent = nullptr);
    ~RuleEditorPage() override;
    QSize sizeHint() const override;

  private:
    std::unique_ptr<vandrel::RuleList> rules_;
    vandrel::RulesPaper* paper_;
};
