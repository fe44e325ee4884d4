// The countdown window of the watched folders: at the lower right of the screen it
// announces each due folder ("Will organize folder: " "[caption]" "In" N "seconds later.")
// for ten ticks, then the folder's items are run (on a worker) or go to the confirmation
// sheet; "Confirmation Sheet" and "Cancel" act at once. It is a view of the runner's
// sequence: the runner's countdown timer drives the ticks (tests tick the runner
// themselves). UI thread only.
#pragma once

#include <QWidget>

class QLabel;
namespace vitreon {
class AquaButton;
}

namespace vandrel {

class AutoTaskRunner;

class FormMsg : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidthTwips = 4200;
    static constexpr int kHeightTwips = 1950;

    // runner must outlive the window.
    explicit FormMsg(AutoTaskRunner& runner, QWidget* parent = nullptr);

    QString folderText() const;
    QString timeText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void announce(const QString& caption, int countdown);
    void placeLowerRight();

    AutoTaskRunner& runner_;
    QLabel* lblFolder_;
    QLabel* lblIn_;
    QLabel* lblTime_;
    QLabel* lblLater_;
    vitreon::AquaButton* btnConfirmSheet_;
    vitreon::AquaButton* btnCancel_;
};

}  // namespace vandrel
