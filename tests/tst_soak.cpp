#include "app/ProgramStart.h"
#include "editor/EditorWindow.h"
#include "editor/HelpWindow.h"
#include "editor/TextEntryWindow.h"
#include "reader/ReadingWindow.h"
#include "story/StoryDocument.h"
#include "support/FindWindow.h"
#include "support/KeyInput.h"
#include "support/ScriptedDialogs.h"
#include "widgets/ClickLabel.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <memory>

using Answer = Dialogs::Answer;

namespace {

// Each window is opened and closed this many times. Every other time it is
// closed by its close box, which unloads it, so the next opening builds it
// afresh; the other times it only hides and stays loaded.
constexpr int Rounds = 200;

// What is alive: top-level windows, widgets and windows of the whole
// program, the editor's own objects, and the objects the application holds.
// Qt makes some of the latter on first use and keeps them (its gesture
// manager and the gestures of text boxes), so those are counted from after a
// first round.
using Census = QList<qsizetype>;
constexpr qsizetype Widgets = 4; // the counts before the application's objects

// Unloaded windows go at the next turn of the event loop; take them now.
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Census census(const QObject &editor)
{
    settle();
    return { QApplication::topLevelWidgets().size(), QApplication::allWidgets().size(),
        QGuiApplication::allWindows().size(), editor.findChildren<QObject *>().size(),
        qApp->findChildren<QObject *>().size() };
}

} // namespace

class tst_Soak : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openAndClose_data();
    void openAndClose();

private:
    void enterText(int round);
    void showHelp(int round);
    void read(int round);
    bool closeBox(int round) const { return round % 2 == 1; }

    std::unique_ptr<StoryDocument> m_story;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<EditorWindow> m_editor;
};

void tst_Soak::init()
{
    m_story = std::make_unique<StoryDocument>();
    for (int b = 0; b < BlockCount; ++b)
        m_story->blockTexts[b] = QStringLiteral("глава %1").arg(b);
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_editor = std::make_unique<EditorWindow>(*m_story, *m_dialogs);
    connectReadingWindow(*m_editor, *m_story, *m_dialogs);
    m_editor->show();
    QTRY_VERIFY(m_editor->isActiveWindow());
}

void tst_Soak::cleanup()
{
    m_editor.reset();
    m_dialogs.reset();
    m_story.reset();
    for (QWidget *window : QApplication::topLevelWidgets())
        window->close();
    settle();
}

void tst_Soak::enterText(int round)
{
    // Between two clicks of the pupil the event loop turns, and what was
    // unloaded is gone.
    settle();
    const int block = round % BlockCount;
    const QString text = QStringLiteral("Лиса %1 пошла\nк реке").arg(round);
    const bool byCloseBox = closeBox(round);
    const auto answered = answerModals({ [&](QWidget *modal) {
        auto *entry = qobject_cast<TextEntryWindow *>(modal);
        QVERIFY(entry);
        entry->textBox()->setPlainText(text);
        if (byCloseBox)
            entry->close();
        else
            QTest::mouseClick(entry->doneButton(), Qt::LeftButton);
    } });
    QTest::mouseClick(m_editor->blockArea(block), Qt::LeftButton);
    // As typed, until the editor is active again.
    QCOMPARE(m_story->blockTexts[block], QStringLiteral("Лиса %1 пошла\r\nк реке").arg(round));
    QTRY_VERIFY(answered());
    QVERIFY(!findWindow<TextEntryWindow>() || !findWindow<TextEntryWindow>()->isVisible());
}

void tst_Soak::showHelp(int round)
{
    settle();
    const bool byCloseBox = closeBox(round);
    const auto answered = answerModals({ [&](QWidget *modal) {
        auto *help = qobject_cast<HelpWindow *>(modal);
        QVERIFY(help);
        if (byCloseBox)
            help->close();
        else
            help->marginClicked();
    } });
    m_editor->showHelp();
    QTRY_VERIFY(answered());
    QVERIFY(!findWindow<HelpWindow>() || !findWindow<HelpWindow>()->isVisible());
}

void tst_Soak::read(int round)
{
    settle();
    m_dialogs->calls.clear();
    m_dialogs->answers << (round % 3 ? Answer::Yes : Answer::No)
                       << (round % 5 ? Answer::No : Answer::Yes);
    m_dialogs->inputs << QStringLiteral("Сказка %1").arg(round) << QStringLiteral("Маша");
    m_editor->read();
    QTRY_COMPARE(m_dialogs->calls.size(), 4);
    QPointer<ReadingWindow> reading = findWindow<ReadingWindow>();
    QVERIFY(reading);
    QCOMPARE(reading->titleBox()->toPlainText(), QStringLiteral("Сказка %1").arg(round));
    if (closeBox(round))
        QVERIFY(reading->close());
    else
        reading->backToEditor();
    QVERIFY(m_editor->isVisible());
    QTRY_VERIFY(m_editor->isActiveWindow());
}

void tst_Soak::openAndClose_data()
{
    // Which windows, and how many rounds of them.
    QTest::addColumn<QList<int>>("windows");
    QTest::addColumn<int>("rounds");
    QTest::newRow("text entry") << QList { 0 } << Rounds;
    QTest::newRow("help window") << QList { 1 } << Rounds;
    QTest::newRow("reading window") << QList { 2 } << Rounds;
    QTest::newRow("all in turn") << QList { 0, 1, 2 } << Rounds / 2;
}

void tst_Soak::openAndClose()
{
    QFETCH(QList<int>, windows);
    QFETCH(int, rounds);
    const std::array steps = { &tst_Soak::enterText, &tst_Soak::showHelp, &tst_Soak::read };
    const auto round = [&](int number) {
        for (const int window : windows)
            (this->*steps.at(window))(number);
    };
    const Census cold = census(*m_editor);
    round(0);
    const Census loaded = census(*m_editor);
    round(1);
    const Census unloaded = census(*m_editor);
    QCOMPARE(unloaded.first(Widgets), cold.first(Widgets));
    for (int number = 2; number < rounds; ++number) {
        round(number);
        if (QTest::currentTestFailed())
            return;
    }
    // The last round closed the windows by their close boxes, the next one
    // only hides them.
    QCOMPARE(census(*m_editor), unloaded);
    round(rounds);
    QCOMPARE(census(*m_editor), loaded);
}

QTEST_MAIN(tst_Soak)
#include "tst_soak.moc"
