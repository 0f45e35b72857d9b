#include "BenchSupport.h"
#include "flowchart/DrawBlockTexts.h"
#include "flowchart/DrawFlowchart.h"
#include "flowchart/FlowchartLayout.h"
#include "flowchart/Surface.h"
#include "pictures/PictureLoader.h"
#include "printing/StoryPage.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cmath>

// The editor's page as PDF with four photos, against a floor: a minimal
// QPdfWriter page drawing the same lines, texts and pictures, the pictures
// already at their printed size, with nothing else.

namespace {

constexpr int Dpi = 1200; // what QPrinter::HighResolution gives

// A photo-like picture of the size the loader keeps.
QImage picture(QSize size, int seed)
{
    QImage image(size, QImage::Format_RGB32);
    quint32 noise = 7919u * (seed + 1);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int n = int(noise >> 28);
            line[x] = qRgb((x * 255 / size.width() + n) & 0xFF,
                (y * 255 / size.height() + n) & 0xFF, (seed * 60 + n) & 0xFF);
        }
    }
    return image;
}

double cm(double value)
{
    return value * Dpi / 2.54;
}

void floorPage(const QString &file, const Surface &surface, QSize canvas,
    const std::array<QImage, 4> &pictures)
{
    QPdfWriter writer(file);
    writer.setResolution(Dpi);
    QPainter painter(&writer);
    QFont font;
    font.setPointSizeF(14);
    painter.setFont(font);
    painter.drawText(QPointF(cm(7), cm(2.5)), QStringLiteral("Курочка Ряба"));
    font.setPointSizeF(12);
    painter.setFont(font);
    painter.drawText(QPointF(cm(10), cm(3.5)), QStringLiteral("Автор: Иванова Маша"));

    painter.save();
    painter.translate(cm(1.5), cm(4));
    painter.scale(cm(17) / canvas.width(), Dpi / 96.0);
    painter.setPen(QPen(Qt::black, 0));
    double fontSize = -1;
    for (const SurfaceOp &op : surface.ops()) {
        switch (op.kind) {
        case SurfaceOp::Segment:
            painter.drawLine(op.p1, op.p2);
            break;
        case SurfaceOp::Point:
            painter.drawPoint(op.p1);
            break;
        case SurfaceOp::Arc: {
            const QRectF box(
                op.p1.x() - op.radius, op.p1.y() - op.radius, 2 * op.radius, 2 * op.radius);
            double span = op.a2 - op.a1;
            if (span < 0)
                span += 2 * M_PI;
            painter.drawArc(box, int(op.a1 * 180 / M_PI * 16), int(span * 180 / M_PI * 16));
            break;
        }
        case SurfaceOp::Text:
            if (op.fontSize != fontSize) {
                fontSize = op.fontSize;
                painter.setFont(Surface::fontFor(fontSize, Dpi));
            }
            painter.drawText(op.p1 + QPointF(0, 10), op.text);
            break;
        }
    }
    painter.restore();
    for (int k = 0; k < 4; ++k)
        painter.drawImage(
            QRectF(cm(1.5 + 4.5 * k), cm(15), cm(4), cm(4 * 130.0 / 169)), pictures[k]);
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    printRatioHeader();
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;

    const QSize canvas(663, 554);
    Surface surface;
    FlowchartLayout layout;
    drawFlowchart(surface, layout, canvas.width(), canvas.height());
    std::array<QString, 10> texts;
    for (QString &text : texts)
        text = QStringLiteral("Жили-были дед и баба, и была у них курочка Ряба.");
    drawBlockTexts(true, texts, layout, surface);

    std::array<QImage, 4> pictures;
    for (int k = 0; k < 4; ++k)
        pictures[k] = picture(PictureLoader::KeptSize, k);
    StoryPage page(surface, canvas);
    page.setFrame0Size(QSizeF(FrameWidth, FrameHeight));
    page.setTitle(QStringLiteral("Курочка Ряба"));
    page.setAuthor(QStringLiteral("Иванова Маша"));
    for (int k = 0; k < 4; ++k)
        page.setPicture(k, pictures[k]);

    const QString ours = dir.filePath(QStringLiteral("page.pdf"));
    const QString floor = dir.filePath(QStringLiteral("floor.pdf"));
    compare(QStringLiteral("Editor page as PDF, four photos / QPdfWriter page"), timed([&] {
        QPdfWriter writer(ours);
        writer.setResolution(Dpi);
        if (!page.print(writer))
            qFatal("the page could not be written");
    }),
        timed([&] { floorPage(floor, surface, canvas, pictures); }));
    return 0;
}
