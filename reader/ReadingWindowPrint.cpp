#include "reader/ReadingWindow.h"

#include "printing/PrintServer.h"
#include "widgets/Dialogs.h"
#include "widgets/PictureBox.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTextEdit>

#include <algorithm>
#include <cmath>

// The page is painted here rather than by the widgets themselves: the style
// draws frames and scroll-bar arrows with partly transparent colours, and a
// page with any transparency is turned into one bitmap by the print server's
// filters. These plain, opaque strokes look the same on paper, and the text
// stays text.

namespace {

// The screen's pixel on paper: the window prints at the size it is shown.
constexpr double ScreenDpi = 96.0;

// The colours the style shows, blended onto the white window.
const QColor FrameColour(197, 197, 197);
const QColor BarColour(247, 247, 247);
const QColor BarEdgeColour(204, 204, 204);
const QColor ButtonEdgeColour(202, 202, 202);
const QColor ArrowColour(92, 92, 92);
const QColor GrooveColour(230, 230, 230);

QRect placeIn(const QWidget *widget, const QWidget *content)
{
    return QRect(widget->mapTo(content, QPoint(0, 0)), widget->size());
}

// A one-pixel line along the inside of the rectangle.
void outline(QPainter &painter, const QRectF &rect, const QColor &colour)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRect(QRectF(rect.left(), rect.top(), rect.width(), 1));
    painter.drawRect(QRectF(rect.left(), rect.top() + rect.height() - 1, rect.width(), 1));
    painter.drawRect(QRectF(rect.left(), rect.top(), 1, rect.height()));
    painter.drawRect(QRectF(rect.left() + rect.width() - 1, rect.top(), 1, rect.height()));
}

// The arrow of a scroll-bar button: a solid triangle in its middle.
void arrow(QPainter &painter, const QRectF &button, bool up)
{
    const QPointF c = button.center();
    const double half = 3.5;
    const double rise = up ? -2 : 2;
    const QPointF corners[] = { QPointF(c.x() - half, c.y() - rise),
        QPointF(c.x() + half, c.y() - rise), QPointF(c.x(), c.y() + rise) };
    painter.setPen(Qt::NoPen);
    painter.setBrush(ArrowColour);
    painter.drawPolygon(corners, 3);
}

void paintScrollBar(QPainter &painter, const QScrollBar *bar, const QWidget *content)
{
    const QRect place = placeIn(bar, content);
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    const auto part = [&](QStyle::SubControl control) {
        return QRectF(bar->style()
                          ->subControlRect(QStyle::CC_ScrollBar, &option, control, bar)
                          .translated(place.topLeft()));
    };

    painter.setPen(Qt::NoPen);
    painter.setBrush(BarColour);
    painter.drawRect(QRectF(place));
    // With something to scroll, the groove darkens around a light slider.
    if (bar->maximum() > bar->minimum()) {
        const QRectF slider = part(QStyle::SC_ScrollBarSlider);
        painter.setBrush(GrooveColour);
        painter.drawRect(part(QStyle::SC_ScrollBarGroove));
        painter.setBrush(BarColour);
        painter.drawRect(slider);
        painter.setBrush(FrameColour);
        painter.drawRect(QRectF(slider.left(), slider.top(), slider.width(), 1));
        painter.drawRect(QRectF(slider.left(), slider.bottom() - 1, slider.width(), 1));
    }
    painter.setBrush(BarEdgeColour);
    painter.drawRect(QRectF(place.left(), place.top(), 1, place.height()));

    const QRectF up = part(QStyle::SC_ScrollBarSubLine);
    const QRectF down = part(QStyle::SC_ScrollBarAddLine);
    painter.setBrush(ButtonEdgeColour);
    painter.drawRect(QRectF(up.left() + 1, up.bottom() - 1, up.width() - 1, 1));
    painter.drawRect(QRectF(down.left() + 1, down.top(), down.width() - 1, 1));
    arrow(painter, up, true);
    arrow(painter, down, false);
}

