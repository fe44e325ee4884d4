#include "app/view/window_drag.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace vandrel {

WindowDrag::WindowDrag(QWidget* handle, QWidget* window) : QObject(handle), window_(window) {
    handle->installEventFilter(this);
}

bool WindowDrag::eventFilter(QObject* watched, QEvent* event) {
    (void)watched;
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() == Qt::LeftButton) {
                pressed_ = true;
                dragging_ = false;
                pressAt_ = e->globalPosition().toPoint();
                offset_ = pressAt_ - window_->frameGeometry().topLeft();
            }
            return false;
        }
        case QEvent::MouseMove: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (!pressed_ || !(e->buttons() & Qt::LeftButton)) {
                pressed_ = dragging_ = false;
                return false;
            }
            const QPoint at = e->globalPosition().toPoint();
            // Only a real drag moves the window, so clicks and double clicks stay clicks.
            if (!dragging_) {
                if ((at - pressAt_).manhattanLength() < QApplication::startDragDistance())
                    return false;
                dragging_ = true;
                // The window manager's own move keeps snapping and screen edges working.
                if (window_->windowHandle() && window_->windowHandle()->startSystemMove()) {
                    pressed_ = dragging_ = false;
                    return true;
                }
            }
            window_->move(at - offset_);
            emit moved();
            return true;
        }
        case QEvent::MouseButtonRelease:
            pressed_ = dragging_ = false;
            return false;
        default:
            return false;
    }
}

}  // namespace vandrel
