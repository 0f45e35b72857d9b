#include "windows/QtPrinter.h"

#include <QPrintDialog>

QtPrinter::QtPrinter()
    : m_printer(QPrinter::HighResolution)
{
}

QPagedPaintDevice &QtPrinter::device()
{
    return m_printer;
}

QString QtPrinter::printerName() const
{
    return m_printer.printerName();
}

QString QtPrinter::outputFileName() const
{
    return m_printer.outputFileName();
}

bool QtPrinter::toPrintServer() const
{
    return m_printer.outputFormat() == QPrinter::NativeFormat;
}

std::unique_ptr<QtPrinter> QtPrinter::choose(QWidget *parent)
{
    auto chosen = std::make_unique<QtPrinter>();
    QPrintDialog dialog(&chosen->m_printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return chosen;
}
