#include "flowchart/DrawFlowchart.h"
#include "flowchart/FlowchartLayout.h"
#include "flowchart/SpokenWords.h"
#include "flowchart/Surface.h"
#include "reading/WebPage.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

bool anyPixel(const QImage &image, QRect area, const std::function<bool(QColor)> &test)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixelColor(x, y)))
                return true;
    return false;
}

const auto isRed = [](QColor c) { return c.red() > 200 && c.green() < 90 && c.blue() < 90; };
const auto isDark = [](QColor c) { return c.red() < 90 && c.green() < 90 && c.blue() < 90; };

// On the line, ends included. The coordinates are quarters, so the products
// are exact.
bool onLine(QPointF p, const QLineF &l)
{
    const QPointF d = l.p2() - l.p1(), e = p - l.p1();
    return d.x() * e.y() == d.y() * e.x() && e.x() * (p.x() - l.x2()) <= 0
        && e.y() * (p.y() - l.y2()) <= 0;
}

// The pass drawn at a client size, taken apart: its lines, those of the
// terminators (from the top) and the arrows (of no shape), its arcs and
// captions.
struct Drawing {
    Surface surface;
    FlowchartLayout layout;
    QList<QLineF> lines, terminators, arrows;
    QList<SurfaceOp> arcs, captions;
    Drawing(int width, int height)
    {
        drawFlowchart(surface, layout, width, height);
        for (const SurfaceOp &op : surface.ops()) {
            if (op.kind == SurfaceOp::Segment)
                lines << QLineF(op.p1, op.p2);
            if (op.kind == SurfaceOp::Arc || op.kind == SurfaceOp::Text)
                (op.kind == SurfaceOp::Arc ? arcs : captions) << op;
        }
        for (const QLineF &l : std::as_const(lines)) {
            bool edge = onArc(l.p1()) && onArc(l.p2());
            if (edge)
                terminators << l;
            for (int b = 0; b < BlockCount; ++b)
                edge = edge || outline(b).contains(l);
            if (!edge)
                arrows << l;
        }
        std::sort(terminators.begin(), terminators.end(),
            [](const QLineF &a, const QLineF &b) { return a.y1() < b.y1(); });
    }
    bool onArc(QPointF p) const
    {
        return std::any_of(arcs.begin(), arcs.end(),
            [&](const SurfaceOp &arc) { return QLineF(p, arc.p1).length() == arc.radius; });
    }
    QList<QLineF> outline(int block) const
    {
        const QPolygonF c = layout.blockOutline(block);
        QList<QLineF> edges;
        for (qsizetype i = 0; i < c.size(); ++i)
            edges << QLineF(c[i], c[(i + 1) % c.size()]);
        return edges;
    }
    QList<QLineF> arrowsFrom(const QLineF &where) const
    {
        QList<QLineF> found;
        std::copy_if(arrows.begin(), arrows.end(), std::back_inserter(found),
            [&](const QLineF &l) { return onLine(l.p1(), where); });
        return found;
    }
    // Where an arrow leads, along the arrows it goes on to: the blocks whose
    // top edge it ends on, and «Конец».
    QList<int> reached(const QLineF &from) const
    {
        QList<QLineF> seen { from };
        QList<int> places;
        for (qsizetype i = 0; i < seen.size(); ++i) {
            for (int b = 0; b < BlockCount; ++b)
                if (onLine(seen[i].p2(), outline(b).first()))
                    places << b;
            if (onLine(seen[i].p2(), terminators[2]))
                places << EndTerminator;
            for (const QLineF &l : arrows)
                if (!seen.contains(l) && (onLine(seen[i].p2(), l) || onLine(l.p1(), seen[i])))
                    seen << l;
        }
        return places;
    }
};

} // namespace

class tst_Flowchart : public QObject {
    Q_OBJECT

private slots:
    void drawing_data();
    void drawing();
    void stateAfterPass();
    void writingFontIsInstalled();
    void repeatedPassIsIdentical();
    void linesKeepOnePixelWhenScaled();
    void spokenPlaces_data();
    void spokenPlaces();
};

void tst_Flowchart::drawing_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("apart"); // no two blocks' shapes overlap
    QTest::newRow("designed") << 663 << 554 << false;
    QTest::newRow("800") << 800 << 600 << false;
    QTest::newRow("801") << 801 << 600 << false;
    QTest::newRow("1000") << 1000 << 700 << true;
    QTest::newRow("1003") << 1003 << 700 << true;
    QTest::newRow("web page") << WebPage::ChartWindow.width() << WebPage::ChartWindow.height()
                              << true;
}

