#include "app/ProgramStart.h"
#include "story/StoryDocument.h"
#include "windows/KeyboardStyle.h"
#include "windows/QtDialogs.h"

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

    StoryDocument story;
    QtDialogs dialogs;
    ProgramStart program(story, dialogs);
    // Qt's own texts (the buttons of its boxes, its file and print dialogs)
    // in Russian. The title window has none, and finding and reading the
    // translations is a good part of the start, so they come once it is up.
    QTranslator qtRussian;
    QObject::connect(&program, &ProgramStart::titleShown, &app, [&qtRussian] {
        if (qtRussian.isEmpty()
            && qtRussian.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"),
                QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QApplication::installTranslator(&qtRussian);
    });
    QObject::connect(
        &program, &ProgramStart::programEnded, &app, &QApplication::quit, Qt::QueuedConnection);
    program.start();
    return app.exec();
}
