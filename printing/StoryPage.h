#pragma once

#include "printing/StoryPageLayout.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <array>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
class Surface;

// The one page printed from the editor: title, author line, the editor's
// drawing and the four pictures. It paints on any paged device, so the
// printer, a PDF file and the tests all get the same page.
class StoryPage {
public:
    StoryPage(const Surface &drawing, QSize canvasSize);

    void setPicture(int frame, const QImage &picture) { m_pictures.at(frame) = picture; }
    void setFrame0Size(QSizeF size) { m_frame0Size = size; }
    void setTitle(const QString &title) { m_title = title; }
    void setAuthor(const QString &author) { m_author = author; }
    // The lowest line of the flowchart in the drawing, in editor pixels.
    void setFlowchartBottom(double pixels) { m_flowchartBottom = pixels; }

    // Starts the document, paints the page and ends the document. False when
    // the device could not be started or could not finish the document.
    bool print(QPagedPaintDevice &device) const;

    // Paints on a painter already active on a page, with its origin at the
    // top-left corner of the printable area.
    void paint(QPainter &painter) const;

    // The page as it falls on the given device, whose width is the printable width.
    StoryPageLayout layout(const QPaintDevice &device) const;

    static constexpr double TitlePoints = 14;
    static constexpr double AuthorPoints = 12;
    static QString authorLine(const QString &author);

private:
    const Surface &m_drawing;
    QSize m_canvasSize;
    std::array<QImage, FrameCount> m_pictures {};
    QSizeF m_frame0Size;
    QString m_title;
    QString m_author;
    double m_flowchartBottom = 0;
};
