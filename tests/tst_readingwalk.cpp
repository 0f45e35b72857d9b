#include "flowchart/FlowchartPath.h"
#include "reading/ReadingWalk.h"

#include <QTest>

using Answer = ReadingWalk::Answer;

Q_DECLARE_METATYPE(ReadingWalk::Answer)

namespace {

BlockTexts numberedStory()
{
    BlockTexts texts;
    for (int b = 0; b < BlockCount; ++b)
        texts[b] = QStringLiteral("b%1").arg(b);
    return texts;
}

// The trace of a path so far outlines its blocks and runs unbroken from
// «Начало» into each in turn: every line goes on from the last, or from the
// block it has just reached (a pixel below it at most), and the arrows end on
// the blocks' tops. No path, no trace.
void checkTrace(const FlowchartPath &path)
{
    FlowchartLayout layout;
    layout.compute(1000, 700);
    const PathTrace trace = tracePath(path, layout);
    QCOMPARE(trace.outlines.size(), path.blocks.size());
    qsizetype reached = 0;
    for (qsizetype i = 0; i < trace.arrows.size(); ++i) {
        const QLineF &line = trace.arrows[i];
        if (i == 0)
            QCOMPARE(line.y1(), trace.start.boundingRect().bottom());
        else if (line.p1() != trace.arrows[i - 1].p2())
            QVERIFY(reached > 0
                && trace.outlines[reached - 1]
                       .boundingRect()
                       .adjusted(0, 0, 0, 1)
                       .contains(line.p1()));
        if (reached < trace.outlines.size()
            && line.p2().y() == trace.outlines[reached].boundingRect().top()
            && trace.outlines[reached].boundingRect().contains(line.p2())) {
            QCOMPARE(trace.outlines[reached], layout.blockOutline(path.blocks[reached]));
            ++reached;
        }
    }
    QCOMPARE(reached, path.blocks.size());
    QVERIFY(tracePath({}, layout).arrows.isEmpty());
}

} // namespace

class tst_ReadingWalk : public QObject {
    Q_OBJECT

private slots:
    void walks_data();
    void walks();
    void emptyStory();
    void textsInsertedAsStored();
};

void tst_ReadingWalk::walks_data()
{
    // The four readings as the story's roles give them: Yes takes a
    // question's «Истина» exit, No its «Ложь».
    QTest::addColumn<Answer>("first");
    QTest::addColumn<Answer>("second");
    QTest::addColumn<int>("middle");
    QTest::addColumn<int>("question");
    QTest::addColumn<int>("ending");
    QTest::addColumn<int>("frame");
    QTest::newRow("yes yes") << Answer::Yes << Answer::Yes << 3 << 5 << 9 << 3;
    QTest::newRow("yes no") << Answer::Yes << Answer::No << 3 << 5 << 8 << 2;
    QTest::newRow("no yes") << Answer::No << Answer::Yes << 2 << 4 << 7 << 1;
    QTest::newRow("no no") << Answer::No << Answer::No << 2 << 4 << 6 << 0;
}

void tst_ReadingWalk::walks()
{
    QFETCH(Answer, first);
    QFETCH(Answer, second);
    QFETCH(int, middle);
    QFETCH(int, question);
    QFETCH(int, ending);
    QFETCH(int, frame);
    const QString story = QStringLiteral("b0 b%1 b%2 ").arg(middle).arg(ending);

    // Step by step, as the window asks, with the path read so far and its
    // trace.
    ReadingWalk reading(numberedStory());
    QCOMPARE(reading.story(), QStringLiteral("b0 "));
    QCOMPARE(reading.firstQuestionText(), QStringLiteral("b1"));
    QCOMPARE(reading.frame(), -1);
    QCOMPARE(reading.path().blocks, QList({ 0, 1 }));
    checkTrace(reading.path());
    reading.answerFirst(first);
    QCOMPARE(reading.secondQuestionText(), QStringLiteral("b%1").arg(question));
    QCOMPARE(reading.story(), story.left(6));
    QCOMPARE(reading.path().blocks, QList({ 0, 1, middle, question }));
    checkTrace(reading.path());
    reading.answerSecond(second);
    QCOMPARE(reading.story(), story);
    QCOMPARE(reading.frame(), frame);
    const FlowchartPath path = reading.path();
    QCOMPARE(path.blocks, QList({ 0, 1, middle, question, ending }));
    checkTrace(path);
    QCOMPARE(path.exitAt(1), std::optional(first == Answer::Yes));
    QCOMPARE(path.exitAt(question), std::optional(second == Answer::Yes));
    QCOMPARE(path.exitAt(ending), std::nullopt);
    QVERIFY(FlowchartPath::everyWay().contains(path));
    QCOMPARE(FlowchartPath::everyWay().size(), 4);

    // At once, as the page and the printout take it.
    const ReadingWalk::Result result = ReadingWalk::walk(numberedStory(), first, second);
    QCOMPARE(result.story, story);
    QCOMPARE(result.middleChapter, middle);
    QCOMPARE(result.secondQuestion, question);
    QCOMPARE(result.finalChapter, ending);
    QCOMPARE(result.frame, frame);
}

void tst_ReadingWalk::emptyStory()
{
    const BlockTexts empty;
    for (Answer first : { Answer::Yes, Answer::No }) {
        for (Answer second : { Answer::Yes, Answer::No }) {
            ReadingWalk reading(empty);
            QCOMPARE(reading.firstQuestionText(), QString());
            reading.answerFirst(first);
            QCOMPARE(reading.secondQuestionText(), QString());
            reading.answerSecond(second);
            QCOMPARE(reading.story(), QStringLiteral("   "));
        }
    }
}

void tst_ReadingWalk::textsInsertedAsStored()
{
    // No trimming and no separators of its own beyond the one space.
    BlockTexts texts;
    texts[0] = QStringLiteral("  Жил-был ёж. ");
    texts[3] = QStringLiteral("Он пошёл\r\nв лес.");
    texts[9] = QStringLiteral("\tКонец\r\n");
    const auto result = ReadingWalk::walk(texts, Answer::Yes, Answer::Yes);
    QCOMPARE(result.story, QStringLiteral("  Жил-был ёж.  Он пошёл\r\nв лес. \tКонец\r\n "));
    QCOMPARE(ReadingWalk::appendChapter(QStringLiteral("a"), QString()), QStringLiteral("a "));
}

QTEST_MAIN(tst_ReadingWalk)
#include "tst_readingwalk.moc"
