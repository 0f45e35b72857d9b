#include "app/ProgramStart.h"
#include "editor/EditorWindow.h"
#include "flowchart/FlowchartPath.h"
#include "reader/ReadingWindow.h"
#include "speech/ReadingAloud.h"
#include "story/StoryDocument.h"
#include "support/FindWindow.h"
#include "support/KeyInput.h"
#include "support/ScriptedDialogs.h"
#include "support/SpeechDaemon.h"
#include "widgets/PictureBox.h"
#include "widgets/QtDialogs.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include <memory>

using Answer = Dialogs::Answer;

namespace {

QImage solid(QColor colour)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

void trigger(QWidget *window, const char *name)
{
    auto *action = window->findChild<QAction *>(QLatin1String(name));
    QVERIFY2(action, name);
    action->trigger();
}

// Where the first line of a box's text starts and ends, in the box.
std::pair<qreal, qreal> lineSpan(QTextEdit *box)
{
    const QTextBlock block = box->document()->firstBlock();
    const QTextLine line = block.layout()->lineAt(0);
    const qreal x = box->document()->documentLayout()->blockBoundingRect(block).x();
    return { x + line.naturalTextRect().left(), x + line.naturalTextRect().right() };
}

// What a real Qt box showed before the test answered it.
struct SeenBox {
    QString kind;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool yesIsDefault = false;
    QString startValue;
    QRect frame;
};

// Answers the boxes in turn as they open: "yes" and "no" a question, any
// other string an input box.
std::function<bool()> answerInTurn(QList<SeenBox> *seen, const QStringList &script)
{
    QList<std::function<void(QWidget *)>> steps;
    for (const QString &answer : script) {
        steps << [seen, answer](QWidget *modal) {
            SeenBox box;
            box.title = modal->windowTitle();
            box.frame = modal->frameGeometry();
            if (auto *question = qobject_cast<QMessageBox *>(modal)) {
                box.kind = QStringLiteral("ask");
                box.text = question->text();
                box.icon = question->icon();
                box.yesIsDefault = question->defaultButton() == question->button(QMessageBox::Yes);
                seen->append(box);
                question
                    ->button(answer == QLatin1String("yes") ? QMessageBox::Yes : QMessageBox::No)
                    ->click();
            } else if (auto *input = qobject_cast<QInputDialog *>(modal)) {
                box.kind = QStringLiteral("input");
                box.text = input->labelText();
                box.startValue = input->textValue();
                seen->append(box);
                input->setTextValue(answer);
                input->accept();
            } else {
                seen->append(box);
                modal->close();
            }
        };
    }
    return answerModals(steps, 30000);
}

} // namespace

class tst_ReadingWindow : public QObject {
    Q_OBJECT

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

private slots:
    void init();
    void cleanup();

    void design();
    void paths_data();
    void paths();
    void emptyStory();
    void exitKeepsContentsAndReadsAgain();
    void closingBuildsFreshWindow();
    void pictureChosenAfterWalkShowsNextTime();
    void reactivationDoesNotWalkAgain();
    void realBoxes();
    void readAloud();

private:
    void startEditor(Dialogs &dialogs);
    ReadingWindow *read(
        Answer first, Answer second, std::optional<QString> title, std::optional<QString> name);

    StoryDocument m_story;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<EditorWindow> m_editor;
};

void tst_ReadingWindow::init()
{
    m_story = StoryDocument();
    for (int b = 0; b < BlockCount; ++b)
        m_story.blockTexts[b] = QStringLiteral("блок%1").arg(b);
    m_dialogs = ScriptedDialogs();
    startEditor(m_dialogs);
}

void tst_ReadingWindow::cleanup()
{
    // The reading window goes with the editor.
    m_editor.reset();
    for (QWidget *window : QApplication::topLevelWidgets())
        window->close();
}

void tst_ReadingWindow::startEditor(Dialogs &dialogs)
{
    m_editor.reset();
    m_editor = std::make_unique<EditorWindow>(m_story, dialogs);
    connectReadingWindow(*m_editor, m_story, dialogs);
    for (int k = 0; k < FrameCount; ++k)
        m_editor->pictureFrame(k)->setPicture(solid(QColor::fromHsv(k * 90, 255, 255)));
    m_editor->show();
    QTRY_VERIFY(m_editor->isActiveWindow());
}

