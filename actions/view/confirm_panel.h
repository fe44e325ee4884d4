// One row of the confirmation sheet: the tick, the item's kind and name, the rule that
// would act on it, and after "Go" how it went. Shows a ConfirmRow; the tick is read back
// by the sheet. No file access here.
#pragma once

#include <QString>
#include <QWidget>

#include "actions/confirm_batch.h"

class QLabel;
class QPushButton;
namespace wexcontrols {
class WexCheck;
}

namespace vandrel {

class ConfirmPanel : public QWidget {
    Q_OBJECT

  public:
    // Row size and pitch on the sheet, in twips.
    static constexpr int kWidthTwips = 7200;
    static constexpr int kHeightTwips = 380;

    explicit ConfirmPanel(QWidget* parent = nullptr);

    void Init(const ConfirmRow& row);
    QString GetPathParam() const { return path_; }
    bool GetConfirmParam() const;
    // The tick cannot be changed once the batch has started.
    void lockTick();
    void showRunning();
    // Shows the outcome: "Done", "Skipped", or the reason the rule stopped.
    void showOutcome(const ConfirmRow& row);

  signals:
    void tickChanged(bool ticked);

  private:
    QString path_;
    wexcontrols::WexCheck* chkConfirm_;
    QLabel* lblType_;
    QPushButton* btnName_;
    QPushButton* btnRule_;
    QLabel* lblResult_;
};

}  // namespace vandrel
