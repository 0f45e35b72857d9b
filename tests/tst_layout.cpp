#include "flowchart/FlowchartLayout.h"

#include <QTest>

class tst_Layout : public QObject {
    Q_OBJECT

private slots:
    void frame_data();
    void frame();
    void tables_data();
    void tables();
    void labels_data();
    void labels();
    void frames_data();
    void frames();
    void roundHalfEven_data();
    void roundHalfEven();
    void passIsRepeatable();
};

void tst_Layout::frame_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("centerX");
    QTest::addColumn<int>("stretch");
    QTest::newRow("663") << 663 << 346 << 0;
    QTest::newRow("800") << 800 << 415 << 0;
    QTest::newRow("801") << 801 << 416 << 10; // 415.5 goes to the even 416
    QTest::newRow("1000") << 1000 << 515 << 10;
    QTest::newRow("1001") << 1001 << 516 << 10;
    QTest::newRow("1003") << 1003 << 516 << 10;
    QTest::newRow("1005") << 1005 << 518 << 10;
}

void tst_Layout::frame()
{
    QFETCH(int, width);
    QFETCH(int, centerX);
    QFETCH(int, stretch);
    FlowchartLayout layout;
    layout.compute(width, 554);
    QCOMPARE(layout.centerX, centerX);
    QCOMPARE(layout.stretch, stretch);
}

void tst_Layout::tables_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("block");
    QTest::addColumn<QList<double>>("starts"); // lines 1..5
    QTest::addColumn<QList<double>>("ends");
    QTest::addColumn<double>("top");

    // 663: C = 346, S = 0.
    QTest::newRow("663 b0") << 663 << 0 << QList<double> { 256, 248, 240, 0, 0 }
                            << QList<double> { 449, 441, 433, 0, 0 } << 55.0;
    QTest::newRow("663 b1") << 663 << 1 << QList<double> { 317, 307, 0, 0, 0 }
                            << QList<double> { 375, 385, 0, 0, 0 } << 124.0;
    QTest::newRow("663 b2") << 663 << 2 << QList<double> { 103, 95, 87, 0, 0 }
                            << QList<double> { 296, 288, 280, 0, 0 } << 150.0;
    QTest::newRow("663 b3") << 663 << 3 << QList<double> { 411, 403, 395, 0, 0 }
                            << QList<double> { 603, 595, 587, 0, 0 } << 150.0;
    QTest::newRow("663 b4") << 663 << 4 << QList<double> { 164, 154, 0, 0, 0 }
                            << QList<double> { 222, 232, 0, 0, 0 } << 220.0;
    QTest::newRow("663 b5") << 663 << 5 << QList<double> { 472, 462, 0, 0, 0 }
                            << QList<double> { 530, 540, 0, 0, 0 } << 220.0;
    QTest::newRow("663 b6") << 663 << 6 << QList<double> { 41.5, 34.5, 27.5, 20.5, 0 }
                            << QList<double> { 173.5, 166.5, 159.5, 152.5, 0 } << 260.0;
    QTest::newRow("663 b7") << 663 << 7 << QList<double> { 214.5, 207.5, 200.5, 193.5, 0 }
                            << QList<double> { 345.5, 338.5, 331.5, 324.5, 0 } << 260.0;
    QTest::newRow("663 b8") << 663 << 8 << QList<double> { 346.5, 339.5, 332.5, 325.5, 0 }
                            << QList<double> { 478.5, 471.5, 464.5, 457.5, 0 } << 260.0;
    QTest::newRow("663 b9") << 663 << 9 << QList<double> { 519.5, 512.5, 505.5, 498.5, 0 }
                            << QList<double> { 650.5, 643.5, 636.5, 629.5, 0 } << 260.0;
    // 1001: C = 516, S = 10.
    QTest::newRow("1001 b0") << 1001 << 0 << QList<double> { 426, 418, 410, 0, 0 }
                             << QList<double> { 619, 611, 603, 0, 0 } << 65.0;
    QTest::newRow("1001 b1") << 1001 << 1 << QList<double> { 487, 477, 0, 0, 0 }
                             << QList<double> { 545, 555, 0, 0, 0 } << 144.0;
    QTest::newRow("1001 b5") << 1001 << 5 << QList<double> { 727, 717, 0, 0, 0 }
                             << QList<double> { 785, 795, 0, 0, 0 } << 260.0;
    QTest::newRow("1001 b9") << 1001 << 9 << QList<double> { 817, 810, 803, 796, 0 }
                             << QList<double> { 948, 941, 934, 927, 0 } << 310.0;
    // 1000: C = 515 is odd, so halves and quarters appear.
    QTest::newRow("1000 b2") << 1000 << 2 << QList<double> { 187.5, 179.5, 171.5, 0, 0 }
                             << QList<double> { 380.5, 372.5, 364.5, 0, 0 } << 180.0;
    QTest::newRow("1000 b4") << 1000 << 4 << QList<double> { 248.5, 238.5, 0, 0, 0 }
                             << QList<double> { 306.5, 316.5, 0, 0, 0 } << 260.0;
    QTest::newRow("1000 b6") << 1000 << 6 << QList<double> { 83.75, 76.75, 69.75, 62.75, 0 }
                             << QList<double> { 215.75, 208.75, 201.75, 194.75, 0 } << 310.0;
    QTest::newRow("1000 b7") << 1000 << 7 << QList<double> { 341.25, 334.25, 327.25, 320.25, 0 }
                             << QList<double> { 472.25, 465.25, 458.25, 451.25, 0 } << 310.0;
    QTest::newRow("800 b3") << 800 << 3 << QList<double> { 514.5, 506.5, 498.5, 0, 0 }
                            << QList<double> { 706.5, 698.5, 690.5, 0, 0 } << 150.0;
    QTest::newRow("801 b8") << 801 << 8 << QList<double> { 434, 427, 420, 413, 0 }
                            << QList<double> { 566, 559, 552, 545, 0 } << 310.0;
    QTest::newRow("1003 b0") << 1003 << 0 << QList<double> { 426, 418, 410, 0, 0 }
                             << QList<double> { 619, 611, 603, 0, 0 } << 65.0;
}

