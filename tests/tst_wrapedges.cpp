#include "flowchart/DrawBlockTexts.h"
#include "flowchart/DrawFlowchart.h"
#include "flowchart/FlowchartLayout.h"
#include "flowchart/Surface.h"
#include "flowchart/WrappedTexts.h"

#include <QTest>

namespace {

const QChar ZeroWidth(0x200B);

// Every character is ten pixels wide, except a zero-width space.
double tenPerChar(const QString &text)
{
    return 10.0 * (text.size() - text.count(ZeroWidth));
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

QStringList opTexts(const Surface &surface)
{
    QStringList texts;
    for (const SurfaceOp &op : surface.ops())
        texts << op.text;
    return texts;
}

} // namespace

class tst_WrapEdges : public QObject

{
    Q_OBJECT

private slots:
    void longWordsFollowTheRules_data();
    void longWordsFollowTheRules();
    void unchangedTextsAreWrittenAsBefore();
    void changedTextIsNormalisedAgain_data();
    void changedTextIsNormalisedAgain();
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
    const double *startX = layout.lineStartX[block].data();
    const double *endX = layout.lineEndX[block].data();
    const std::vector<PlacedWord> expected
        = wrapByTheRules(text, startX, endX, layout.textTop[block]);
    const std::vector<PlacedWord> placed = wrapBlockText(
        text, startX, endX, MaxTextLines, layout.textTop[block], tenPerChar, visibleRight);

    QCOMPARE(placed.size(), expected.size());
    for (size_t i = 0; i < placed.size(); ++i) {
        QCOMPARE(placed[i].at, expected[i].at);
        if (placed[i].text == expected[i].text)
            continue;
        // A word cut short keeps all that shows, and whole characters.
        QVERIFY(expected[i].text.startsWith(placed[i].text));
        QVERIFY(placed[i].at.x() + tenPerChar(placed[i].text) > visibleRight);
        QVERIFY(!placed[i].text.back().isHighSurrogate());
    }
}

void tst_WrapEdges::unchangedTextsAreWrittenAsBefore()
{
    std::array<QString, BlockCount> texts;
    for (int b = 0; b < BlockCount; ++b)
        texts[b] = QStringLiteral("Лиса %1 бежала\r\nпо тропинке и думала о зиме").arg(b);
    texts[3] = QString(50'000, QChar(0x0436));

    WrappedTexts wrapped;
    const QChar *normalised = nullptr;
    // The same layout again, another one, and back.
    for (const int width : { 663, 663, 1920, 663 }) {
        Surface kept, fresh;
        FlowchartLayout layout;
        drawFlowchart(kept, layout, width, 554);
        drawFlowchart(fresh, layout, width, 554);
        wrapped.draw(true, texts, layout, kept, FarBeyondAnyScreen);
        std::array<QString, BlockCount> copy = texts;
        drawBlockTexts(true, copy, layout, fresh);
        QCOMPARE(kept.ops(), fresh.ops());
        QCOMPARE(texts, copy);
        // Normalised once, and never copied again.
        if (!normalised)
            normalised = texts[0].constData();
        QCOMPARE(texts[0].constData(), normalised);
    }
}

void tst_WrapEdges::changedTextIsNormalisedAgain_data()
{
    QTest::addColumn<int>("change");
    QTest::newRow("a new text") << 0;
    QTest::newRow("a character changed in place") << 1;
    QTest::newRow("a line break appended") << 2;
    QTest::newRow("a copy of another text") << 3;
}

void tst_WrapEdges::changedTextIsNormalisedAgain()
{
    QFETCH(int, change);
    FlowchartLayout layout;
    Surface surface;
    drawFlowchart(surface, layout, 663, 554);
    std::array<QString, BlockCount> texts;
    texts[0] = QStringLiteral("жила\r\nлиса");
    texts[1] = QStringLiteral("ещё\nвопрос");
    WrappedTexts wrapped;
    wrapped.draw(true, texts, layout, surface, FarBeyondAnyScreen);
    QCOMPARE(texts[0], QStringLiteral("жила  лиса"));

    switch (change) {
    case 0:
        texts[0] = QStringLiteral("новая\rглава");
        break;
    case 1:
        texts[0][4] = QLatin1Char('\n');
        break;
    case 2:
        texts[0].append(QStringLiteral("\r\nконец"));
        break;
    case 3:
        texts[0] = QStringLiteral("и\r\nснова");
        texts[2] = texts[0];
        break;
    }
    std::array<QString, BlockCount> expected = texts;
    for (QString &text : expected)
        text = normaliseLineBreaks(text);
    Surface fresh;
    drawFlowchart(surface, layout, 663, 554);
    drawFlowchart(fresh, layout, 663, 554);
    wrapped.draw(true, texts, layout, surface, FarBeyondAnyScreen);
    drawBlockTexts(true, expected, layout, fresh);
    QCOMPARE(texts, expected);
    QCOMPARE(opTexts(surface), opTexts(fresh));
    QCOMPARE(surface.ops(), fresh.ops());
}

QTEST_MAIN(tst_WrapEdges)
#include "tst_wrapedges.moc"
