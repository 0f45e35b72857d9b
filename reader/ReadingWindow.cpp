#include "reader/ReadingWindow.h"

#include "flowchart/SpokenWords.h"
#include "reading/ReadingWalk.h"
#include "reading/ReadingWords.h"
#include "reading/SpokenBoxes.h"
#include "speech/ReadingAloud.h"
#include "story/StoryDocument.h"
#include "widgets/ComingBack.h"
#include "widgets/Dialogs.h"
#include "widgets/PictureBox.h"
#include "widgets/WindowDesign.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPointer>
#include <QTextEdit>

namespace ReadDesign {
inline constexpr int ClientWidth = twips(7980);
inline constexpr int ClientHeight = twips(5400);
inline constexpr int ClientLeft = twips(1410);
inline constexpr int ClientTop = twips(1680);
} // namespace ReadDesign

namespace {

ReadingWalk::Answer toWalk(Dialogs::Answer answer)
{
    return answer == Dialogs::Answer::Yes ? ReadingWalk::Answer::Yes : ReadingWalk::Answer::No;
}

// What is heard of a box: the chapter just reached, then what the box shows.
QString spokenBox(const QString &chapter, const QString &shown)
{
    return (chapter + QLatin1Char(' ') + shown).trimmed();
}

QTextEdit *createTextBox(QWidget *parent, const char *name, const QRect &geometry, double points,
    Qt::Alignment alignment, bool scrollBar)
{
    auto *box = new QTextEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(geometry);
    box->setFont(designFont(points));
    box->setAcceptRichText(false);
    box->setTabChangesFocus(true);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(scrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    // The document's own option keeps the alignment through every new text.
    QTextOption option = box->document()->defaultTextOption();
    option.setAlignment(alignment);
    box->document()->setDefaultTextOption(option);
    return box;
}

} // namespace

ReadingWindow::ReadingWindow(
    const StoryDocument &story, Dialogs &dialogs, ReadingAloud &aloud, EndingPictures pictures)
    : m_story(story)
    , m_dialogs(dialogs)
    , m_aloud(aloud)
    , m_endingPictures(std::move(pictures))
{
    setObjectName(QStringLiteral("Frmread"));
    setWindowTitle(ReadingWords::Caption);
    // Closed by its box the window is unloaded; the next Read builds it anew.
    setAttribute(Qt::WA_DeleteOnClose);
    createMenus();
    createControls();
    // Each showing walks the story once; the activations that follow the
    // walk's own boxes must not start another walk. The boxes open once the
    // activation has been handled in full.
    connect(new ComingBack(this), &ComingBack::cameBack, this, &ReadingWindow::walk,
        Qt::QueuedConnection);

    const int menuHeight = menuBar()->sizeHint().height();
    setFixedSize(ReadDesign::ClientWidth, ReadDesign::ClientHeight + menuHeight);
    setGeometry(ReadDesign::ClientLeft, ReadDesign::ClientTop - menuHeight, ReadDesign::ClientWidth,
        ReadDesign::ClientHeight + menuHeight);
}

void ReadingWindow::createMenus()
{
    const auto command
        = [this](const char *name, const QString &caption, void (ReadingWindow::*handler)()) {
              auto *action = new QAction(caption, this);
              action->setObjectName(QLatin1String(name));
              // Whatever the reader does next, the voice falls silent first.
              connect(action, &QAction::triggered, this, [this] { m_aloud.stop(); });
              connect(action, &QAction::triggered, this, handler);
              menuBar()->addAction(action);
              return action;
          };
    command("MnuPrint", QLatin1Char('&') + ReadingWords::Print, &ReadingWindow::print);
    // Only while reading aloud is on: otherwise the bar stays as it was.
    // Its access letter is the second: «П» is printing's.
    QString repeat = ReadingWords::Repeat;
    m_repeatItem = command("MnuRepeat", repeat.insert(1, QLatin1Char('&')), &ReadingWindow::repeat);
    m_repeatItem->setVisible(false);
    command("MnuExit", QStringLiteral("&Выход"), &ReadingWindow::backToEditor);
}

void ReadingWindow::createControls()
{
    m_content = new QWidget(this);
    m_content->setObjectName(QStringLiteral("client"));
    m_content->setFixedSize(ReadDesign::ClientWidth, ReadDesign::ClientHeight);
    fillBackground(*m_content, Qt::white);
    setCentralWidget(m_content);

    m_titleBox = createTextBox(m_content, "Text1",
        QRect(twips(120), twips(240), twips(3375), twips(735)), 13.5, Qt::AlignHCenter, false);
    QPalette black = m_titleBox->palette();
    black.setColor(QPalette::Text, Qt::black);
    m_titleBox->setPalette(black);

    m_readerBox = createTextBox(m_content, "Text2",
        QRect(twips(120), twips(1080), twips(3375), twips(615)), 12, Qt::AlignRight, false);

    m_endingPicture = new PictureBox(m_content);
    m_endingPicture->setObjectName(QStringLiteral("Imagei"));
    m_endingPicture->setGeometry(twips(120), twips(2520), twips(3375), twips(2775));

    m_storyBox = createTextBox(m_content, "Textr",
        QRect(twips(3720), twips(120), twips(4095), twips(5055)), 12, Qt::AlignLeft, true);

    m_titleBox->setAccessibleName(QStringLiteral("Название рассказа"));
    m_readerBox->setAccessibleName(QStringLiteral("Читатель"));
    m_endingPicture->setAccessibleName(QStringLiteral("Картинка к концовке"));
    m_storyBox->setAccessibleName(QStringLiteral("Рассказ"));
    setTabOrder(m_titleBox, m_readerBox);
    setTabOrder(m_readerBox, m_storyBox);
}

ReadingBox ReadingWindow::readingBox(const SpokenBox &spoken) const
{
    ReadingBox box;
    // Beside the whole window where the screen has room, else beside the
    // story being read.
    box.keepInView
        = { frameGeometry(), QRect(m_storyBox->mapToGlobal(QPoint(0, 0)), m_storyBox->size()) };
    if (m_aloud.isOn())
        box.repeat = [this, again = spoken.again] { m_aloud.say(again); };
    return box;
}

void ReadingWindow::walk()
{
    // A box runs its own event loop; the window must still be there after it.
    const QPointer<ReadingWindow> alive(this);

    m_repeatItem->setVisible(m_aloud.isOn());
    m_endingPicture->clearPicture();
    m_endingPicture->setAccessibleDescription(QString());
    m_titleBox->clear();
    ReadingWalk reading(m_story.blockTexts);
    // The story so far, and the path kept at every step: a reader may leave
    // at any question.
    const auto showSoFar = [&] {
        m_storyBox->setPlainText(reading.story());
        m_path = reading.path();
    };
    // The eye sees the story so far behind each box; the ear hears the
    // chapter just reached before the question. Read aloud, the box is said
    // until it is answered.
    const auto ask = [&](int question, const QString &title) {
        showSoFar();
        const SpokenBox spoken = spokenQuestion(m_story.blockTexts, question);
        m_aloud.say(spoken.opening);
        const QString chapter = spokenSentence(m_story.blockTexts[arrowInto(question).from]);
        return toWalk(
            m_dialogs.ask(this, m_story.blockTexts[question], title, chapter, readingBox(spoken)));
    };

    const ReadingWalk::Answer first
        = ask(ReadingWalk::FirstQuestion, ReadingWords::FirstQuestionTitle);
    if (!alive)
        return;
    m_aloud.stop();
    reading.answerFirst(first);
    // Given no title of its own, the box carries the application's.
    const ReadingWalk::Answer second = ask(reading.result().secondQuestion, QString());
    if (!alive)
        return;
    m_aloud.stop();
    reading.answerSecond(second);
    showSoFar();
    // The very picture the editor's frame shows now, not one loaded anew.
    const int frame = reading.frame();
    m_endingPicture->setPicture(m_endingPictures(frame));
    const QString picture = endingPictureDescription(
        m_story.picturePath(frame), !m_endingPicture->picture().isNull());
    m_endingPicture->setAccessibleDescription(picture);

    const int ending = reading.result().finalChapter;
    const SpokenBox titleSpoken = spokenTitlePrompt(m_story.blockTexts, ending);
    m_aloud.say(titleSpoken.opening);
    const QString heardEnding = spokenSentence(m_story.blockTexts[ending]);
    const QString title = m_dialogs
                              .input(this, ReadingWords::TitlePrompt, ApplicationTitle,
                                  spokenBox(heardEnding, picture), readingBox(titleSpoken))
                              .value_or(QString());
    if (!alive)
        return;
    m_aloud.stop();
    // Its label is a fragment: the ear hears a question.
    const SpokenBox nameSpoken = spokenReaderPrompt(m_story.blockTexts, ending);
    m_aloud.say(nameSpoken.opening);
    ReadingBox nameBox = readingBox(nameSpoken);
    nameBox.heard = ReadingWords::ReaderHeard;
    const QString name
        = m_dialogs.input(this, ReadingWords::ReaderPrompt, ApplicationTitle, QString(), nameBox)
              .value_or(QString());
    if (!alive)
        return;
    m_aloud.stop();

    m_titleBox->setPlainText(title);
    if (!name.isEmpty())
        m_readerBox->setPlainText(ReadingWords::ReaderLine + name);
    repeat();
}

void ReadingWindow::repeat()
{
    m_aloud.say(m_storyBox->toPlainText().trimmed());
}

void ReadingWindow::backToEditor()
{
    hide();
    emit finished(m_path);
}

void ReadingWindow::closeEvent(QCloseEvent *event)
{
    m_aloud.stop();
    hide();
    emit finished(m_path);
    event->accept();
}
