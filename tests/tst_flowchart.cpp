#include "flowchart/DrawFlowchart.h"
#include "flowchart/FlowchartLayout.h"
#include "flowchart/SpokenWords.h"
#include "flowchart/Surface.h"
#include "reading/WebPage.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QTest>

Q_DECLARE_METATYPE(SurfaceOp::Kind)

namespace {

bool anyPixel(const QImage &image, QRect area, const std::function<bool(QColor)> &test)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixelColor(x, y)))
                return true;
    return false;
}

bool isRed(QColor c)
{
    return c.red() > 200 && c.green() < 90 && c.blue() < 90;
}

bool isDark(QColor c)
{
    return c.red() < 90 && c.green() < 90 && c.blue() < 90;
}

} // namespace

class tst_Flowchart : public QObject {
    Q_OBJECT

private slots:
    void segments_data();
    void segments();
    void arcs_data();
    void arcs();
    void captions_data();
    void captions();
    void stateAfterPass();
    void writingFontIsInstalled();
    void repeatedPassIsIdentical();
    void renderedPixels_data();
    void renderedPixels();
    void linesKeepOnePixelWhenScaled();
    void spokenPlaces_data();
    void spokenPlaces();
};

void tst_Flowchart::segments_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("index");
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");

    // width 800: C = 415, S = 0.  width 1000: C = 515, S = 10.
    QTest::newRow("800 start connector") << 800 << 0 << QPointF(415, 44) << QPointF(415, 54);
    QTest::newRow("1000 start connector") << 1000 << 0 << QPointF(515, 54) << QPointF(515, 64);
    QTest::newRow("800 start top") << 800 << 1 << QPointF(375, 20) << QPointF(455, 20);
    QTest::newRow("1000 start bottom") << 1000 << 2 << QPointF(475, 54) << QPointF(555, 54);
    QTest::newRow("800 block 0 top") << 800 << 6 << QPointF(325, 54) << QPointF(525, 54);
    QTest::newRow("800 block 0 closes") << 800 << 9 << QPointF(295, 104) << QPointF(325, 54);
    QTest::newRow("1000 block 0 slant") << 1000 << 7 << QPointF(625, 64) << QPointF(595, 124);
    QTest::newRow("1000 connector 0-1") << 1000 << 10 << QPointF(515, 124) << QPointF(515, 134);
    QTest::newRow("1000 question 1 right") << 1000 << 11 << QPointF(515, 134) << QPointF(595, 169);
    QTest::newRow("1000 question 1 closes") << 1000 << 14 << QPointF(435, 169) << QPointF(515, 134);
    QTest::newRow("800 false branch 1") << 800 << 15 << QPointF(335, 139) << QPointF(227.5, 139);
    QTest::newRow("800 false branch 1 drop")
        << 800 << 16 << QPointF(227.5, 139) << QPointF(227.5, 149);
    QTest::newRow("800 block 2 top") << 800 << 17 << QPointF(137.5, 149) << QPointF(337.5, 149);
    QTest::newRow("1000 connector 2-4") << 1000 << 21 << QPointF(277.5, 240) << QPointF(277.5, 250);
    QTest::newRow("1000 false branch 4")
        << 1000 << 26 << QPointF(197.5, 285) << QPointF(148.75, 285);
    QTest::newRow("1000 false branch 4 drop")
        << 1000 << 27 << QPointF(148.75, 285) << QPointF(148.75, 305);
    QTest::newRow("1000 block 6 top") << 1000 << 28 << QPointF(78.75, 305) << QPointF(218.75, 305);
    QTest::newRow("800 true branch 4") << 800 << 32 << QPointF(307.5, 235) << QPointF(331.25, 235);
    QTest::newRow("800 block 7 bottom")
        << 800 << 36 << QPointF(371.25, 325) << QPointF(231.25, 325);
    QTest::newRow("800 true branch 1") << 800 << 38 << QPointF(495, 139) << QPointF(602.5, 139);
    QTest::newRow("800 block 3 top") << 800 << 40 << QPointF(512.5, 149) << QPointF(712.5, 149);
    QTest::newRow("800 connector 3-5") << 800 << 44 << QPointF(602.5, 200) << QPointF(602.5, 210);
    QTest::newRow("800 block 5 top") << 800 << 45 << QPointF(602.5, 210) << QPointF(682.5, 235);
    QTest::newRow("800 true branch 5") << 800 << 49 << QPointF(682.5, 235) << QPointF(706.25, 235);
    QTest::newRow("800 block 9 top") << 800 << 51 << QPointF(636.25, 255) << QPointF(776.25, 255);
    QTest::newRow("800 false branch 5") << 800 << 55 << QPointF(522.5, 235) << QPointF(498.75, 235);
    QTest::newRow("800 block 8 top") << 800 << 57 << QPointF(428.75, 255) << QPointF(568.75, 255);
    QTest::newRow("1000 drop 8") << 1000 << 61 << QPointF(623.75, 385) << QPointF(623.75, 405);
    QTest::newRow("1000 drop 9") << 1000 << 62 << QPointF(881.25, 385) << QPointF(881.25, 405);
    QTest::newRow("1000 join 8-9 one past")
        << 1000 << 63 << QPointF(623.75, 405) << QPointF(882.25, 405);
    QTest::newRow("1000 drop join 8-9") << 1000 << 64 << QPointF(752.5, 405) << QPointF(752.5, 425);
    QTest::newRow("800 drop 6") << 800 << 65 << QPointF(123.75, 325) << QPointF(123.75, 335);
    QTest::newRow("800 drop 7") << 800 << 66 << QPointF(331.25, 325) << QPointF(331.25, 335);
    QTest::newRow("800 join 6-7 one past")
        << 800 << 67 << QPointF(123.75, 335) << QPointF(332.25, 335);
    QTest::newRow("800 drop join 6-7") << 800 << 68 << QPointF(227.5, 335) << QPointF(227.5, 345);
    QTest::newRow("800 join halves one past")
        << 800 << 69 << QPointF(227.5, 345) << QPointF(603.5, 345);
    QTest::newRow("1000 end connector") << 1000 << 70 << QPointF(515, 425) << QPointF(515, 445);
    QTest::newRow("800 end top") << 800 << 71 << QPointF(375, 355) << QPointF(455, 355);
    QTest::newRow("1000 end top") << 1000 << 71 << QPointF(475, 445) << QPointF(555, 445);
    QTest::newRow("1000 end bottom") << 1000 << 72 << QPointF(475, 479) << QPointF(555, 479);
}

