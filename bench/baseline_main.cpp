// The yardstick for tarpo's start-up: the least a Qt Widgets program does to
// show a window of the same size (456 x 362), empty.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("tarpo baseline"));
    window.setFixedSize(456, 362);
    window.show();
    return app.exec();
}
