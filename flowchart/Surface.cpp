#include "flowchart/Surface.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

// A 96 dpi device: measuring on it gives widths in editor pixels.
const QPaintDevice *referenceDevice()
{
    static QImage image = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = qRound(96.0 / 0.0254);
        img.setDotsPerMeterX(dotsPerMeter);
        img.setDotsPerMeterY(dotsPerMeter);
        return img;
    }();
    return &image;
}

} // namespace

Surface::Surface() = default;
Surface::~Surface() = default;
Surface::Surface(const Surface &other)
    : m_ops(other.m_ops)
    , m_pos(other.m_pos)
    , m_fontSize(other.m_fontSize)
    , m_colour(other.m_colour)
    , m_revision(other.m_revision)
{
}

QString Surface::fontFamily()
{
    static const QString family = [] {
        const QStringList families = QFontDatabase::families(QFontDatabase::Cyrillic);
#ifdef Q_OS_WIN
        // Windows 10 and 11 may come without the old bitmap font; their own
        // sans-serif faces follow it, then those a Linux-like system has.
        const char *const wanted[] = { "MS Sans Serif", "Microsoft Sans Serif", "Segoe UI", "Arial",
            "Liberation Sans", "DejaVu Sans" };
#else
        const char *const wanted[] = { "MS Sans Serif", "Liberation Sans", "Arial", "DejaVu Sans" };
#endif
        for (const char *name : wanted) {
            if (families.contains(QLatin1String(name)))
                return QString::fromLatin1(name);
        }
        return QStringLiteral("Sans Serif");
    }();
    return family;
}

QFont Surface::fontFor(double points, double deviceDpi)
{
    QFont font(fontFamily());
    font.setPointSizeF(points * 96.0 / deviceDpi);
    // Unhinted advances are the same on screen and printer, so text measured
    // here lands where it was measured on every device.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

double Surface::ascent(double points)
{
    return QFontMetricsF(fontFor(points), referenceDevice()).ascent();
}

void Surface::add(SurfaceOp op)
{
    op.colour = m_colour;
    m_ops.append(std::move(op));
    ++m_revision;
}

void Surface::clear()
{
    m_ops.clear();
    m_pos = QPointF(0, 0);
    ++m_revision;
}

void Surface::segment(QPointF from, QPointF to)
{
    add({ .kind = SurfaceOp::Segment, .p1 = from, .p2 = to });
    m_pos = to;
}

void Surface::point(QPointF at)
{
    add({ .kind = SurfaceOp::Point, .p1 = at });
    m_pos = at;
}

void Surface::arc(QPointF centre, double radius, double a1, double a2)
{
    add({ .kind = SurfaceOp::Arc, .p1 = centre, .radius = radius, .a1 = a1, .a2 = a2 });
}

void Surface::caption(QPointF topLeft, const QString &text)
{
    m_pos = topLeft;
    write(text);
    const QFontMetricsF metrics(fontFor(m_fontSize), referenceDevice());
    m_pos = QPointF(0, topLeft.y() + metrics.height());
}

void Surface::write(const QString &text)
{
    writeMeasured(text, textWidth(text));
}

void Surface::writeMeasured(const QString &text, double width)
{
    if (!text.isEmpty())
        add({ .kind = SurfaceOp::Text,
            .p1 = m_pos,
            .text = text,
            .fontSize = m_fontSize,
            .width = width });
    m_pos.rx() += width;
}

double Surface::textWidth(const QString &text) const
{
    if (text.isEmpty())
        return 0;
    // The same font object the replay uses, so measuring and writing agree.
    // Measuring runs once per word; building the font each time would dominate.
    if (!m_metrics || m_metricsSize != m_fontSize) {
        m_metrics = std::make_unique<QFontMetricsF>(fontFor(m_fontSize), referenceDevice());
        m_metricsSize = m_fontSize;
    }
    return m_metrics->horizontalAdvance(text);
}

void Surface::setFontSize(double points)
{
    m_fontSize = points;
}

QImage Surface::render(QSize size, qreal devicePixelRatio) const
{
    QImage image(size * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    const int dotsPerMeter = qRound(96.0 / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    replay(painter);
    return image;
}

void Surface::replay(QPainter &painter) const
{
    painter.save();
    const double dpi = painter.device() ? painter.device()->logicalDpiY() : 96.0;
    // One editor pixel wide on every device, so printed lines are not
    // hairlines. Set in device pixels: the PDF engine ignores the painter's
    // scale for the width of a pen.
    const QTransform toDevice = painter.deviceTransform();
    QPen pen(Qt::black, std::max(1.0, std::hypot(toDevice.m12(), toDevice.m22())));
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // Fonts are built when the size changes, not for every word.
    double fontPoints = -1;
    double ascent = 0;
    for (const SurfaceOp &op : m_ops) {
        if (op.colour != pen.color()) {
            pen.setColor(op.colour);
            painter.setPen(pen);
        }
        switch (op.kind) {
        case SurfaceOp::Segment:
            painter.drawLine(op.p1, op.p2);
            break;
        case SurfaceOp::Point:
            painter.drawPoint(op.p1);
            break;
        case SurfaceOp::Arc: {
            double span = op.a2 - op.a1;
            if (span < 0)
                span += 2 * M_PI;
            const QRectF box(
                op.p1.x() - op.radius, op.p1.y() - op.radius, 2 * op.radius, 2 * op.radius);
            QPainterPath path;
            path.arcMoveTo(box, qRadiansToDegrees(op.a1));
            path.arcTo(box, qRadiansToDegrees(op.a1), qRadiansToDegrees(span));
            painter.drawPath(path);
            break;
        }
        case SurfaceOp::Text:
            if (op.fontSize != fontPoints) {
                fontPoints = op.fontSize;
                painter.setFont(fontFor(fontPoints, dpi));
                ascent = Surface::ascent(fontPoints);
            }
            painter.drawText(QPointF(op.p1.x(), op.p1.y() + ascent), op.text);
            break;
        }
    }
    painter.restore();
}