void tst_Flowchart::segments()
{
    QFETCH(int, width);
    QFETCH(int, index);
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    Surface surface;
    FlowchartLayout layout;
    drawFlowchart(surface, layout, width, 600);
    const SurfaceOp &op = surface.ops().at(index);
    QCOMPARE(op.kind, SurfaceOp::Segment);
    QCOMPARE(op.p1, from);
    QCOMPARE(op.p2, to);
    QCOMPARE(op.colour, QColor(Qt::black));
}

void tst_Flowchart::arcs_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("index");
    QTest::addColumn<QPointF>("centre");
    QTest::addColumn<double>("radius");
    QTest::addColumn<bool>("leftEnd");
    QTest::newRow("800 start left") << 800 << 3 << QPointF(375, 32) << 12.0 << true;
    QTest::newRow("800 start right") << 800 << 4 << QPointF(455, 32) << 12.0 << false;
    QTest::newRow("1000 start left") << 1000 << 3 << QPointF(475, 37) << 17.0 << true;
    QTest::newRow("1000 end right") << 1000 << 74 << QPointF(555, 462) << 17.0 << false;
    QTest::newRow("800 end left") << 800 << 73 << QPointF(375, 367) << 12.0 << true;
}

void tst_Flowchart::arcs()
{
    QFETCH(int, width);
    QFETCH(int, index);
    QFETCH(QPointF, centre);
    QFETCH(double, radius);
    QFETCH(bool, leftEnd);
    Surface surface;
    FlowchartLayout layout;
    drawFlowchart(surface, layout, width, 600);
    const SurfaceOp &op = surface.ops().at(index);
    QCOMPARE(op.kind, SurfaceOp::Arc);
    QCOMPARE(op.p1, centre);
    QCOMPARE(op.radius, radius);
    // The stored single-precision values, not multiples of pi.
    const double quarter = double(1.57f), threeQuarters = double(4.71f);
    QCOMPARE(op.a1, leftEnd ? quarter : threeQuarters);
    QCOMPARE(op.a2, leftEnd ? threeQuarters : quarter);
    QVERIFY(op.a1 != M_PI / 2);
}

