// The floor of start-up and idle memory: an empty Qt Widgets window, the size
// of the title window, or maximized as the editor is with "maximized". With
// "text" it is maximized too and shows what every window with words shows: a
// menu bar with one menu and one line of Russian text.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "text") {
        QMainWindow window;
        window.menuBar()->addMenu(QStringLiteral("&Файл"))->addAction(QStringLiteral("&Сохранить"));
        window.setCentralWidget(new QLabel(QStringLiteral("Жили-были дед и баба.")));
        window.showMaximized();
        return app.exec();
    }
    QWidget window;
    if (mode == "maximized") {
        window.showMaximized();
    } else {
        window.resize(501, 370);
        window.show();
    }
    return app.exec();
}