ReadingWindow *tst_ReadingWindow::read(
    Answer first, Answer second, std::optional<QString> title, std::optional<QString> name)
{
    const qsizetype before = m_dialogs.calls.size();
    m_dialogs.answers << first << second;
    m_dialogs.inputs << title << name;
    trigger(m_editor.get(), "MnuRead");
    // The walk asks four times; its last steps follow the last box at once.
    [&] { QTRY_COMPARE(m_dialogs.calls.size(), before + 4); }();
    if (QTest::currentTestFailed())
        return nullptr;
    return findWindow<ReadingWindow>();
}

void tst_ReadingWindow::design()
{
    ReadingWindow *reading = read(Answer::No, Answer::No, QString(), QString());
    QVERIFY(reading);
    QVERIFY(reading->isVisible());
    QVERIFY(!reading->isModal());
    QVERIFY(!m_editor->isVisible());
    QTRY_VERIFY(reading->isActiveWindow());
    QCOMPARE(reading->windowTitle(), QStringLiteral("Чтение рассказа с выбором продолжения"));
    QCOMPARE(reading->content()->size(), QSize(532, 360));
    QCOMPARE(reading->content()->mapToGlobal(QPoint(0, 0)), QPoint(94, 112));
    QCOMPARE(reading->content()->palette().color(QPalette::Window), QColor(Qt::white));

    QCOMPARE(reading->titleBox()->geometry(), QRect(8, 16, 225, 49));
    QCOMPARE(reading->readerBox()->geometry(), QRect(8, 72, 225, 41));
    QCOMPARE(reading->endingPicture()->geometry(), QRect(8, 168, 225, 185));
    QCOMPARE(reading->storyBox()->geometry(), QRect(248, 8, 273, 337));
    QCOMPARE(reading->titleBox()->font().pointSizeF(), 13.5);
    QCOMPARE(reading->readerBox()->font().pointSizeF(), 12.0);
    QCOMPARE(reading->storyBox()->font().pointSizeF(), 12.0);
    QCOMPARE(reading->titleBox()->palette().color(QPalette::Text), QColor(Qt::black));
    QCOMPARE(reading->storyBox()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(reading->titleBox()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(reading->readerBox()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    // The title is centred and the reader line right-aligned, text set after
    // the design as well.
    reading->titleBox()->setPlainText(QStringLiteral("ёж"));
    const auto [left1, right1] = lineSpan(reading->titleBox());
    const qreal width1 = reading->titleBox()->document()->textWidth();
    QVERIFY2(qAbs(left1 - (width1 - right1)) < 3, qPrintable(QString::number(left1)));
    const auto [left2, right2] = lineSpan(reading->readerBox());
    QVERIFY(left2 > 50);
    QVERIFY(reading->readerBox()->document()->textWidth() - right2 < 8);

    QList<QAction *> bar = reading->menuBar()->actions();
    // «Повторить» only while reading aloud is on.
    QCOMPARE(bar.size(), 3);
    QCOMPARE(bar[1]->objectName(), QStringLiteral("MnuRepeat"));
    QVERIFY(!bar[1]->isVisible());
    bar.removeAt(1);
    QCOMPARE(bar[0]->objectName(), QStringLiteral("MnuPrint"));
    QCOMPARE(bar[0]->text(), QStringLiteral("&Печать рассказа"));
    QCOMPARE(bar[1]->objectName(), QStringLiteral("MnuExit"));
    QCOMPARE(bar[1]->text(), QStringLiteral("&Выход"));
    QVERIFY(!bar[0]->menu() && !bar[1]->menu());
}

void tst_ReadingWindow::paths_data()
{
    QTest::addColumn<QList<int>>("blocks");
    for (const FlowchartPath &way : FlowchartPath::everyWay())
        QTest::addRow("to block %d", way.blocks.last()) << way.blocks;
}

void tst_ReadingWindow::paths()
{
    QFETCH(QList<int>, blocks);
    // Along each way through the chart: its questions (every other block)
    // asked and answered, its chapters in the story box, its ending's picture.
    QString story;
    for (qsizetype i = 0; i < blocks.size(); i += 2)
        story += m_story.blockTexts[blocks[i]] + QLatin1Char(' ');
    const auto answer = [&](qsizetype at) {
        return *FlowchartPath { blocks }.exitAt(blocks[at]) ? Answer::Yes : Answer::No;
    };
    const StoryDocument before = m_story;
    m_story.showBlockTexts = true;
    m_story.currentBlock = 7;

    ReadingWindow *reading
        = read(answer(1), answer(3), QStringLiteral("Лесная сказка"), QStringLiteral("Маша"));
    QVERIFY(reading);
    QCOMPARE(reading->storyBox()->toPlainText(), story);
    QCOMPARE(reading->titleBox()->toPlainText(), QStringLiteral("Лесная сказка"));
    QCOMPARE(reading->readerBox()->toPlainText(), QStringLiteral("Читатель - Маша"));
    // The very picture the frame holds, shared rather than loaded again.
    QCOMPARE(reading->endingPicture()->picture().cacheKey(),
        m_editor->pictureFrame(FlowchartBlocks[blocks.last()].frame)->picture().cacheKey());

    const QList<ScriptedDialogs::Call> &calls = m_dialogs.calls;
    QCOMPARE(m_dialogs.kinds(), QStringList({ "ask", "ask", "input", "input" }));
    QCOMPARE(calls[0].text, m_story.blockTexts[blocks[1]]);
    QCOMPARE(calls[0].title, QStringLiteral("Выбор продолжения"));
    QCOMPARE(calls[1].text, m_story.blockTexts[blocks[3]]);
    QCOMPARE(calls[1].title, QString()); // the application's title
    QCOMPARE(calls[2].text, QStringLiteral("Придумай название рассказа"));
    QCOMPARE(calls[2].title, QStringLiteral("Тропинец"));
    QCOMPARE(calls[3].text, QStringLiteral("Рассказ читал:"));
    QCOMPARE(calls[3].title, QStringLiteral("Тропинец"));
    // Read aloud off, no box has «Повторить».
    for (const ScriptedDialogs::Call &call : calls)
        QVERIFY(!call.reading.repeat);

    // Reading never writes the story.
    QVERIFY(m_story.blockTexts == before.blockTexts);
    QCOMPARE(m_story.showBlockTexts, true);
    QCOMPARE(m_story.currentBlock, qint16(7));
}

void tst_ReadingWindow::emptyStory()
{
    trigger(m_editor.get(), "MnuNew");
    ReadingWindow *reading = read(Answer::Yes, Answer::No, std::nullopt, std::nullopt);
    QVERIFY(reading);
    QCOMPARE(m_dialogs.calls[0].text, QString());
    QCOMPARE(m_dialogs.calls[1].text, QString());
    QCOMPARE(reading->storyBox()->toPlainText(), QStringLiteral("   "));
    QVERIFY(reading->endingPicture()->picture().isNull());
    QCOMPARE(reading->titleBox()->toPlainText(), QString());
    QCOMPARE(reading->readerBox()->toPlainText(), QString());
}

void tst_ReadingWindow::exitKeepsContentsAndReadsAgain()
{
    ReadingWindow *reading
        = read(Answer::Yes, Answer::Yes, QStringLiteral("Первое"), QStringLiteral("Маша"));
    QVERIFY(reading);
    trigger(reading, "MnuExit");
    QVERIFY(!reading->isVisible());
    QVERIFY(m_editor->isVisible());
    QTRY_VERIFY(m_editor->isActiveWindow());
    // Hidden, the window keeps what it shows.
    QCOMPARE(findWindow<ReadingWindow>(), reading);
    QCOMPARE(reading->titleBox()->toPlainText(), QStringLiteral("Первое"));
    QCOMPARE(reading->storyBox()->toPlainText(), QStringLiteral("блок0 блок3 блок9 "));

    // The next reader cancels the title and gives no name.
    QVERIFY(read(Answer::No, Answer::No, std::nullopt, QString()) == reading);
    QCOMPARE(reading->titleBox()->toPlainText(), QString());
    QCOMPARE(reading->storyBox()->toPlainText(), QStringLiteral("блок0 блок2 блок6 "));
    QCOMPARE(reading->readerBox()->toPlainText(), QStringLiteral("Читатель - Маша"));
    QCOMPARE(reading->endingPicture()->picture().cacheKey(),
        m_editor->pictureFrame(0)->picture().cacheKey());

    // A name given next time replaces the line, with no separator of its own.
    trigger(reading, "MnuExit");
    QTRY_VERIFY(m_editor->isActiveWindow());
    read(Answer::No, Answer::No, QString(), QStringLiteral(" Коля"));
    QCOMPARE(reading->readerBox()->toPlainText(), QStringLiteral("Читатель -  Коля"));
}

void tst_ReadingWindow::closingBuildsFreshWindow()
{
    QPointer<ReadingWindow> first
        = read(Answer::Yes, Answer::Yes, QStringLiteral("Название"), QStringLiteral("Маша"));
    QVERIFY(first);
    QVERIFY(first->close());
    QVERIFY(m_editor->isVisible());
    QTRY_VERIFY(m_editor->isActiveWindow());
    QTRY_VERIFY(!first);
    QVERIFY(!findWindow<ReadingWindow>());

    ReadingWindow *second = read(Answer::No, Answer::Yes, std::nullopt, std::nullopt);
    QVERIFY(second);
    QCOMPARE(second->readerBox()->toPlainText(), QString());
    QCOMPARE(second->titleBox()->toPlainText(), QString());
    QCOMPARE(second->storyBox()->toPlainText(), QStringLiteral("блок0 блок2 блок7 "));
}

void tst_ReadingWindow::pictureChosenAfterWalkShowsNextTime()
{
    ReadingWindow *reading = read(Answer::Yes, Answer::No, QString(), QString());
    QVERIFY(reading);
    const QImage before = m_editor->pictureFrame(2)->picture();
    const QImage later = solid(Qt::darkGreen);
    m_editor->pictureFrame(2)->setPicture(later);
    QCOMPARE(reading->endingPicture()->picture(), before);
    QVERIFY(reading->endingPicture()->picture() != later);

    trigger(reading, "MnuExit");
    QTRY_VERIFY(m_editor->isActiveWindow());
    read(Answer::Yes, Answer::No, QString(), QString());
    QCOMPARE(reading->endingPicture()->picture(), later);

    // A frame emptied since leaves the control empty.
    trigger(reading, "MnuExit");
    QTRY_VERIFY(m_editor->isActiveWindow());
    m_editor->pictureFrame(2)->clearPicture();
    read(Answer::Yes, Answer::No, QString(), QString());
    QVERIFY(reading->endingPicture()->picture().isNull());
}

void tst_ReadingWindow::reactivationDoesNotWalkAgain()
{
    ReadingWindow *reading = read(Answer::Yes, Answer::Yes, QString(), QString());
    QVERIFY(reading);
    QTRY_VERIFY(reading->isActiveWindow());
    const qsizetype asked = m_dialogs.calls.size();

    // As when a box or the print dialog closes: the window is activated anew.
    QWidget other;
    other.show();
    other.activateWindow();
    QTRY_VERIFY(other.isActiveWindow());
    reading->activateWindow();
    QTRY_VERIFY(reading->isActiveWindow());
    QCoreApplication::processEvents();
    QCOMPARE(m_dialogs.calls.size(), asked);

    m_dialogs.printer = [](QPrinter &) { return false; };
    trigger(reading, "MnuPrint");
    QCoreApplication::processEvents();
    QCOMPARE(m_dialogs.kinds().mid(asked), QStringList({ "print" }));
}

void tst_ReadingWindow::realBoxes()
{
    QtDialogs dialogs;
    startEditor(dialogs);
    m_story.blockTexts[1] = QStringLiteral("Пойдёт ли ёжик в лес?");
    QList<SeenBox> seen;
    const auto answered = answerInTurn(&seen, { "yes", "no", "Ёжик в лесу", "Маша" });
    trigger(m_editor.get(), "MnuRead");
    QTRY_COMPARE_WITH_TIMEOUT(seen.size(), 4, 30000);
    ReadingWindow *reading = findWindow<ReadingWindow>();
    QTRY_VERIFY(answered() && !QApplication::activeModalWidget());

    const QStringList kinds = { "ask", "ask", "input", "input" };
    const QStringList titles = { "Выбор продолжения", "Тропинец", "Тропинец", "Тропинец" };
    const QStringList texts
        = { "Пойдёт ли ёжик в лес?", "блок5", "Придумай название рассказа", "Рассказ читал:" };
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(seen[i].kind, kinds[i]);
        QCOMPARE(seen[i].title, titles[i]);
        QCOMPARE(seen[i].text, texts[i]);
        if (seen[i].kind == QLatin1String("ask")) {
            QCOMPARE(seen[i].icon, QMessageBox::Question);
            QVERIFY(seen[i].yesIsDefault);
        } else {
            QCOMPARE(seen[i].startValue, QString());
        }
    }

    // Run at 1024 × 768 and at 1280 × 1024 (tests/CMakeLists.txt): every
    // box leaves the story being read in view, inside the screen.
    const QRect story(reading->storyBox()->mapToGlobal(QPoint(0, 0)), reading->storyBox()->size());
    for (const SeenBox &box : seen) {
        QVERIFY2(!box.frame.intersects(story)
                && reading->screen()->availableGeometry().contains(box.frame),
            qPrintable(QVariant(box.frame).toString()));
    }
    QCOMPARE(reading->storyBox()->toPlainText(), QStringLiteral("блок0 блок3 блок8 "));
    QCOMPARE(reading->titleBox()->toPlainText(), QStringLiteral("Ёжик в лесу"));
    QCOMPARE(reading->readerBox()->toPlainText(), QStringLiteral("Читатель - Маша"));
    QCOMPARE(reading->endingPicture()->picture().cacheKey(),
        m_editor->pictureFrame(2)->picture().cacheKey());
}

void tst_ReadingWindow::readAloud()
{
#ifndef TROPINETS_WITH_SPEECH
    QSKIP("built without Qt TextToSpeech");
#endif
    SpeechDaemon daemon;
    if (const QString failed = daemon.start(); !failed.isEmpty())
        QSKIP(qPrintable(failed));
    auto *slow = m_editor->findChild<QAction *>(QStringLiteral("MnuSlow"));
    QVERIFY(!slow->isEnabled());
    trigger(m_editor.get(), "MnuSpeak");
    QVERIFY(slow->isEnabled());
    // Each box is answered once what it shows has been said, and said again
    // by its «Повторить».
    m_dialogs.whenShown = [&] {
        const qsizetype said = m_dialogs.calls.size() * 2 - 1;
        QVERIFY(QTest::qWaitFor([&] { return daemon.spoken().size() >= said; }, 20000));
        m_dialogs.calls.constLast().reading.repeat();
        QVERIFY(QTest::qWaitFor([&] { return daemon.spoken().size() > said; }, 20000));
    };
    ReadingWindow *reading = read(Answer::Yes, Answer::No, QString(), QString());
    QVERIFY(reading);
    QTRY_COMPARE_WITH_TIMEOUT(daemon.spoken().size(), 9, 20000);
    QCOMPARE(daemon.spoken(),
        QStringList({ "блок0. блок1.", "блок1. блок0.", "блок3. блок5.", "блок5. блок3.",
            "блок8. Придумай название рассказа.", "Придумай название рассказа. блок8.",
            "Кто читал рассказ?", "Кто читал рассказ? блок8.", "блок0 блок3 блок8" }));
    // The capture voice speaks for half a minute: it is still speaking once
    // its start has come back through the speech server.
    QTRY_VERIFY_WITH_TIMEOUT(m_editor->readingAloud().isSpeaking(), 20000);

    // Slower from the next text on; all before at the one normal rate, slower
    // than the voice's own.
    slow->trigger();
    trigger(reading, "MnuRepeat");
    QTRY_COMPARE_WITH_TIMEOUT(daemon.spoken().size(), 10, 20000);
    QCOMPARE(daemon.spoken().constLast(), QStringLiteral("блок0 блок3 блок8"));
    const QList<double> rates = daemon.rates();
    QCOMPARE(rates.size(), 10);
    QVERIFY(rates[0] < 0);
    QCOMPARE(rates.mid(0, 9), QList<double>(9, rates[0]));
    QVERIFY2(rates[9] < rates[0], qPrintable(QString::number(rates[9])));
    // Moving on silences it.
    trigger(reading, "MnuExit");
    QTRY_VERIFY_WITH_TIMEOUT(!m_editor->readingAloud().isSpeaking(), 5000);
}

QTEST_MAIN(tst_ReadingWindow)
#include "tst_readingwindow.moc"
