// The baseline of the desktop benchmark: an empty Qt Widgets program that shows one
// window, to compare Vandrel's start-up time and idle memory with.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Empty window"));
    window.resize(200, 100);
    window.show();
    return QApplication::exec();
}
