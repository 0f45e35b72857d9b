#include "flowchart/DrawBlockTexts.h"
#include "flowchart/DrawFlowchart.h"
#include "flowchart/FlowchartLayout.h"
#include "flowchart/Surface.h"

#include <QTest>

using Words = QList<PlacedWord>;
Q_DECLARE_METATYPE(PlacedWord)

namespace {

// Every character is ten pixels wide, spaces included, except a dot: one.
double tenPerChar(const QString &text)
{
    return 10.0 * text.size() - 9.0 * text.count(QLatin1Char('.'));
}

PlacedWord at(double x, double y, const QString &text)
{
    return { QPointF(x, y), text };
}

} // namespace

QT_BEGIN_NAMESPACE
namespace QTest {
template <> char *toString(const PlacedWord &word)
{
    return qstrdup(QStringLiteral("(%1, %2) \"%3\"")
                       .arg(word.at.x())
                       .arg(word.at.y())
                       .arg(word.text)
                       .toUtf8()
                       .constData());
}
} // namespace QTest
QT_END_NAMESPACE

class tst_Wrap : public QObject {
    Q_OBJECT

private slots:
    void wrap_data();
    void wrap();
    void normalise_data();
    void normalise();
    void hiddenTextsChangeNothing();
    void shownTextsAreNormalisedAndWritten();
    void longTextIsLinear();
};

void tst_Wrap::wrap_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Words>("expected");

    // At client width 663: block 0 lines start 256, 248, 240 and end 449, 441, 433;
    // block 1 runs 317..375 then 307..385; block 6 starts 41.5 with four lines.
    QTest::newRow("empty text") << 0 << QString() << Words {};
    QTest::newRow("one word") << 0 << "лиса" << Words { at(256, 55, "лиса") };
    QTest::newRow("each word keeps its space")
        << 0 << "жила лиса" << Words { at(256, 55, "жила "), at(306, 55, "лиса") };
    QTest::newRow("word ending exactly on the limit stays")
        // 256 + 193 = 449: the word with its space ends on the limit.
        << 0 << "aaaaaaaaaaaaaaaaaa... b"
        << Words { at(256, 55, "aaaaaaaaaaaaaaaaaa... "), at(248, 70, "b") };
    QTest::newRow("one pixel past the limit wraps")
        << 0 << "aaaaaaaaaaaaaaaaaa.... b"
        << Words { at(248, 70, "aaaaaaaaaaaaaaaaaa.... "), at(240, 85, "b") };
    QTest::newRow("first word too wide for line 1")
        << 0 << "aaaaaaaaaaaaaaaaaaaa b"
        << Words { at(248, 70, "aaaaaaaaaaaaaaaaaaaa "), at(240, 85, "b") };
    QTest::newRow("word wider than a whole line is still written")
        << 0 << "a bbbbbbbbbbbbbbbbbbbbbbbbb c"
        << Words { at(256, 55, "a "), at(248, 70, "bbbbbbbbbbbbbbbbbbbbbbbbb "), at(240, 85, "c") };
    QTest::newRow("two spaces make a lone space word")
        << 0 << "ab  cd" << Words { at(256, 55, "ab "), at(286, 55, " "), at(296, 55, "cd") };
    QTest::newRow("trailing space writes everything in the scan")
        << 0 << "ab cd " << Words { at(256, 55, "ab "), at(286, 55, "cd ") };
    QTest::newRow("tab belongs to the word")
        << 0 << "a\tb c" << Words { at(256, 55, "a\tb "), at(296, 55, "c") };
    QTest::newRow("question runs out of lines")
        << 1 << "aa bb cc dd ee"
        << Words { at(317, 124, "aa "), at(307, 139, "bb "), at(337, 139, "cc ") };
    QTest::newRow("last word that does not fit the last line is dropped")
        << 1 << "aa bb cc ddd"
        << Words { at(317, 124, "aa "), at(307, 139, "bb "), at(337, 139, "cc ") };
    QTest::newRow("last word fits the last line")
        << 1 << "aa bb cc d"
        << Words { at(317, 124, "aa "), at(307, 139, "bb "), at(337, 139, "cc "),
               at(367, 139, "d") };
    QTest::newRow("ending fills four lines")
        << 6 << "abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd"
        << Words { at(41.5, 260, "abcd "), at(91.5, 260, "abcd "), at(34.5, 275, "abcd "),
               at(84.5, 275, "abcd "), at(27.5, 290, "abcd "), at(77.5, 290, "abcd "),
               at(20.5, 305, "abcd "), at(70.5, 305, "abcd ") };
    QTest::newRow("line break became two spaces")
        << 0 << normaliseLineBreaks("first\r\nsecond")
        << Words { at(256, 55, "first "), at(316, 55, " "), at(326, 55, "second") };
}

