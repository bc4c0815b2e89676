#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("HEX Zwirbel");
    QMainWindow window;
    window.setWindowTitle("Hex Zwirbel 2020-06-02");
    window.resize(750, 630);
    window.show();
    return QApplication::exec();
}
