// A glossy strip of four tabs drawn as one segmented bar. The image strip holds the four
// states (tab 1 to 4 chosen) stacked; choosing tab n moves it up by n - 1 tab heights and
// raises TabClick(n). The host decides what each tab shows. Keyboard: Left/Right (and
// Home/End) choose a neighbouring tab; Space/Enter choose the shown tab again.
#pragma once

#include <QStringList>
#include <QWidget>

#include "image_strip.h"
#include "vitreon_api.h"

namespace vitreon {

class VITREON_API AquaTab : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kTabCount = 4;

    explicit AquaTab(QWidget* parent = nullptr);

    // Acts as if the user clicked tab `tabNum` (1 to 4), raising TabClick; other numbers are
    // ignored, as no tab answers to them.
    void SwitchTab(int tabNum);
    // The tab whose state the strip shows (1 to 4).
    int shownTab() const { return shownTab_; }
    // The four captions drawn on the tabs ("Rules", "Folders", "Log", "Information" unless
    // the host sets its own; missing ones are left blank).
    void setTabCaptions(const QStringList& captions);
    QStringList tabCaptions() const { return captions_; }
    // The height of one tab: a quarter of the image strip's height.
    int tabHeight() const;
    // The tab (1 to 4) whose click area holds `x`, in the control's coordinates.
    int tabAt(int x) const;

    QSize sizeHint() const override;

  signals:
    void TabClick(int tabNum);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    int tabWidth() const;
    QRectF tabRect(int tabNum) const;
    void paintState(QPainter& p, const QRectF& cell, int chosen) const;
    void refit();

    QStringList captions_;
    int shownTab_ = 1;
    int pressedTab_ = 0;
    ImageStrip strip_;
};

}  // namespace vitreon
