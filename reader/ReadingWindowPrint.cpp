#include "reader/ReadingWindow.h"

#include "printing/PrintServer.h"
#include "windows/Dialogs.h"

#include <QPainter>
#include <QPicture>
#include <QPointer>
#include <QPrinter>

#include <algorithm>

namespace {
// The screen's pixel on paper: the window prints at the size it is shown.
constexpr double ScreenDpi = 96.0;
} // namespace

void ReadingWindow::print()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!m_dialogs.choosePrinter(this, printer))
        return;

    const QString notPrinted = QStringLiteral("Рассказ не напечатан: ");
    // A page for a printer goes to the print server, which may refuse it
    // while Qt reports success: the server is asked before and after.
    const bool toServer = printer.outputFormat() == QPrinter::NativeFormat;
    PrintServer server(printer.printerName());
    if (const QString why = toServer ? server.refusal() : QString(); !why.isEmpty()) {
        m_dialogs.error(this, notPrinted + why);
        return;
    }
    if (!printContent(&printer)) {
        // Nothing came out: say so rather than leave the reader waiting for a page.
        const QString file = printer.outputFileName();
        m_dialogs.error(this, notPrinted
                                  + (file.isEmpty()
                                         ? QStringLiteral("не удалось печатать на принтер «%1».")
                                               .arg(printer.printerName())
                                         : QStringLiteral("не удалось записать файл «%1».").arg(file)));
        return;
    }
    if (const QString why = toServer ? server.lostJob() : QString(); !why.isEmpty())
        m_dialogs.error(this, notPrinted + why);
}

bool ReadingWindow::printContent(QPagedPaintDevice *device) const
{
    QPainter painter;
    if (!device || !painter.begin(device))
        return false;

    // Qt renders a widget straight onto a printer through a bitmap; recorded
    // as drawing commands and replayed there, the text stays text and the
    // lines stay sharp at the printer's resolution.
    QPicture drawing;
    {
        // The blinking text cursor is no part of the page.
        const QPointer<QWidget> focused = m_content->focusWidget();
        if (focused)
            focused->clearFocus();
        QPainter recorder(&drawing);
        m_content->render(&recorder, QPoint(), QRegion(),
                          QWidget::DrawWindowBackground | QWidget::DrawChildren);
        recorder.end();
        if (focused)
            focused->setFocus();
    }

    // A replayed drawing keeps the inches of its own resolution; the page
    // wants the screen's pixel, a 96th of an inch.
    const double width = m_content->width() / ScreenDpi * device->logicalDpiX();
    const double height = m_content->height() / ScreenDpi * device->logicalDpiY();
    // A page too small for the window gets it whole, shrunk, rather than cut.
    const double fit = std::min({1.0, device->width() / width, device->height() / height});
    painter.scale(drawing.logicalDpiX() / ScreenDpi * fit,
                  drawing.logicalDpiY() / ScreenDpi * fit);
    // The device's origin is the top-left corner of its printable area.
    painter.drawPicture(0, 0, drawing);
    return painter.end();
}