// What the box shows of its text, as text, clipped to what is in view.
void paintTextBox(QPainter &painter, const QTextEdit *box, const QWidget *content)
{
    const QRect place = placeIn(box, content);
    outline(painter, QRectF(place), FrameColour);

    const QWidget *viewport = box->viewport();
    const QRect view = placeIn(viewport, content);
    painter.setPen(Qt::NoPen);
    painter.setBrush(box->palette().color(QPalette::Base));
    painter.drawRect(QRectF(view));

    const QPoint scrolled(box->horizontalScrollBar()->value(), box->verticalScrollBar()->value());
    painter.save();
    painter.setClipRect(view, Qt::IntersectClip);
    painter.translate(view.topLeft() - scrolled);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = box->palette();
    context.clip = QRectF(scrolled, view.size());
    box->document()->documentLayout()->draw(&painter, context);
    painter.restore();

    if (box->verticalScrollBar()->isVisible())
        paintScrollBar(painter, box->verticalScrollBar(), content);
}

// The picture as one opaque image at the printer's own detail, never more
// than the picture has.
void paintPicture(QPainter &painter, const PictureBox *box, const QWidget *content)
{
    const QImage &picture = box->picture();
    const QRect place = box->contentsRect().translated(placeIn(box, content).topLeft());
    if (picture.isNull() || place.isEmpty())
        return;
    const QRectF onDevice = painter.deviceTransform().mapRect(QRectF(place));
    const QSize wanted = QSize(std::max(1, int(std::ceil(onDevice.width()))),
        std::max(1, int(std::ceil(onDevice.height()))))
                             .boundedTo(picture.size());
    QImage scaled = wanted == picture.size()
        ? picture
        : picture.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (scaled.hasAlphaChannel()) {
        QImage opaque(scaled.size(), QImage::Format_RGB32);
        opaque.fill(content->palette().color(QPalette::Window));
        QPainter(&opaque).drawImage(0, 0, scaled);
        scaled = opaque;
    }
    painter.drawImage(QRectF(place), scaled);
}

} // namespace

void ReadingWindow::print()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!m_dialogs.choosePrinter(this, printer))
        return;

    // A page for a printer goes to the print server, which may refuse it
    // while Qt reports success.
    PrintServer server(printer.printerName());
    const QString file = printer.outputFileName();
    const QString failure = server.print(printer.outputFormat() == QPrinter::NativeFormat,
        file.isEmpty()
            ? QStringLiteral("не удалось печатать на принтер «%1».").arg(printer.printerName())
            : QStringLiteral("не удалось записать файл «%1».").arg(file),
        [&] { return printContent(&printer); });
    if (!failure.isEmpty())
        m_dialogs.error(this, failure);
}

bool ReadingWindow::printContent(QPagedPaintDevice *device) const
{
    QPainter painter;
    if (!device || !painter.begin(device))
        return false;

    const double width = m_content->width() / ScreenDpi * device->logicalDpiX();
    const double height = m_content->height() / ScreenDpi * device->logicalDpiY();
    // A page too small for the window gets it whole, shrunk, rather than cut.
    const double fit = std::min({ 1.0, device->width() / width, device->height() / height });
    // One unit is one pixel of the window; the device's origin is the
    // top-left corner of its printable area.
    painter.scale(device->logicalDpiX() / ScreenDpi * fit, device->logicalDpiY() / ScreenDpi * fit);
    painter.setClipRect(m_content->rect());

    painter.setPen(Qt::NoPen);
    painter.setBrush(m_content->palette().color(QPalette::Window));
    painter.drawRect(QRectF(m_content->rect()));
    for (const QTextEdit *box : { m_titleBox, m_readerBox, m_storyBox })
        paintTextBox(painter, box, m_content);
    paintPicture(painter, m_endingPicture, m_content);
    return painter.end();
}
