#pragma once

#include <QString>

class QPagedPaintDevice;
class QWidget;

// A printer, or a file, as the user chose it in the print dialog: what a
// print command needs of it. Qt's print support lies behind it, so the
// program loads that only when a pupil first prints.
class ChosenPrinter {
public:
    virtual ~ChosenPrinter() = default;

    // The page is painted here.
    virtual QPagedPaintDevice &device() = 0;
    virtual QString printerName() const = 0;
    // The file printed into; empty when the page goes to a printer.
    virtual QString outputFileName() const = 0;
    // Whether the page goes to the print server, not into a file.
    virtual bool toPrintServer() const = 0;
};

// The print module's one entry, looked up by name once it is loaded: the
// print dialog, or null when the user cancels it. The caller owns the result.
using ChoosePrinterFunction = ChosenPrinter *(*)(QWidget *parent);
inline constexpr char ChoosePrinterSymbol[] = "tropinetsChoosePrinter";
