#include "support/ScriptedDialogs.h"

#include <QPrinter>
#include <QTest>

Dialogs::Answer ScriptedDialogs::ask(QWidget *, const QString &text, const QString &title,
    const QString &spokenBefore, const ReadingBox &reading)
{
    calls.append({ QStringLiteral("ask"), text, title, {}, spokenBefore, reading });
    if (whenShown)
        whenShown();
    if (answers.isEmpty()) {
        qWarning("ScriptedDialogs: unexpected question: %s", qPrintable(text));
        return Answer::No;
    }
    return answers.dequeue();
}

std::optional<QString> ScriptedDialogs::input(QWidget *, const QString &prompt,
    const QString &title, const QString &spokenBefore, const ReadingBox &reading)
{
    calls.append({ QStringLiteral("input"), prompt, title, {}, spokenBefore, reading });
    if (whenShown)
        whenShown();
    if (inputs.isEmpty()) {
        qWarning("ScriptedDialogs: unexpected input box: %s", qPrintable(prompt));
        return std::nullopt;
    }
    return inputs.dequeue();
}

std::optional<QString> ScriptedDialogs::chooseFile(QWidget *, const FileDialogSettings &settings)
{
    calls.append({ QStringLiteral("file"), {}, {}, settings, {}, {} });
    if (files.isEmpty()) {
        qWarning("ScriptedDialogs: unexpected file dialog");
        return std::nullopt;
    }
    return files.dequeue();
}

bool ScriptedDialogs::choosePrinter(QWidget *, QPrinter &chosen)
{
    calls.append({ QStringLiteral("print"), {}, {}, {}, {}, {} });
    return printer ? printer(chosen) : false;
}

void ScriptedDialogs::printToFile(const QString &pdf, bool confirmed)
{
    printer = [pdf, confirmed](QPrinter &chosen) {
        chosen.setOutputFormat(QPrinter::PdfFormat);
        chosen.setOutputFileName(pdf);
        return confirmed;
    };
}

void ScriptedDialogs::error(QWidget *, const QString &text)
{
    calls.append({ QStringLiteral("error"), text, {}, {}, {}, {} });
}

QStringList ScriptedDialogs::kinds() const
{
    QStringList result;
    for (const Call &call : calls)
        result << call.kind;
    return result;
}