void tst_Wrap::wrap()
{
    QFETCH(int, block);
    QFETCH(QString, text);
    QFETCH(Words, expected);
    FlowchartLayout layout;
    layout.compute(663, 554);
    const std::vector<PlacedWord> placed = wrapBlockText(text, layout.lineStartX[block].data(),
        layout.lineEndX[block].data(), MaxTextLines, layout.textTop[block], tenPerChar);
    QCOMPARE(Words(placed.begin(), placed.end()), expected);
}

void tst_Wrap::normalise_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("CR LF") << "a\r\nb"
                           << "a  b";
    QTest::newRow("lone CR") << "a\rb"
                             << "a b";
    QTest::newRow("lone LF") << "a\nb"
                             << "a b";
    QTest::newRow("LF CR") << "\n\r"
                           << "  ";
    QTest::newRow("nothing to do") << "лиса и заяц"
                                   << "лиса и заяц";
}

void tst_Wrap::normalise()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(normaliseLineBreaks(text), expected);
    QCOMPARE(normaliseLineBreaks(text).size(), text.size());
}

void tst_Wrap::hiddenTextsChangeNothing()
{
    Surface surface;
    FlowchartLayout layout;
    drawFlowchart(surface, layout, 663, 554);
    const QList<SurfaceOp> before = surface.ops();
    std::array<QString, 10> texts;
    texts[3] = QStringLiteral("строка\r\nещё");
    drawBlockTexts(false, texts, layout, surface);
    QCOMPARE(surface.ops(), before);
    QCOMPARE(texts[3], QStringLiteral("строка\r\nещё"));
}

void tst_Wrap::shownTextsAreNormalisedAndWritten()
{
    Surface surface;
    FlowchartLayout layout;
    drawFlowchart(surface, layout, 663, 554);
    const qsizetype outline = surface.ops().size();
    std::array<QString, 10> texts;
    texts[0] = QStringLiteral("Жила-была\r\nлиса");
    texts[9] = QStringLiteral("Конец");
    drawBlockTexts(true, texts, layout, surface);
    QCOMPARE(texts[0], QStringLiteral("Жила-была  лиса"));
    const QList<SurfaceOp> written = surface.ops().mid(outline);
    QCOMPARE(written.size(), 4);
    QCOMPARE(written[0].text, QStringLiteral("Жила-была "));
    QCOMPARE(written[0].p1, QPointF(256, 55));
    QCOMPARE(written[0].fontSize, 8.0);
    QCOMPARE(written[0].colour, QColor(0, 0, 0));
    QCOMPARE(written[1].text, QStringLiteral(" "));
    // Words follow each other by their measured width in the writing font.
    QCOMPARE(written[1].p1.x(), 256 + surface.textWidth(QStringLiteral("Жила-была ")));
    QCOMPARE(written[2].text, QStringLiteral("лиса"));
    QCOMPARE(written[3].text, QStringLiteral("Конец"));
    QCOMPARE(written[3].p1, QPointF(layout.lineStartX[9][1], layout.textTop[9]));
}

void tst_Wrap::longTextIsLinear()
{
    // A megabyte without a line break is still cut where the block is full.
    const QString text = QString(QStringLiteral("слово ")).repeated(200'000);
    FlowchartLayout layout;
    layout.compute(663, 554);
    const std::vector<PlacedWord> placed = wrapBlockText(text, layout.lineStartX[1].data(),
        layout.lineEndX[1].data(), MaxTextLines, layout.textTop[1], tenPerChar);
    QVERIFY(!placed.empty());
    QVERIFY(placed.size() < 10);
    QCOMPARE(placed.back().at.y(), 139.0);
}

QTEST_MAIN(tst_Wrap)
#include "tst_wrap.moc"
