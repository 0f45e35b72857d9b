#include "printing/StoryPageLayout.h"

#include <QTest>

class tst_StoryPageLayout : public QObject {
    Q_OBJECT

private slots:
    void titleLeft_data();
    void titleLeft();
    void fixedPlaces();
    void drawingKeepsNaturalHeight_data();
    void drawingKeepsNaturalHeight();
    void picturesTakeFrame0Proportions_data();
    void picturesTakeFrame0Proportions();
    void picturesStayBelowTheFlowchart_data();
    void picturesStayBelowTheFlowchart();
};

void tst_StoryPageLayout::titleLeft_data()
{
    QTest::addColumn<double>("printableWidth");
    QTest::addColumn<double>("titleWidth");
    QTest::addColumn<double>("left");

    QTest::newRow("19, 6: 6.5 to the even 6") << 19.0 << 6.0 << 6.0;
    QTest::newRow("19, 5: 7") << 19.0 << 5.0 << 7.0;
    QTest::newRow("19, 4: 7.5 to the even 8") << 19.0 << 4.0 << 8.0;
    QTest::newRow("19, 7: 6") << 19.0 << 7.0 << 6.0;
    QTest::newRow("19, empty: 9.5 to the even 10") << 19.0 << 0.0 << 10.0;
    QTest::newRow("18, empty: 9") << 18.0 << 0.0 << 9.0;
    QTest::newRow("19, 6.2: 6.4 down to 6") << 19.0 << 6.2 << 6.0;
    QTest::newRow("19, 5.8: 6.6 up to 7") << 19.0 << 5.8 << 7.0;
    QTest::newRow("20.99, 3.5: 8.745 to 9") << 20.99 << 3.5 << 9.0;
    QTest::newRow("as wide as the page") << 19.0 << 19.0 << 0.0;
    QTest::newRow("19, 22: -1.5 to the even -2") << 19.0 << 22.0 << -2.0;
    QTest::newRow("19, 24: -2.5 to the even -2") << 19.0 << 24.0 << -2.0;
    QTest::newRow("19, 40: -10.5 to the even -10") << 19.0 << 40.0 << -10.0;
    QTest::newRow("19, 41: -11") << 19.0 << 41.0 << -11.0;
}

void tst_StoryPageLayout::titleLeft()
{
    QFETCH(double, printableWidth);
    QFETCH(double, titleWidth);
    QFETCH(double, left);
    const StoryPageLayout page
        = StoryPageLayout::compute(printableWidth, titleWidth, QSizeF(169, 130), 554);
    QCOMPARE(page.titleLeft, left);
}

void tst_StoryPageLayout::fixedPlaces()
{
    // Nothing but the title moves with the page or the title.
    for (const double width : { 10.0, 19.0, 27.7 }) {
        for (const double title : { 0.0, 5.0, 30.0 }) {
            const StoryPageLayout page
                = StoryPageLayout::compute(width, title, QSizeF(169, 130), 554);
            QCOMPARE(page.titleTop, 2.0);
            QCOMPARE(page.authorTopLeft, QPointF(10, 3));
            QCOMPARE(page.drawing.topLeft(), QPointF(1.5, 4));
            QCOMPARE(page.drawing.width(), 17.0);
            const double lefts[] = { 1.5, 6, 10.5, 15 };
            for (int k = 0; k < FrameCount; ++k)
                QCOMPARE(page.pictures[k].topLeft(), QPointF(lefts[k], 15));
        }
    }
}

void tst_StoryPageLayout::drawingKeepsNaturalHeight_data()
{
    QTest::addColumn<double>("pixels");
    QTest::addColumn<double>("centimetres");

    QTest::newRow("one inch") << 96.0 << 2.54;
    QTest::newRow("designed editor, 554") << 554.0 << 14.657916666666667;
    QTest::newRow("maximised, 1017") << 1017.0 << 26.90812500000000;
    QTest::newRow("nothing") << 0.0 << 0.0;
}

void tst_StoryPageLayout::drawingKeepsNaturalHeight()
{
    QFETCH(double, pixels);
    QFETCH(double, centimetres);
    const StoryPageLayout page = StoryPageLayout::compute(19, 5, QSizeF(169, 130), pixels);
    QCOMPARE(page.drawing.height(), centimetres);
    QCOMPARE(page.drawing.width(), 17.0);
}

void tst_StoryPageLayout::picturesTakeFrame0Proportions_data()
{
    QTest::addColumn<QSizeF>("frame0");
    QTest::addColumn<double>("height");

    QTest::newRow("designed 169 x 130") << QSizeF(169, 130) << 4.0 * 130 / 169;
    QTest::newRow("square") << QSizeF(100, 100) << 4.0;
    QTest::newRow("wide") << QSizeF(200, 50) << 1.0;
    QTest::newRow("tall") << QSizeF(50, 150) << 12.0;
    QTest::newRow("no width: nothing to print") << QSizeF(0, 130) << 0.0;
}

void tst_StoryPageLayout::picturesTakeFrame0Proportions()
{
    QFETCH(QSizeF, frame0);
    QFETCH(double, height);
    const StoryPageLayout page = StoryPageLayout::compute(19, 5, frame0, 554);
    for (int k = 0; k < FrameCount; ++k) {
        QCOMPARE(page.pictures[k].width(), 4.0);
        QCOMPARE(page.pictures[k].height(), height);
    }
}

void tst_StoryPageLayout::picturesStayBelowTheFlowchart_data()
{
    QTest::addColumn<double>("bottom");
    QTest::addColumn<double>("top");
    QTest::newRow("not given") << 0.0 << 15.0;
    QTest::newRow("designed flowchart ends above 15 cm") << 380.0 << 15.0;
    QTest::newRow("wide flowchart would be covered") << 480.0 << 4 + 480 * 2.54 / 96 + 0.5;
}

void tst_StoryPageLayout::picturesStayBelowTheFlowchart()
{
    QFETCH(double, bottom);
    QFETCH(double, top);
    const StoryPageLayout page = StoryPageLayout::compute(19, 5, QSizeF(169, 130), 800, bottom);
    for (int k = 0; k < FrameCount; ++k)
        QCOMPARE(page.pictures[k].top(), top);
    QCOMPARE(page.drawing.height(), 800 * 2.54 / 96);
}

QTEST_APPLESS_MAIN(tst_StoryPageLayout)
#include "tst_storypagelayout.moc"
