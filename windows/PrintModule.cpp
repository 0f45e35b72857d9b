// The print module: Qt's print support, built apart from the program and
// loaded on the first print, so that the program starts without it.
#include "windows/QtPrinter.h"

extern "C" Q_DECL_EXPORT ChosenPrinter *tropinetsChoosePrinter(QWidget *parent)
{
    return QtPrinter::choose(parent).release();
}
