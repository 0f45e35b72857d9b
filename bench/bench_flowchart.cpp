#include "BenchSupport.h"
#include "flowchart/DrawFlowchart.h"
#include "flowchart/FlowchartLayout.h"
#include "flowchart/Surface.h"

#include <QGuiApplication>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    Surface surface;
    FlowchartLayout layout;
    for (const auto &[width, height] : {std::pair{663, 554}, std::pair{1920, 1017}}) {
        measure(QStringLiteral("DrawFlowchart %1x%2").arg(width).arg(height),
                [&, w = width, h = height] { DrawFlowchart(surface, layout, w, h); });
    }
    return 0;
}
