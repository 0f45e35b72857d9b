#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>

class QPrinter;
class QWidget;

// A file dialog's settings, as a command sets them before showing it.
struct FileDialogSettings {
    enum Mode { Open, Save };

    struct Filter {
        QString name; // shown to the user
        QString pattern; // e.g. "*.txt"
    };

    Mode mode = Open;
    QString folder; // initial folder; may not exist
    QList<Filter> filters; // in the order shown
    bool mustExist = false; // open: refuse names of missing files
    bool confirmOverwrite = false; // save: ask before replacing a file
    QString proposedName; // save: what the name box starts with
    QString defaultSuffix; // save: added to a name typed without one
    QString spokenName; // what a screen reader says the dialog is for
};

// What a question or input box of a reading adds to the plain box; one
// made by default adds nothing.
struct ReadingBox {
    // Places on the screen, in global coordinates, in order of need: the box
    // opens beside the first it can leave uncovered, inside the screen. None,
    // or no room: the box opens where boxes usually do.
    QList<QRect> keepInView;
    // While set, the box has a third button «Повторить», which calls it and
    // leaves the box open.
    std::function<void()> repeat;
    // What the ear hears in place of the text shown, where that is a fragment.
    QString heard;
};

// Every modal box the program shows goes through here, so whole user flows
// can run in tests with scripted answers instead of a person.
class Dialogs {
public:
    enum class Answer { Yes, No };

    virtual ~Dialogs() = default;

    // A Yes/No question with the question icon; Yes is the default button.
    // An empty title means the application's title. The text is shown as
    // it stands; a screen reader hears spokenBefore first, which the box
    // does not show.
    virtual Answer ask(QWidget *parent, const QString &text, const QString &title,
        const QString &spokenBefore, const ReadingBox &reading)
        = 0;

    // An input box with an empty default answer; nullopt when cancelled.
    virtual std::optional<QString> input(QWidget *parent, const QString &prompt,
        const QString &title, const QString &spokenBefore, const ReadingBox &reading)
        = 0;

    // The chosen file's full path; nullopt when cancelled.
    virtual std::optional<QString> chooseFile(QWidget *parent, const FileDialogSettings &settings)
        = 0;

    // The system print dialog on the given printer; false when cancelled.
    virtual bool choosePrinter(QWidget *parent, QPrinter &printer) = 0;

    // A failure the user must know about, named in plain Russian.
    virtual void error(QWidget *parent, const QString &text) = 0;
};

inline const QString ApplicationTitle = QStringLiteral("Тропинец");
