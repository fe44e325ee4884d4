// Lets the user move a borderless window by pressing the left button on a handle (its
// picture or title strip) and dragging, as if its title bar were dragged: the window
// manager moves it where it can, else the window follows the pointer itself. Other
// buttons and double clicks go on to the handle. UI thread only.
#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace vandrel {

class WindowDrag : public QObject {
    Q_OBJECT

  public:
    // handle and window must outlive the helper (make it a child of the handle).
    WindowDrag(QWidget* handle, QWidget* window);

    bool eventFilter(QObject* watched, QEvent* event) override;

  signals:
    // The window was moved by the pointer (only seen when it moves itself).
    void moved();

  private:
    QWidget* window_;
    QPoint pressAt_;
    QPoint offset_;
    bool pressed_ = false;
    bool dragging_ = false;
};

}  // namespace vandrel
