// Program start: the application object and the main window.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kemptor/VB 3.0");
    QMainWindow window;
    window.setWindowTitle("Kemptor/VB 3.0");
    window.show();
    return app.exec();
}