void tst_Flowchart::captions_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<double>("size");
    QTest::addColumn<QColor>("colour");
    const QColor black(0, 0, 0), red(255, 0, 0);
    QTest::newRow("800 start") << 800 << 75 << "Начало" << QPointF(387, 22) << 10.0 << black;
    QTest::newRow("800 end") << 800 << 76 << "Конец" << QPointF(393, 357) << 10.0 << black;
    QTest::newRow("1000 start") << 1000 << 75 << "Начало" << QPointF(487, 27) << 12.0 << black;
    QTest::newRow("1000 end") << 1000 << 76 << "Конец" << QPointF(493, 452) << 12.0 << black;
    QTest::newRow("800 q1 false") << 800 << 77 << "Ложь" << QPointF(295, 115) << 10.0 << red;
    QTest::newRow("800 q1 true") << 800 << 78 << "Истина" << QPointF(505, 115) << 10.0 << red;
    QTest::newRow("1000 q4 false") << 1000 << 79 << "Ложь" << QPointF(172.5, 261) << 12.0 << red;
    QTest::newRow("1000 q4 true") << 1000 << 80 << "Истина" << QPointF(347.5, 261) << 12.0 << red;
    QTest::newRow("1000 q5 false") << 1000 << 81 << "Ложь" << QPointF(623.75, 261) << 12.0 << red;
    QTest::newRow("1000 q5 true") << 1000 << 82 << "Истина" << QPointF(822.5, 261) << 12.0 << red;
}

void tst_Flowchart::captions()
{
    QFETCH(int, width);
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(QPointF, at);
    QFETCH(double, size);
    QFETCH(QColor, colour);
    Surface surface;
    FlowchartLayout layout;
    drawFlowchart(surface, layout, width, 600);
    QCOMPARE(surface.ops().size(), 83);
    const SurfaceOp &op = surface.ops().at(index);
    QCOMPARE(op.kind, SurfaceOp::Text);
    QCOMPARE(op.text, text);
    QCOMPARE(op.p1, at);
    QCOMPARE(op.fontSize, size);
    QCOMPARE(op.colour, colour);
}

void tst_Flowchart::writingFontIsInstalled()
{
    // One of the system's own faces with Cyrillic, never Qt's fallback.
    QVERIFY2(QFontDatabase::families(QFontDatabase::Cyrillic).contains(Surface::fontFamily()),
        qPrintable(Surface::fontFamily()));
}

void tst_Flowchart::stateAfterPass()
{
    Surface surface;
    surface.setFontSize(20);
    surface.setForeColor(Qt::green);
    surface.segment(QPointF(1, 1), QPointF(600, 500));
    FlowchartLayout layout;
    drawFlowchart(surface, layout, 663, 554);
    QCOMPARE(surface.fontSize(), 8.0);
    QCOMPARE(surface.foreColor(), QColor(0, 0, 0));
    // Nothing drawn before the pass survives it.
    QVERIFY(surface.ops().first().p1 == QPointF(346, 44));
    const SurfaceOp &point = surface.ops().at(5);
    QCOMPARE(point.kind, SurfaceOp::Point);
    QCOMPARE(point.p1, QPointF(256, 54));
}

void tst_Flowchart::repeatedPassIsIdentical()
{
    Surface surface;
    FlowchartLayout layout;
    drawFlowchart(surface, layout, 1003, 700);
    const QList<SurfaceOp> first = surface.ops();
    const FlowchartLayout firstLayout = layout;
    drawFlowchart(surface, layout, 1003, 700);
    QCOMPARE(surface.ops(), first);
    QCOMPARE(layout.lineStartX, firstLayout.lineStartX);
    QCOMPARE(layout.textTop, firstLayout.textTop);
    QCOMPARE(layout.frameLeft, firstLayout.frameLeft);
}

void tst_Flowchart::renderedPixels_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("apart"); // no two blocks' shapes overlap
    QTest::newRow("designed") << 663 << 554 << false;
    QTest::newRow("wide") << 1000 << 700 << true;
    QTest::newRow("web page") << WebPage::ChartWindow.width() << WebPage::ChartWindow.height()
                              << true;
}

