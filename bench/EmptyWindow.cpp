// The floor of start-up and idle memory: an empty Qt Widgets window, the size
// of the title window, or maximized as the editor is with "maximized".
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    if (argc > 1 && QByteArray(argv[1]) == "maximized") {
        window.showMaximized();
    } else {
        window.resize(501, 370);
        window.show();
    }
    return app.exec();
}