void tst_Flowchart::drawing()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, apart);
    const Drawing d(width, height);
    const double C = d.layout.centerX, S = d.layout.stretch;

    // The terminators: two lines 80 long on the axis, 24 + S apart, closed
    // by half circles, the left one from 1.57 to 4.71 radians (the stored
    // single-precision values, not multiples of pi), the right one back;
    // the lower one ends the chart.
    QCOMPARE(d.arcs.size(), 4);
    QCOMPARE(d.terminators.size(), 4);
    for (const SurfaceOp &arc : d.arcs) {
        QCOMPARE(arc.radius, 12 + S / 2);
        QCOMPARE(qAbs(arc.p1.x() - C), 40.0);
        QCOMPARE(arc.a1, double(arc.p1.x() < C ? 1.57f : 4.71f));
        QCOMPARE(arc.a2, double(arc.p1.x() < C ? 4.71f : 1.57f));
        for (const double y : { arc.p1.y() - arc.radius, arc.p1.y() + arc.radius })
            QVERIFY(d.terminators.contains(QLineF(C - 40, y, C + 40, y)));
    }
    QCOMPARE(d.terminators.last().y1(), d.layout.chartBottom());

    // No loose ends: each end of a line lies on another line or on an arc's
    // circle, or one pixel off a line: the three joins end one past their
    // right drop, the arrows under chapters 1 and 2 start one below them.
    // The arrows run straight across and down.
    int off = 0;
    for (const QLineF &line : d.lines) {
        QVERIFY(!d.arrows.contains(line) || line.dx() == 0 || line.dy() == 0);
        const auto joins = [&](QPointF at) {
            return d.onArc(at) || std::any_of(d.lines.begin(), d.lines.end(), [&](const QLineF &l) {
                return l != line && onLine(at, l);
            });
        };
        for (const QPointF p : { line.p1(), line.p2() }) {
            const bool oneOff = joins(p - QPointF(1, 0)) || joins(p - QPointF(0, 1));
            off += !joins(p) && oneOff;
            QVERIFY2(
                joins(p) || oneOff, qPrintable(QStringLiteral("%1, %2").arg(p.x()).arg(p.y())));
        }
    }
    QCOMPARE(off, 5);

    // Each block's shape: parallelograms slanting 30 to the left as they go
    // down, diamonds. The first line of text starts and ends inside a
    // chapter and is centred in a question; the click area is centred on the
    // block. The arrows lead where the flowchart's table says: «Ложь» from a
    // question's left corner to the left, «Истина» from its right corner to
    // the right; a chapter's arrows come in and go out on one upright line.
    // The captions: «Начало» and «Конец» 2 + S/2 below their terminators'
    // tops, in black; «Ложь» and «Истина» 24 above a question's exits, in red.
    const QList<QLineF> fromStart = d.arrowsFrom(d.terminators[1]);
    QCOMPARE(fromStart.size(), 1);
    QCOMPARE(d.reached(fromStart[0]), QList { FirstBlock });
    QStringList captions = { terminatorCaption(StartTerminator)
            + QString::number(d.terminators[0].y1() + 2 + S / 2),
        terminatorCaption(EndTerminator) + QString::number(d.terminators[2].y1() + 2 + S / 2) };
    for (int b = 0; b < BlockCount; ++b) {
        const QPolygonF c = d.layout.blockOutline(b);
        QCOMPARE(c.size(), 4);
        for (const QLineF &edge : d.outline(b))
            QVERIFY(d.lines.contains(edge));
        const QPointF start(d.layout.lineStartX[b][1], d.layout.textTop[b]);
        const QPointF end(d.layout.lineEndX[b][1], start.y());
        const LabelPlacement &l = d.layout.labels[b];
        const QPointF aside
            = QRectF(l.left, l.top, l.width, l.height).center() - c.boundingRect().center();
        QVERIFY2(qAbs(aside.x()) <= 2 && qAbs(aside.y()) <= 2, qPrintable(QString::number(b)));
        if (isQuestionBlock(b)) {
            QCOMPARE(c[1] - c[3], QPointF(160, 0));
            QCOMPARE(c[2] - c[0], QPointF(0, 50 + 2 * S));
            QCOMPARE(c[0] + c[2], c[1] + c[3]);
            QVERIFY(qAbs((start.x() + end.x()) / 2 - c[0].x()) <= 2);
            for (const bool trueExit : { false, true }) {
                const QList<QLineF> out
                    = d.arrowsFrom(QLineF(c[trueExit ? 1 : 3], c[trueExit ? 1 : 3]));
                QCOMPARE(out.size(), 1);
                QCOMPARE(out[0].dx() > 0, trueExit);
                QCOMPARE(d.reached(out[0]), QList { exitTarget(b, trueExit) });
                captions << exitCaption(trueExit) + QString::number(c[1].y() - 24);
            }
            continue;
        }
        const bool ending = FlowchartBlocks[b].role == BlockRole::Ending;
        QCOMPARE(c[1] - c[0], QPointF(ending ? 140 : 200, 0));
        QCOMPARE(c[2] - c[3], c[1] - c[0]);
        QCOMPARE(c[3] - c[0], QPointF(-30, ending ? 70 + S : 50 + S));
        QVERIFY(c.containsPoint(start, Qt::OddEvenFill) && c.containsPoint(end, Qt::OddEvenFill));
        const QList<QLineF> out
            = d.arrowsFrom(QLineF(c[2], c[3])) + d.arrowsFrom(QLineF(c[2], c[3]).translated(0, 1));
        QCOMPARE(out.size(), 1);
        QCOMPARE(d.reached(out[0]), QList { FlowchartBlocks[b].next });
        QCOMPARE(std::count_if(d.arrows.begin(), d.arrows.end(),
                     [&](const QLineF &in) {
                         return onLine(in.p2(), d.outline(b).first()) && in.x2() == out[0].x1();
                     }),
            1);
    }
    QStringList drawn;
    QList<double> across;
    for (const SurfaceOp &caption : d.captions) {
        QCOMPARE(caption.fontSize, width > 800 ? 12.0 : 10.0);
        const bool exit = caption.text == exitCaption(false) || caption.text == exitCaption(true);
        QCOMPARE(caption.colour, QColor(exit ? Qt::red : Qt::black));
        drawn << caption.text + QString::number(caption.p1.y());
        across << caption.p1.x();
    }
    captions.sort();
    drawn.sort();
    QCOMPARE(drawn, captions);
    // Where they start across, in a window 1000 wide.
    std::sort(across.begin(), across.end());
    QVERIFY(width != 1000
        || across == QList<double>({ 172.5, 347.5, 395, 487, 493, 605, 623.75, 822.5 }));

    // As rendered; in a wide window no two blocks overlap.
    for (int a = 0; apart && a < BlockCount; ++a)
        for (int b = a + 1; b < BlockCount; ++b)
            QVERIFY(d.layout.blockOutline(a).intersected(d.layout.blockOutline(b)).isEmpty());
    const QImage image = d.surface.render(QSize(width, height));
    const auto near = [](QPointF p) { return QRect(p.toPoint() - QPoint(1, 1), QSize(3, 3)); };
    // Every line lies on its pixels; the round ends reach out by their radius.
    for (const QLineF &l : d.lines)
        QVERIFY(anyPixel(image, near(l.center()), isDark));
    for (const SurfaceOp &arc : d.arcs)
        QVERIFY(anyPixel(
            image, near(arc.p1 + QPointF(arc.p1.x() < C ? -arc.radius : arc.radius, 0)), isDark));
    // Inside a block the surface stays white.
    for (int b = 0; apart && b < BlockCount; ++b)
        QCOMPARE(image.pixelColor(d.layout.blockOutline(b).boundingRect().center().toPoint()),
            QColor(Qt::white));
    // Branch captions are red, terminator captions are not.
    for (const SurfaceOp &caption : d.captions) {
        const QRect box = QRectF(caption.p1, QSizeF(caption.width, 12)).toRect();
        const bool red = caption.colour == QColor(Qt::red);
        QCOMPARE(anyPixel(image, box, isRed), red);
        QVERIFY(red || anyPixel(image, box, isDark));
    }
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
    surface.point(QPointF(1, 1));
    FlowchartLayout layout;
    drawFlowchart(surface, layout, 663, 554);
    QCOMPARE(surface.fontSize(), 8.0);
    QCOMPARE(surface.foreColor(), QColor(0, 0, 0));
    // Nothing drawn before the pass survives it; the one point drawn is the
    // opening block's first corner.
    QList<QPointF> points;
    for (const SurfaceOp &op : surface.ops())
        if (op.kind == SurfaceOp::Point)
            points << op.p1;
    QCOMPARE(points, QList { layout.blockOutline(FirstBlock).first() });
}

void tst_Flowchart::repeatedPassIsIdentical()
{
    Surface surface;
    FlowchartLayout layout;
    drawFlowchart(surface, layout, 1003, 700);
    const QList<SurfaceOp> first = surface.ops();
    drawFlowchart(surface, layout, 1003, 700);
    QCOMPARE(surface.ops(), first);
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
