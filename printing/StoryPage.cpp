#include "printing/StoryPage.h"

#include "flowchart/Surface.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

namespace {

QFont pageFont(double points)
{
    // The device's default face; only the size is the page's own.
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    return font;
}

double cmToDevice(double cm, double dpi)
{
    return cm * dpi / 2.54;
}

QRectF toDevice(const QRectF &cm, const QPaintDevice &device)
{
    const double dx = device.logicalDpiX();
    const double dy = device.logicalDpiY();
    return QRectF(cmToDevice(cm.x(), dx), cmToDevice(cm.y(), dy), cmToDevice(cm.width(), dx),
        cmToDevice(cm.height(), dy));
}

} // namespace

StoryPage::StoryPage(const Surface &drawing, QSize canvasSize)
    : m_drawing(drawing)
    , m_canvasSize(canvasSize)
{
}

QString StoryPage::authorLine(const QString &author)
{
    return QStringLiteral("Автор: ") + author;
}

StoryPageLayout StoryPage::layout(const QPaintDevice &device) const
{
    const QFontMetricsF metrics(pageFont(TitlePoints), &device);
    const double dpiX = device.logicalDpiX();
    const double titleWidth = metrics.horizontalAdvance(m_title) * 2.54 / dpiX;
    const double printableWidth = device.width() * 2.54 / dpiX;
    return StoryPageLayout::compute(
        printableWidth, titleWidth, m_frame0Size, m_canvasSize.height(), m_flowchartBottom);
}

bool StoryPage::print(QPagedPaintDevice &device) const
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    paint(painter);
    // Ending the document is what sends the page; the painter reports
    // whether the device managed it.
    return painter.end();
}

void StoryPage::paint(QPainter &painter) const
{
    QPaintDevice &device = *painter.device();
    const StoryPageLayout page = layout(device);
    const double dpiX = device.logicalDpiX();
    const double dpiY = device.logicalDpiY();

    painter.save();
    painter.setPen(Qt::black);

    const auto line = [&](const QString &text, double points, QPointF topLeftCm) {
        const QFont font = pageFont(points);
        painter.setFont(font);
        const QFontMetricsF metrics(font, &device);
        painter.drawText(QPointF(cmToDevice(topLeftCm.x(), dpiX),
                             cmToDevice(topLeftCm.y(), dpiY) + metrics.ascent()),
            text);
    };
    line(m_title, TitlePoints, QPointF(page.titleLeft, page.titleTop));
    line(authorLine(m_author), AuthorPoints, page.authorTopLeft);

    // The drawing is replayed, not copied as a bitmap, so its lines and texts
    // print at the device's resolution: one unit is one editor pixel, the
    // width stretched to the drawing's place and the height kept natural.
    if (!m_canvasSize.isEmpty()) {
        const QRectF target = toDevice(page.drawing, device);
        painter.save();
        painter.translate(target.topLeft());
        painter.scale(target.width() / m_canvasSize.width(), dpiY / 96.0);
        // What lies beyond the client area never showed on screen either.
        painter.setClipRect(QRectF(QPointF(0, 0), QSizeF(m_canvasSize)));
        m_drawing.replay(painter);
        painter.restore();
    }

    for (int k = 0; k < FrameCount; ++k) {
        const QImage &picture = m_pictures[k];
        const QRectF &place = page.pictures[k];
        if (picture.isNull() || place.isEmpty())
            continue;
        // Pictures come kept at their printed size at 300 dpi, so the
        // device takes them as they are.
        painter.drawImage(toDevice(place, device), picture);
    }
    painter.restore();
}
