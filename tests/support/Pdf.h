#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// What a printed PDF holds, as poppler's tools (poppler-utils) read it.

// Runs a tool to its end; its standard output, or a null string when it
// failed or took over a minute.
QString runTool(const QString &tool, const QStringList &arguments);
// Whether poppler's tools are there to read PDFs with.
bool popplerInstalled();
// The number of pages, -1 when pdfinfo cannot tell.
int pageCount(const QString &pdf);
QString pdfText(const QString &pdf);
// The first page at the given dots per inch; null when it cannot be drawn.
QImage pageImage(const QString &pdf, int dotsPerInch);
