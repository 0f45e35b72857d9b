#include "BenchSupport.h"
#include "flowchart/DrawBlockTexts.h"
#include "flowchart/DrawFlowchart.h"
#include "flowchart/FlowchartLayout.h"
#include "flowchart/Surface.h"
#include "printing/StoryPage.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// A picture with some detail, so compressing it costs what a drawing would.
QImage picture(QSize size, int seed)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, QColor::fromHsv(seed * 90 % 360, 200, 230));
    gradient.setColorAt(1, QColor::fromHsv((seed * 90 + 140) % 360, 160, 90));
    painter.fillRect(image.rect(), gradient);
    for (int i = 0; i < 40; ++i) {
        painter.setBrush(QColor::fromHsv((seed * 37 + i * 53) % 360, 180, 200));
        painter.drawEllipse(QPointF((i * 97 + seed * 13) % size.width(),
                                    (i * 61 + seed * 29) % size.height()),
                            size.width() / 12.0, size.height() / 12.0);
    }
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
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

    for (const QSize size : {QSize(640, 480), QSize(3000, 2000)}) {
        StoryPage page(surface, canvas);
        page.setFrame0Size(QSizeF(FrameWidth, FrameHeight));
        page.setTitle(QStringLiteral("Курочка Ряба"));
        page.setAuthor(QStringLiteral("Иванова Маша"));
        for (int k = 0; k < 4; ++k)
            page.setPicture(k, picture(size, k));

        const QString file = dir.filePath(QStringLiteral("page.pdf"));
        bool printed = true;
        measure(QStringLiteral("story page as PDF, four %1x%2 pictures")
                    .arg(size.width())
                    .arg(size.height()),
                [&] {
                    QPdfWriter writer(file);
                    writer.setResolution(1200);
                    printed = page.print(writer) && printed;
                });
        if (!printed) {
            std::fprintf(stderr, "the page could not be written\n");
            return 1;
        }
    }
    return 0;
}
