#include "editor/EditorWindow.h"

#include "editor/EditorCanvas.h"
#include "printing/PrintServer.h"
#include "printing/StoryPage.h"
#include "widgets/Dialogs.h"
#include "widgets/PictureBox.h"

#include <QPrinter>

void EditorWindow::print()
{
    // A cancelled box counts as an empty answer: the page prints all the same.
    const QString author
        = m_dialogs
              .input(this, QStringLiteral("Введи фамилию и имя автора"), ApplicationTitle, {}, {})
              .value_or(QString());
    const QString title
        = m_dialogs.input(this, QStringLiteral("Введи название рассказа"), ApplicationTitle, {}, {})
              .value_or(QString());

    QPrinter printer(QPrinter::HighResolution);
    if (!m_dialogs.choosePrinter(this, printer))
        return;

    StoryPage page(m_surface, m_canvas->size());
    for (int k = 0; k < FrameCount; ++k)
        page.setPicture(k, m_pictureFrames[k]->picture());
    page.setFrame0Size(m_pictureFrames[0]->size());
    page.setTitle(title);
    page.setAuthor(author);
    // Below the row the bottom line is drawn in.
    page.setFlowchartBottom(m_layout.chartBottom() + 1);

    // A page for a printer goes to the print server, which may refuse it
    // while Qt reports success.
    PrintServer server(printer.printerName());
    const QString failure = server.print(printer.outputFormat() == QPrinter::NativeFormat,
        QStringLiteral("не удалось печатать на выбранный принтер или в выбранный файл."),
        [&] { return page.print(printer); });
    if (!failure.isEmpty())
        m_dialogs.error(this, failure);
}
