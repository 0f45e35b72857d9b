#include "app/ProgramStart.h"
#include "story/StoryDocument.h"
#include "widgets/KeyboardStyle.h"
#include "widgets/MenuItemAccessible.h"
#include "widgets/QtDialogs.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tropinets"));
    // Ties the windows to the desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("tropinets"));
    // Every window ends the program through its own rules, not by default.
    QApplication::setQuitOnLastWindowClosed(false);
    KeyboardStyle::install();
    // Screen readers hear each menu item with its keys.
    MenuItemAccessible::installFactory();

    // Qt's own texts (the buttons of its boxes, its file and print dialogs)
    // in Russian.
    QTranslator qtRussian;
    if (qtRussian.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtRussian);

    StoryDocument story;
    QtDialogs dialogs;
    ProgramStart program(story, dialogs);
    QObject::connect(
        &program, &ProgramStart::programEnded, &app, &QApplication::quit, Qt::QueuedConnection);
    program.start();
    return app.exec();
}
