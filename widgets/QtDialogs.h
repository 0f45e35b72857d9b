#pragma once

#include "widgets/Dialogs.h"

// The program's dialogs: Qt's own boxes, in Russian once the translation is
// installed by the application.
class QtDialogs : public Dialogs {
public:
    Answer ask(QWidget *parent, const QString &text, const QString &title,
        const QString &spokenBefore, const ReadingBox &reading) override;
    std::optional<QString> input(QWidget *parent, const QString &prompt, const QString &title,
        const QString &spokenBefore, const ReadingBox &reading) override;
    std::optional<QString> chooseFile(QWidget *parent, const FileDialogSettings &settings) override;
    bool choosePrinter(QWidget *parent, QPrinter &printer) override;
    void error(QWidget *parent, const QString &text) override;
};
