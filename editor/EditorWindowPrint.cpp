#include "editor/EditorWindow.h"

#include "editor/EditorCanvas.h"
#include "printing/PrintServer.h"
#include "printing/StoryPage.h"
#include "windows/Dialogs.h"
#include "windows/PictureBox.h"

#include <QPrinter>

void EditorWindow::print()
{
    // A cancelled box counts as an empty answer: the page prints all the same.
    const QString author = m_dialogs.input(this, QStringLiteral("Введи фамилию и имя автора"),
                                           ApplicationTitle).value_or(QString());
    const QString title = m_dialogs.input(this, QStringLiteral("Введи название рассказа"),
                                          ApplicationTitle).value_or(QString());

    QPrinter printer(QPrinter::HighResolution);
    if (!m_dialogs.choosePrinter(this, printer))
        return;

    StoryPage page(m_surface, m_canvas->size());
    for (int k = 0; k < FrameCount; ++k)
        page.setPicture(k, m_pictureFrames[k]->picture());
    page.setFrame0Size(m_pictureFrames[0]->size());
    page.setTitle(title);
    page.setAuthor(author);
    page.setFlowchartBottom(380 + 10 * m_layout.stretch);

    const QString notPrinted = QStringLiteral("Рассказ не напечатан: ");
    // A page for a printer goes to the print server, which may refuse it
    // while Qt reports success: the server is asked before and after.
    const bool toServer = printer.outputFormat() == QPrinter::NativeFormat;
    PrintServer server(printer.printerName());
    if (const QString why = toServer ? server.refusal() : QString(); !why.isEmpty()) {
        m_dialogs.error(this, notPrinted + why);
        return;
    }
    if (!page.print(printer)) {
        m_dialogs.error(this, notPrinted
                                  + QStringLiteral("не удалось печатать на выбранный принтер "
                                                   "или в выбранный файл."));
        return;
    }
    if (const QString why = toServer ? server.lostJob() : QString(); !why.isEmpty())
        m_dialogs.error(this, notPrinted + why);
}
