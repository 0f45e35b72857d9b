#include "BenchSupport.h"
#include "flowchart/DrawBlockTexts.h"
#include "flowchart/DrawFlowchart.h"
#include "flowchart/FlowchartLayout.h"
#include "flowchart/Surface.h"

#include <QGuiApplication>

#include <array>

namespace {

void redraw(const QString &name, const QString &text)
{
    Surface surface;
    FlowchartLayout layout;
    std::array<QString, 10> texts;
    texts.fill(text);
    measure(name, [&] {
        drawFlowchart(surface, layout, 1920, 1017);
        drawBlockTexts(true, texts, layout, surface);
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    Surface surface;
    FlowchartLayout layout;
    for (const auto &[width, height] : {std::pair{663, 554}, std::pair{1920, 1017}}) {
        measure(QStringLiteral("DrawFlowchart %1x%2").arg(width).arg(height),
                [&, w = width, h = height] { drawFlowchart(surface, layout, w, h); });
    }

    redraw(QStringLiteral("redraw, ten short texts"),
           QStringLiteral("Жила-была лиса в осеннем лесу."));
    const QString sentence = QStringLiteral("Лиса бежала по тропинке\r\nи думала о зиме. ");
    for (const int size : {100'000, 1'000'000}) {
        const QString text = sentence.repeated(size / sentence.size() + 1).left(size);
        redraw(QStringLiteral("redraw, ten texts of %1 characters").arg(size), text);
    }
    const QString unbroken(1'000'000, QLatin1Char('a'));
    redraw(QStringLiteral("redraw, ten 1000000-character texts without a space"), unbroken);
    return 0;
}
