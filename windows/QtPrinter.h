#pragma once

#include "windows/ChosenPrinter.h"

#include <QPrinter>

#include <memory>

class QWidget;

// A chosen printer that is Qt's own, at the printer's full resolution.
class QtPrinter : public ChosenPrinter {
public:
    QtPrinter();

    QPrinter &printer() { return m_printer; }

    QPagedPaintDevice &device() override;
    QString printerName() const override;
    QString outputFileName() const override;
    bool toPrintServer() const override;

    // Qt's print dialog on a new printer; null when the user cancels it.
    static std::unique_ptr<QtPrinter> choose(QWidget *parent);

private:
    QPrinter m_printer;
};
