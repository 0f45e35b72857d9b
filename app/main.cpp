#include "editor/Frmnov.h"
#include "story/StoryDocument.h"
#include "windows/QtDialogs.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tropinets"));
    // Every window ends the program through its own rules, not by default.
    QApplication::setQuitOnLastWindowClosed(false);

    QTranslator qtRussian;
    if (qtRussian.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtRussian);

    StoryDocument story;
    QtDialogs dialogs;
    Frmnov editor(story, dialogs);
    QObject::connect(&editor, &Frmnov::programEndRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    editor.showMaximized();
    return app.exec();
}