void tst_Layout::tables()
{
    QFETCH(int, width);
    QFETCH(int, block);
    QFETCH(QList<double>, starts);
    QFETCH(QList<double>, ends);
    QFETCH(double, top);
    FlowchartLayout layout;
    layout.compute(width, 554);
    QCOMPARE(layout.lineStartX[block][0], 0.0);
    for (int n = 1; n <= 5; ++n) {
        QCOMPARE(layout.lineStartX[block][n], starts.at(n - 1));
        QCOMPARE(layout.lineEndX[block][n], ends.at(n - 1));
    }
    QCOMPARE(layout.textTop[block], top);
}

void tst_Layout::labels_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("block");
    QTest::addColumn<QRectF>("rect");
    QTest::newRow("663 b0") << 663 << 0 << QRectF(256, 55, 173, 49);
    QTest::newRow("663 b1") << 663 << 1 << QRectF(310, 126, 70, 28);
    QTest::newRow("663 b2") << 663 << 2 << QRectF(103, 150, 173, 49);
    QTest::newRow("663 b3") << 663 << 3 << QRectF(409, 150, 173, 49);
    QTest::newRow("663 b4") << 663 << 4 << QRectF(158, 221, 70, 28);
    QTest::newRow("663 b5") << 663 << 5 << QRectF(465, 221, 70, 28);
    QTest::newRow("663 b6") << 663 << 6 << QRectF(36.5, 256, 110, 69);
    QTest::newRow("663 b7") << 663 << 7 << QRectF(209.5, 256, 110, 69);
    QTest::newRow("663 b8") << 663 << 8 << QRectF(342.5, 256, 110, 69);
    QTest::newRow("663 b9") << 663 << 9 << QRectF(515.5, 256, 110, 69);
    QTest::newRow("1001 b0") << 1001 << 0 << QRectF(426, 65, 173, 59);
    QTest::newRow("1001 b1") << 1001 << 1 << QRectF(480, 146, 70, 48);
    QTest::newRow("1001 b4") << 1001 << 4 << QRectF(243, 261, 70, 48);
    QTest::newRow("1001 b9") << 1001 << 9 << QRectF(813, 306, 110, 79);
}

void tst_Layout::labels()
{
    QFETCH(int, width);
    QFETCH(int, block);
    QFETCH(QRectF, rect);
    FlowchartLayout layout;
    layout.compute(width, 554);
    const LabelPlacement &label = layout.labels[block];
    QCOMPARE(QRectF(label.left, label.top, label.width, label.height), rect);
}

void tst_Layout::frames_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<double>("gap");
    QTest::addColumn<double>("top");
    QTest::newRow("designed, frames overlap") << 663 << 554 << -2.6 << 401.5;
    QTest::newRow("exactly four frames") << 676 << 554 << 0.0 << 401.5;
    QTest::newRow("wide") << 1001 << 700 << 65.0 << 509.5;
    QTest::newRow("too short, rises above band") << 663 << 400 << -2.6 << 324.5;
    QTest::newRow("narrow") << 300 << 554 << -75.2 << 401.5;
}

void tst_Layout::frames()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(double, gap);
    QFETCH(double, top);
    FlowchartLayout layout;
    layout.compute(width, height);
    QVERIFY(qFuzzyCompare(layout.frameGap, gap));
    QVERIFY(qFuzzyCompare(layout.frameLeft[0], gap));
    for (int k = 1; k < 4; ++k)
        QVERIFY(qFuzzyCompare(layout.frameLeft[k], (k + 1) * gap + k * FrameWidth));
    QCOMPARE(layout.frameTop, top);
}

void tst_Layout::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");
    QTest::newRow("346.5") << 346.5 << 346.0;
    QTest::newRow("347.5") << 347.5 << 348.0;
    QTest::newRow("6.5") << 6.5 << 6.0;
    QTest::newRow("7.5") << 7.5 << 8.0;
    QTest::newRow("-0.5") << -0.5 << 0.0;
    QTest::newRow("-1.5") << -1.5 << -2.0;
    QTest::newRow("2.4") << 2.4 << 2.0;
    QTest::newRow("2.6") << 2.6 << 3.0;
}

void tst_Layout::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(double, rounded);
    QCOMPARE(::roundHalfEven(value), rounded);
}

void tst_Layout::passIsRepeatable()
{
    FlowchartLayout first;
    first.compute(1003, 700);
    FlowchartLayout second = first;
    second.compute(1003, 700);
    QCOMPARE(second.lineStartX, first.lineStartX);
    QCOMPARE(second.lineEndX, first.lineEndX);
    QCOMPARE(second.textTop, first.textTop);
    for (int b = 0; b < BlockCount; ++b)
        QCOMPARE(second.labels[b].height, first.labels[b].height);
    QCOMPARE(second.frameLeft, first.frameLeft);
}

QTEST_APPLESS_MAIN(tst_Layout)
#include "tst_layout.moc"
