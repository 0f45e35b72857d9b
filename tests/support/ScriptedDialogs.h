#pragma once

#include "widgets/Dialogs.h"

#include <QQueue>
#include <QStringList>

#include <functional>

class QPrinter;

// Dialogs that answer from a script and record what was asked, so tests can
// run whole user flows without a person.
class ScriptedDialogs : public Dialogs {
public:
    struct Call {
        QString kind; // "ask", "input", "file", "print", "error"
        QString text; // question, prompt, or error text
        QString title;
        FileDialogSettings file;
        QString spokenBefore; // what a screen reader hears before the text
        ReadingBox reading;
    };

    QQueue<Answer> answers;
    QQueue<std::optional<QString>> inputs;
    QQueue<std::optional<QString>> files;
    // Called with the printer when the print dialog is shown; returns whether
    // the user confirmed. Without one, the dialog is cancelled.
    std::function<bool(QPrinter &)> printer;
    // Sets a print dialog that picks the PDF file to print into, and is
    // confirmed or cancelled.
    void printToFile(const QString &pdf, bool confirmed = true);
    // Called as each question or input box is shown, before it is answered.
    std::function<void()> whenShown;
    QList<Call> calls;

    Answer ask(QWidget *parent, const QString &text, const QString &title,
        const QString &spokenBefore, const ReadingBox &reading) override;
    std::optional<QString> input(QWidget *parent, const QString &prompt, const QString &title,
        const QString &spokenBefore, const ReadingBox &reading) override;
    std::optional<QString> chooseFile(QWidget *parent, const FileDialogSettings &settings) override;
    bool choosePrinter(QWidget *parent, QPrinter &printer) override;
    void error(QWidget *parent, const QString &text) override;

    QStringList kinds() const;
};