void tst_Flowchart::renderedPixels()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, apart);
    Surface surface;
    FlowchartLayout layout;
    drawFlowchart(surface, layout, width, height);
    for (int a = 0; apart && a < BlockCount; ++a)
        for (int b = a + 1; b < BlockCount; ++b)
            QVERIFY(layout.blockOutline(a).intersected(layout.blockOutline(b)).isEmpty());
    const QImage image = surface.render(QSize(width, height));
    const int C = layout.centerX;
    const int S = layout.stretch;

    // Straight black lines lie on their pixels.
    QVERIFY(isDark(image.pixelColor(C, 20))); // start terminator top
    QVERIFY(isDark(image.pixelColor(C + 20, 44 + S))); // its bottom
    QVERIFY(isDark(image.pixelColor(C, 49 + S))); // connector to block 0
    QVERIFY(isDark(image.pixelColor(C, 54 + S))); // block 0 top edge
    QVERIFY(isDark(image.pixelColor(C, 355 + 9 * S))); // end terminator top
    QVERIFY(isDark(image.pixelColor(C - 10, 379 + 10 * S))); // its bottom
    // The round ends reach out by their radius.
    QVERIFY(anyPixel(image, QRect(C - 40 - 12 - S / 2 - 1, 30 + S / 2, 3, 4), isDark));
    QVERIFY(anyPixel(image, QRect(C + 40 + 12 + S / 2 - 1, 30 + S / 2, 3, 4), isDark));
    // Inside a block and between blocks the surface stays white.
    QCOMPARE(image.pixelColor(C, 80 + S), QColor(Qt::white));
    QCOMPARE(image.pixelColor(C, 300), QColor(Qt::white));
    // Branch captions are red, terminator captions are not.
    QVERIFY(anyPixel(image, QRect(C - 120, 115 + 3 * S, 40, 14), isRed));
    QVERIFY(anyPixel(image, QRect(C + 90, 115 + 3 * S, 50, 14), isRed));
    QVERIFY(!anyPixel(image, QRect(C - 28, 22 + S / 2, 50, 12), isRed));
    QVERIFY(anyPixel(image, QRect(C - 28, 22 + S / 2, 50, 12), isDark));
    // Every block is reached by exactly one arrow, which ends on the top of its outline.
    for (int to = 0; to < BlockCount; ++to) {
        int arrows = 0;
        for (int from = StartTerminator; from < BlockCount; ++from) {
            const QList<QLineF> arrow = layout.arrow(from, to);
            const QPolygonF top = layout.blockOutline(to).mid(0, 2);
            arrows += !arrow.isEmpty();
            QVERIFY(arrow.isEmpty()
                || (arrow.last().y2() == top[0].y() && top[0].x() <= arrow.last().x2()
                    && arrow.last().x2() <= top[1].x()));
        }
        QCOMPARE(arrows, 1);
    }
}

void tst_Flowchart::linesKeepOnePixelWhenScaled()
{
    // Printing scales the drawing up; a line must stay one editor pixel thick
    // rather than shrink to the device's hairline.
    Surface surface;
    surface.segment(QPointF(10, 10), QPointF(40, 10));
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(4, 4);
    surface.replay(painter);
    painter.end();
    int dark = 0;
    for (int y = 30; y < 50; ++y)
        dark += isDark(image.pixelColor(100, y)) ? 1 : 0;
    QCOMPARE(dark, 4);
}

void tst_Flowchart::spokenPlaces_data()
{
    // Blocks, then frames as 10 to 13: the name, then where a block sits or a frame's dialog.
    QTest::addColumn<int>("place");
    QTest::addColumn<QString>("words");
    QTest::newRow("Начало рассказа") << 0 << "Сюда ведёт: Начало. Дальше: Вопрос 1.";
    QTest::newRow("Вопрос 1")
        << 1 << "Сюда ведёт: Начало рассказа. Выход Ложь: Глава 1. Выход Истина: Глава 2.";
    QTest::newRow("Глава 1") << 2 << "Сюда ведёт: Вопрос 1, выход Ложь. Дальше: Вопрос 2.";
    QTest::newRow("Глава 2") << 3 << "Сюда ведёт: Вопрос 1, выход Истина. Дальше: Вопрос 3.";
    QTest::newRow("Вопрос 2")
        << 4 << "Сюда ведёт: Глава 1. Выход Ложь: Концовка 1. Выход Истина: Концовка 2.";
    QTest::newRow("Вопрос 3")
        << 5 << "Сюда ведёт: Глава 2. Выход Ложь: Концовка 3. Выход Истина: Концовка 4.";
    QTest::newRow("Концовка 1") << 6 << "Сюда ведёт: Вопрос 2, выход Ложь. Дальше: Конец.";
    QTest::newRow("Концовка 2") << 7 << "Сюда ведёт: Вопрос 2, выход Истина. Дальше: Конец.";
    QTest::newRow("Концовка 3") << 8 << "Сюда ведёт: Вопрос 3, выход Ложь. Дальше: Конец.";
    QTest::newRow("Концовка 4") << 9 << "Сюда ведёт: Вопрос 3, выход Истина. Дальше: Конец.";
    for (int k = 1; k <= FrameCount; ++k)
        QTest::addRow("Картинка к концовке %d", k)
            << 9 + k << QStringLiteral("Выбор картинки к концовке %1").arg(k);
}

void tst_Flowchart::spokenPlaces()
{
    QFETCH(int, place);
    QFETCH(QString, words);
    const bool block = place < BlockCount;
    QCOMPARE(block ? blockName(place) : frameName(place - BlockCount),
        QString::fromUtf8(QTest::currentDataTag()));
    QCOMPARE(block ? blockPlace(place) : pictureDialogName(place - BlockCount), words);
}

QTEST_MAIN(tst_Flowchart)
#include "tst_flowchart.moc"
