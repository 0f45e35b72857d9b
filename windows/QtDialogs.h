#pragma once

#include "windows/Dialogs.h"

// The program's dialogs: Qt's own boxes, in Russian once the translation is
// installed by the application.
class QtDialogs : public Dialogs {
public:
    // The print dialog comes from the print module at printModule, by
    // default the one beside the program.
    explicit QtDialogs(const QString &printModule = QString());

    Answer ask(QWidget *parent, const QString &text, const QString &title) override;
    std::optional<QString> input(
        QWidget *parent, const QString &prompt, const QString &title) override;
    std::optional<QString> chooseFile(QWidget *parent, const FileDialogSettings &settings) override;
    std::unique_ptr<ChosenPrinter> choosePrinter(QWidget *parent) override;
    void error(QWidget *parent, const QString &text) override;

    // The print module beside the program.
    static QString defaultPrintModule();

private:
    QString m_printModule;
};
