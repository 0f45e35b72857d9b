#include "flowchart/DrawBlockTexts.h"
#include "flowchart/DrawFlowchart.h"
#include "flowchart/FlowchartLayout.h"
#include "flowchart/Surface.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

const QChar ZeroWidth(0x200B);
const QString Smile = QStringLiteral("😀");

// Every character is ten pixels wide, except a zero-width space, an i (two)
// and a W (fourteen); a character of two halves counts ten for each.
double tenPerChar(const QString &text)
{
    return 10.0 * text.size() - 10.0 * text.count(ZeroWidth) - 8.0 * text.count(QLatin1Char('i'))
        + 4.0 * text.count(QLatin1Char('W'));
}

// The wrapping rules followed to the letter: every word found by scanning
// the whole text and measured whole. The wrap must place what this places.
std::vector<PlacedWord> wrapByTheRules(
    const QString &text, const double *startX, const double *endX, double top)
{
    std::vector<PlacedWord> placed;
    const auto endOf = [&](int line) { return line < MaxTextLines ? endX[line] : 0.0; };
    int n = 1;
    double x = startX[1], y = top;
    QString word;
    for (const QChar c : text) {
        word += c;
        if (c != QLatin1Char(' '))
            continue;
        if (tenPerChar(word) + x > endOf(n)) {
            if (endOf(++n) == 0)
                return placed;
            y += 15;
            x = startX[n];
        }
        placed.push_back({ QPointF(x, y), word });
        x += tenPerChar(word);
        word.clear();
    }
    if (tenPerChar(word) + x > endOf(n)) {
        if (endOf(++n) == 0)
            return placed;
        y += 15;
        x = startX[n];
    }
    if (!word.isEmpty())
        placed.push_back({ QPointF(x, y), word });
    return placed;
}

// Words of 0 to 30 characters, and now and then one of 200 to 600, some of
// them narrow enough to fit a line.
QString generatedText(QRandomGenerator &random)
{
    const QString letters[] = { QStringLiteral("а"), QStringLiteral("i"), QStringLiteral("W"),
        QString(ZeroWidth), Smile };
    QString text;
    for (int words = random.bounded(1, 12); words > 0; --words) {
        const bool longWord = random.bounded(4) == 0;
        const int length = longWord ? random.bounded(200, 601) : random.bounded(31);
        const int narrow = random.bounded(4); // mostly one kind of letter
        for (int i = 0; i < length; ++i)
            text += letters[random.bounded(3) ? narrow : random.bounded(5)];
        text += QLatin1Char(' ');
    }
    if (random.bounded(2))
        text.chop(1);
    return text;
}

// The wrap places what the rules place, but that a word may be cut where
// it leaves what can be seen, keeping whole characters.
void compareWithTheRules(
    const QString &text, const FlowchartLayout &layout, int block, double visibleRight)
{
    const double *startX = layout.lineStartX[block].data();
    const double *endX = layout.lineEndX[block].data();
    const std::vector<PlacedWord> expected
        = wrapByTheRules(text, startX, endX, layout.textTop[block]);
    const std::vector<PlacedWord> placed = wrapBlockText(
        text, startX, endX, MaxTextLines, layout.textTop[block], tenPerChar, visibleRight);
    QCOMPARE(placed.size(), expected.size());
    for (size_t i = 0; i < placed.size(); ++i) {
        QCOMPARE(placed[i].at, expected[i].at);
        QCOMPARE(placed[i].width, tenPerChar(placed[i].text));
        if (placed[i].text == expected[i].text)
            continue;
        QVERIFY(expected[i].text.startsWith(placed[i].text));
        QVERIFY(placed[i].at.x() + placed[i].width > visibleRight);
        QVERIFY(!placed[i].text.back().isHighSurrogate());
    }
}

} // namespace

class tst_WrapEdges : public QObject {
    Q_OBJECT

private slots:
    void longWordsFollowTheRules_data();
    void longWordsFollowTheRules();
    void generatedTextsFollowTheRules_data();
    void generatedTextsFollowTheRules();
};

void tst_WrapEdges::longWordsFollowTheRules_data()
{
    QTest::addColumn<int>("block");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("visibleRight");

    // At client width 663, block 0's lines are 193 wide, block 1's 58 and 78.
    const QString endless(100'000, QLatin1Char('w'));
    QTest::newRow("endless word in a question") << 1 << endless << 663.0;
    QTest::newRow("endless word between words") << 0 << "a " + endless + " b c" << 663.0;
    QTest::newRow("endless word ends the question's lines")
        << 1 << "aa " + endless + " bb" << 663.0;
    QTest::newRow("endless first word of an ending") << 6 << endless + " b" << 663.0;
    QTest::newRow("endless word on the last line")
        << 6 << "a b c d e f g h i j k l m n o p " + endless << 663.0;
    QTest::newRow("nothing of it can be seen") << 0 << "a " + endless + " b" << 0.0;
    QTest::newRow("long but narrow word fits its line")
        << 0 << QString(300, ZeroWidth) + "ab cd" << 663.0;
    QTest::newRow("long word a little wider than its line")
        << 0 << QString(250, ZeroWidth) + QString(20, QLatin1Char('x')) + " b" << 663.0;
    QTest::newRow("long word narrower than the window, wider than its line")
        << 0 << QString(300, ZeroWidth) + QString(40, QLatin1Char('x')) + " b c" << 663.0;
    QTest::newRow("a character of two halves at the cut")
        << 1 << QString(255, QLatin1Char('a')) + QStringLiteral("😀") + endless << 663.0;
    QTest::newRow("space right after the first measured piece")
        << 0 << QString(256, QLatin1Char('q')) + " b" << 663.0;
}

void tst_WrapEdges::longWordsFollowTheRules()
{
    QFETCH(int, block);
    QFETCH(QString, text);
    QFETCH(double, visibleRight);
    FlowchartLayout layout;
    layout.compute(663, 554);
    compareWithTheRules(text, layout, block, visibleRight);
}

void tst_WrapEdges::generatedTextsFollowTheRules_data()
{
    QTest::addColumn<int>("width");
    for (const int width : { 663, 1280, 1920 })
        QTest::addRow("%d px", width) << width;
}

void tst_WrapEdges::generatedTextsFollowTheRules()
{
    QFETCH(int, width);
    FlowchartLayout layout;
    layout.compute(width, 800);
    QRandomGenerator random(width);
    for (int i = 0; i < 1000; ++i) {
        const QString text = generatedText(random);
        compareWithTheRules(text, layout, i % BlockCount, width);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("block %1: %2").arg(i % BlockCount).arg(text)));
    }
}

QTEST_MAIN(tst_WrapEdges)
#include "tst_wrapedges.moc"
