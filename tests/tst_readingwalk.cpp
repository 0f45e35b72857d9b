#include "flowchart/DrawFlowchart.h"
#include "flowchart/FlowchartPath.h"
#include "flowchart/Surface.h"
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

} // namespace

class tst_ReadingWalk : public QObject {
    Q_OBJECT

private slots:
    void paths_data();
    void paths();
    void stepByStepMatchesWholeWalk_data();
    void stepByStepMatchesWholeWalk();
    void emptyStory();
    void textsInsertedAsStored();
    void tracedPath_data();
    void tracedPath();
};

void tst_ReadingWalk::paths_data()
{
    QTest::addColumn<Answer>("first");
    QTest::addColumn<Answer>("second");
    QTest::addColumn<QString>("story");
    QTest::addColumn<int>("middle");
    QTest::addColumn<int>("question");
    QTest::addColumn<int>("ending");
    QTest::addColumn<int>("frame");

    QTest::newRow("yes yes") << Answer::Yes << Answer::Yes << "b0 b3 b9 " << 3 << 5 << 9 << 3;
    QTest::newRow("yes no") << Answer::Yes << Answer::No << "b0 b3 b8 " << 3 << 5 << 8 << 2;
    QTest::newRow("no yes") << Answer::No << Answer::Yes << "b0 b2 b7 " << 2 << 4 << 7 << 1;
    QTest::newRow("no no") << Answer::No << Answer::No << "b0 b2 b6 " << 2 << 4 << 6 << 0;
}

void tst_ReadingWalk::paths()
{
    QFETCH(Answer, first);
    QFETCH(Answer, second);
    QFETCH(QString, story);
    QFETCH(int, middle);
    QFETCH(int, question);
    QFETCH(int, ending);
    QFETCH(int, frame);

    const ReadingWalk::Result result = ReadingWalk::walk(numberedStory(), first, second);
    QCOMPARE(result.story, story);
    QCOMPARE(result.middleChapter, middle);
    QCOMPARE(result.secondQuestion, question);
    QCOMPARE(result.finalChapter, ending);
    QCOMPARE(result.frame, frame);
}

void tst_ReadingWalk::stepByStepMatchesWholeWalk_data()
{
    paths_data();
}

void tst_ReadingWalk::stepByStepMatchesWholeWalk()
{
    QFETCH(Answer, first);
    QFETCH(Answer, second);
    QFETCH(QString, story);
    QFETCH(int, question);
    QFETCH(int, frame);

    const BlockTexts texts = numberedStory();
    ReadingWalk reading(texts);
    QCOMPARE(reading.story(), QStringLiteral("b0 "));
    QCOMPARE(reading.firstQuestionText(), QStringLiteral("b1"));
    QCOMPARE(reading.frame(), -1);
    reading.answerFirst(first);
    QCOMPARE(reading.secondQuestionText(), texts[question]);
    QCOMPARE(reading.story(), story.left(6));
    reading.answerSecond(second);
    QCOMPARE(reading.story(), story);
    QCOMPARE(reading.frame(), frame);
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

void tst_ReadingWalk::tracedPath_data()
{
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<QList<int>>("blocks");
    QTest::newRow("no no") << QList { Answer::No, Answer::No } << QList { 0, 1, 2, 4, 6 };
    QTest::newRow("no yes") << QList { Answer::No, Answer::Yes } << QList { 0, 1, 2, 4, 7 };
    QTest::newRow("yes no") << QList { Answer::Yes, Answer::No } << QList { 0, 1, 3, 5, 8 };
    QTest::newRow("yes yes") << QList { Answer::Yes, Answer::Yes } << QList { 0, 1, 3, 5, 9 };
    QTest::newRow("left at the second question") << QList { Answer::Yes } << QList { 0, 1, 3, 5 };
    QTest::newRow("left at the first question") << QList<Answer>() << QList { 0, 1 };
}

void tst_ReadingWalk::tracedPath()
{
    QFETCH(QList<Answer>, answers);
    QFETCH(QList<int>, blocks);

    ReadingWalk reading(numberedStory());
    if (!answers.isEmpty())
        reading.answerFirst(answers[0]);
    if (answers.size() > 1)
        reading.answerSecond(answers[1]);
    const FlowchartPath path = reading.path();
    QCOMPARE(path.blocks, blocks);
    for (qsizetype i = 0; i < answers.size(); ++i)
        QCOMPARE(path.exitAt(blocks[1 + 2 * i]), std::optional(answers[i] == Answer::Yes));
    // The last block met has no answer: an ending, or a question left open.
    QCOMPARE(path.exitAt(blocks.last()).has_value(), false);

    // The trace runs along arrows the drawing draws.
    Surface drawing;
    FlowchartLayout layout;
    drawFlowchart(drawing, layout, 1000, 700);
    const PathTrace trace = tracePath(path, layout);
    QList<QLineF> drawn;
    for (const SurfaceOp &op : drawing.ops())
        drawn << QLineF(op.p1, op.p2);
    for (const QLineF &arrow : trace.arrows)
        QVERIFY(drawn.contains(arrow));
    QCOMPARE(trace.outlines.size(), blocks.size());
    QVERIFY(tracePath({}, layout).arrows.isEmpty());
}

QTEST_MAIN(tst_ReadingWalk)
#include "tst_readingwalk.moc"
