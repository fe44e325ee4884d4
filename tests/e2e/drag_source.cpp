// A tiny drag source for the desktop end-to-end test: a window at a given place that,
// when the mouse is pressed on it and moved, drags the files named on its command line as file
// URLs (as a file manager does) and ends ten seconds after the drag: status 0 when the
// drop was taken, 1 when not.
// Usage: vandrel-drag-source X Y FILE...   or   vandrel-drag-source X Y @LIST
#include <QApplication>
#include <QDrag>
#include <QFile>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

class DragSource : public QWidget {
  public:
    explicit DragSource(QList<QUrl> urls) : urls_(std::move(urls)) {
        setWindowTitle(QStringLiteral("Vandrel drag source"));
        setFixedSize(120, 80);
    }

  protected:
    // The drag starts once the pressed mouse moves, as in a file manager.
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!(event->buttons() & Qt::LeftButton) || dragging_) return;
        dragging_ = true;
        auto* mime = new QMimeData;
        mime->setUrls(urls_);
        // On the heap and kept: after the drop the target asks the drag once more for the
        // URLs, and a drag that is gone by then has none to give.
        auto* drag = new QDrag(this);
        drag->setMimeData(mime);
        const Qt::DropAction done = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
        // Stay a while to answer that.
        QTimer::singleShot(10000, [done] { QApplication::exit(done == Qt::IgnoreAction ? 1 : 0); });
    }

  private:
    QList<QUrl> urls_;
    bool dragging_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 4) return 2;
    QStringList files = args.mid(3);
    // "@LIST": the files are the lines of LIST (many thousands do not fit a command line).
    if (files.size() == 1 && files.first().startsWith(QLatin1Char('@'))) {
        QFile list(files.first().mid(1));
        if (!list.open(QIODevice::ReadOnly)) return 2;
        files = QString::fromUtf8(list.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QList<QUrl> urls;
    for (const QString& file : files) urls << QUrl::fromLocalFile(file);
    DragSource source(urls);
    source.move(args.at(1).toInt(), args.at(2).toInt());
    source.show();
    return QApplication::exec();
}
