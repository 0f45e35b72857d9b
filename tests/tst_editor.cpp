#include "editor/EditorCanvas.h"
#include "editor/EditorWindow.h"
#include "editor/TextEntryWindow.h"
#include "spelling/SpellChecker.h"
#include "story/StoryDocument.h"
#include "support/FindWindow.h"
#include "support/KeyInput.h"
#include "support/ScriptedDialogs.h"
#include "widgets/ClickLabel.h"
#include "widgets/PictureBox.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

namespace {

QStringList writtenTexts(const Surface &surface)
{
    QStringList texts;
    for (const SurfaceOp &op : surface.ops())
        if (op.kind == SurfaceOp::Text && op.fontSize == 8.0)
            texts << op.text;
    return texts;
}

// Types any text, Cyrillic included, as key presses.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// The words of the box's first paragraph with the spelling line.
QStringList underlined(QPlainTextEdit *box)
{
    QStringList words;
    const QTextBlock block = box->document()->firstBlock();
    for (const QTextLayout::FormatRange &range : block.layout()->formats())
        if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
            words << block.text().mid(range.start, range.length);
    return words;
}

} // namespace

class tst_Editor : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void designAndMenus();
    void activationDrawsAndPlaces();
    void resizeDoesNotRedraw();
    void entryByButton();
    void entryByCloseBoxKeepsText();
    void entryEscapeKeepsText();
    void entryUnderlinesMisspeltWords();
    void entryWaitsForTheWordBeingTyped_data();
    void entryWaitsForTheWordBeingTyped();
    void entryCutsWhatPassesTheLimit_data();
    void entryCutsWhatPassesTheLimit();
    void eachBlockShowsItsOwnText();
    void lineBreakBecomesTwoSpaces();
    void newRightAfterStart();
    void newAfterTyping();
    void exitQuestion_data();
    void exitQuestion();
    void exitCommandNeverAsksTwice();

private:
    void reactivate();
    void typeIntoBlock(int block, const QString &text, bool byButton = true);

    StoryDocument *m_story = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
    EditorWindow *m_editor = nullptr;
};

void tst_Editor::init()
{
    m_story = new StoryDocument;
    m_dialogs = new ScriptedDialogs;
    m_editor = new EditorWindow(*m_story, *m_dialogs);
    m_editor->show();
    QTRY_VERIFY(m_editor->isActiveWindow());
}

void tst_Editor::cleanup()
{
    delete m_editor;
    delete m_dialogs;
    delete m_story;
}

void tst_Editor::reactivate()
{
    QVERIFY(comeBackTo(m_editor));
}

void tst_Editor::typeIntoBlock(int block, const QString &text, bool byButton)
{
    const auto answered = answerModals({ [&](QWidget *modal) {
        auto *entry = qobject_cast<TextEntryWindow *>(modal);
        QVERIFY(entry);
        entry->textBox()->setPlainText(text);
        if (byButton)
            entry->doneButton()->click();
        else
            entry->close();
    } });
    QTest::mouseClick(m_editor->blockArea(block), Qt::LeftButton);
    QTRY_VERIFY(answered());
}

void tst_Editor::designAndMenus()
{
    QCOMPARE(m_editor->windowTitle(), QStringLiteral("Создание нового рассказа"));
    // Each caption with its access letter, none shared within one menu.
    const QList<std::tuple<const char *, QString, QKeySequence>> commands = {
        { "MnuSave", "&Сохранить", QKeySequence(QStringLiteral("Ctrl+S")) },
        { "MnuSaveWeb", "Сохранить как &веб-страницу…", QKeySequence() },
        { "MnuOpen", "&Открыть", QKeySequence(QStringLiteral("Ctrl+O")) },
        { "MnuNew", "Со&здать", QKeySequence(QStringLiteral("Ctrl+N")) },
        { "MnuRead", "&Читать", QKeySequence() },
        { "MnuPrint", "&Печатать", QKeySequence() },
        { "MnuSpeak", "Читать &вслух", QKeySequence() },
        { "MnuSlow", "Читать &медленно", QKeySequence() },
        { "MnuSpell", "Проверять &орфографию", QKeySequence() },
        { "MnuHelp", "&О программе", QKeySequence() },
        { "MnuExit", "&Выход", QKeySequence() },
        { "MnuFile", "&Файл", QKeySequence() },
        { "MnuRas", "&Рассказ", QKeySequence() },
    };
    for (const auto &[name, caption, shortcut] : commands) {
        auto *action = m_editor->findChild<QAction *>(QLatin1String(name));
        QVERIFY2(action, name);
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->shortcut(), shortcut);
    }
    // Switches for the run: reading aloud off, and so slow reading out of
    // reach; spelling on.
    QVERIFY(!m_editor->findChild<QAction *>(QStringLiteral("MnuSpeak"))->isChecked());
    QVERIFY(!m_editor->findChild<QAction *>(QStringLiteral("MnuSlow"))->isEnabled());
    QVERIFY(m_editor->findChild<QAction *>(QStringLiteral("MnuSpell"))->isChecked());
    for (int k = 0; k < 4; ++k) {
        QCOMPARE(m_editor->pictureFrame(k)->size(), QSize(169, 130));
        QCOMPARE(m_editor->pictureFrame(k)->frameShape(), QFrame::Box);
    }
    for (int b = 0; b < 10; ++b) {
        QVERIFY(m_editor->blockArea(b)->text().isEmpty());
        QVERIFY(!m_editor->blockArea(b)->autoFillBackground());
        QCOMPARE(m_editor->blockArea(b)->cursor().shape() == Qt::ArrowCursor, false);
    }
    QCOMPARE(m_story->showBlockTexts, false);
}

void tst_Editor::activationDrawsAndPlaces()
{
    m_editor->resize(1000, 700);
    reactivate();
    QCOMPARE(m_editor->canvas()->width(), 1000);
    QCOMPARE(m_editor->layout().centerX, 515);
    QCOMPARE(m_editor->surface().ops().size(), 83);
    // The wide form at 1000 pixels: controls on whole pixels of the layout.
    const QRect blocks[10] = {
        { 425, 65, 173, 59 },
        { 479, 146, 70, 48 },
        { 188, 180, 173, 59 },
        { 663, 180, 173, 59 },
        { 243, 261, 70, 48 },
        { 719, 261, 70, 48 },
        { 79, 306, 110, 79 },
        { 336, 306, 110, 79 },
        { 554, 306, 110, 79 },
        { 811, 306, 110, 79 },
    };
    for (int b = 0; b < 10; ++b)
        QCOMPARE(m_editor->blockArea(b)->geometry(), blocks[b]);
    const int frameLeft[4] = { 65, 299, 532, 766 };
    for (int k = 0; k < 4; ++k)
        QCOMPARE(m_editor->pictureFrame(k)->pos(), QPoint(frameLeft[k], 500));
}

void tst_Editor::resizeDoesNotRedraw()
{
    const quint64 revision = m_editor->surface().revision();
    const qint16 centre = m_editor->layout().centerX;
    m_editor->resize(m_editor->width() + 300, m_editor->height() + 100);
    QTRY_COMPARE(m_editor->canvas()->width() > 700, true);
    QCOMPARE(m_editor->surface().revision(), revision);
    QCOMPARE(m_editor->layout().centerX, centre);
    reactivate();
    QVERIFY(m_editor->layout().centerX != centre);
}

void tst_Editor::entryByButton()
{
    const auto answered = answerModals({ [](QWidget *modal) {
        auto *entry = qobject_cast<TextEntryWindow *>(modal);
        QVERIFY(entry);
        QCOMPARE(entry->windowTitle(), QStringLiteral("Ввод текста"));
        QCOMPARE(entry->size(), QSize(314, 247));
        QCOMPARE(entry->doneButton()->text(), QStringLiteral("Ввод завершён"));
        QVERIFY(!entry->doneButton()->isDefault());
        QVERIFY(entry->textBox()->toPlainText().isEmpty());
        QTRY_VERIFY(entry->textBox()->hasFocus());
        typeText(entry->textBox(), QStringLiteral("Жила-была лиса"));
        entry->doneButton()->click();
    } });
    QTest::mouseClick(m_editor->blockArea(0), Qt::LeftButton);
    QTRY_VERIFY(answered());
    QCOMPARE(m_story->blockTexts[0], QStringLiteral("Жила-была лиса"));
    QCOMPARE(m_story->currentBlock, qint16(0));
    QVERIFY(m_story->showBlockTexts);
    QVERIFY(findWindow<TextEntryWindow>());
    QVERIFY(!findWindow<TextEntryWindow>()->isVisible());
    QVERIFY(findWindow<TextEntryWindow>()->textBox()->toPlainText().isEmpty());
    QTRY_VERIFY(m_editor->isActiveWindow());
    QTRY_COMPARE(writtenTexts(m_editor->surface()),
        QStringList({ QStringLiteral("Жила-была "), QStringLiteral("лиса") }));
}

void tst_Editor::entryByCloseBoxKeepsText()
{
    typeIntoBlock(7, QStringLiteral("Лиса ушла домой"), false);
    QCOMPARE(m_story->blockTexts[7], QStringLiteral("Лиса ушла домой"));
    QTRY_VERIFY(!findWindow<TextEntryWindow>()); // unloaded: the next click builds it anew
    typeIntoBlock(7, QStringLiteral("И снова"));
    QCOMPARE(m_story->blockTexts[7], QStringLiteral("И снова"));
}

void tst_Editor::entryEscapeKeepsText()
{
    // Escape leaves as the button does: what was typed is kept.
    const auto answered = answerModals({ [](QWidget *modal) {
        auto *entry = qobject_cast<TextEntryWindow *>(modal);
        QVERIFY(entry);
        typeText(QStringLiteral("не потерять"));
        pressKey(Qt::Key_Escape);
        QVERIFY(!entry->isVisible());
    } });
    QTest::mouseClick(m_editor->blockArea(4), Qt::LeftButton);
    QTRY_VERIFY(answered());
    QCOMPARE(m_story->blockTexts[4], QStringLiteral("не потерять"));
}

void tst_Editor::entryUnderlinesMisspeltWords()
{
    if (const QString why = m_editor->spelling().unavailableReason(); !why.isEmpty())
        QSKIP(qPrintable(why));
    const QString typed = QStringLiteral("Жила-была лиса. Расказ про неё.");
    QStringList offered;
    const auto answered = answerModals({ [&](QWidget *modal) {
        QPlainTextEdit *box = qobject_cast<TextEntryWindow *>(modal)->textBox();
        typeText(box, typed);
        QCOMPARE(underlined(box), QStringList { "Расказ" });
        // The box's menu at the word: the dictionary's guesses first.
        QTextCursor word(box->document());
        word.setPosition(typed.indexOf(QStringLiteral("Расказ")) + 2);
        emit box->customContextMenuRequested(box->cursorRect(word).center());
        QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
        const QList<QAction *> items = QApplication::activePopupWidget()->actions();
        for (QAction *item : items)
            offered << item->text();
        items.constFirst()->trigger();
        QApplication::activePopupWidget()->close();
        QCOMPARE(box->toPlainText(), QStringLiteral("Жила-была лиса. Рассказ про неё."));
        QVERIFY(underlined(box).isEmpty());
        // Turned off, nothing is underlined; the story gets the plain text.
        m_editor->findChild<QAction *>(QStringLiteral("MnuSpell"))->trigger();
        box->setPlainText(typed);
        QVERIFY(underlined(box).isEmpty());
        qobject_cast<TextEntryWindow *>(modal)->doneButton()->click();
    } });
    QTest::mouseClick(m_editor->blockArea(0), Qt::LeftButton);
    QTRY_VERIFY(answered());
    QCOMPARE(offered.value(0), QStringLiteral("Рассказ"));
    QVERIFY(offered.contains(QStringLiteral("Пропустить")));
    QCOMPARE(m_story->blockTexts[0], typed);
}

void tst_Editor::entryWaitsForTheWordBeingTyped_data()
{
    QTest::addColumn<int>("key"); // that takes the caret out of the word, or none: a pause
    QTest::newRow("a space") << int(Qt::Key_Space);
    QTest::newRow("the caret leaves") << int(Qt::Key_Home);
    QTest::newRow("a pause") << 0;
}

void tst_Editor::entryWaitsForTheWordBeingTyped()
{
    if (const QString why = m_editor->spelling().unavailableReason(); !why.isEmpty())
        QSKIP(qPrintable(why));
    QFETCH(int, key);
    const auto answered = answerModals({ [&](QWidget *modal) {
        QPlainTextEdit *box = qobject_cast<TextEntryWindow *>(modal)->textBox();
        typeText(box, QStringLiteral("Жила-была соба"));
        QVERIFY(underlined(box).isEmpty());
        if (key) {
            QTest::keyClick(box, Qt::Key(key));
            QCOMPARE(underlined(box), QStringList { "соба" });
        } else {
            QTRY_COMPARE(underlined(box), QStringList { "соба" });
        }
        qobject_cast<TextEntryWindow *>(modal)->doneButton()->click();
    } });
    QTest::mouseClick(m_editor->blockArea(0), Qt::LeftButton);
    QTRY_VERIFY(answered());
}

void tst_Editor::entryCutsWhatPassesTheLimit_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<int>("kept"); // characters of the block afterwards
    const int most = MaxBlockTextLength;
    QTest::newRow("up to the limit") << most - 3 << QStringLiteral("abc") << most;
    QTest::newRow("a key past it") << most << QStringLiteral("x") << most;
    QTest::newRow("a paste past it") << 10 << QStringLiteral("y ").repeated(most / 2) << most;
    QTest::newRow("no half of a pair") << most - 2 << QStringLiteral("a😀") << most - 1;
}

void tst_Editor::entryCutsWhatPassesTheLimit()
{
    QFETCH(int, before);
    QFETCH(QString, pasted);
    QFETCH(int, kept);
    // Words, as a pupil's text has: one endless line takes long to lay out.
    const QString old = QStringLiteral("жжжжжжжжж ").repeated(before / 10 + 1).left(before);
    bool noted = false;
    const auto answered = answerModals({ [&](QWidget *modal) {
        auto *entry = qobject_cast<TextEntryWindow *>(modal);
        QVERIFY(entry);
        entry->textBox()->setPlainText(old);
        entry->textBox()->moveCursor(QTextCursor::End);
        entry->textBox()->insertPlainText(pasted);
        noted = entry->cutNote()->isVisible();
        entry->doneButton()->click();
    } },
        30000);
    QTest::mouseClick(m_editor->blockArea(2), Qt::LeftButton);
    // A hundred thousand characters take seconds on a loaded machine or under
    // the sanitizers.
    QTRY_VERIFY_WITH_TIMEOUT(answered(), 30000);
    QCOMPARE(m_story->blockTexts[2].size(), kept);
    QCOMPARE(m_story->blockTexts[2], old + pasted.left(kept - before));
    QCOMPARE(noted, before + pasted.size() > MaxBlockTextLength);
}

void tst_Editor::eachBlockShowsItsOwnText()
{
    m_story->blockTexts[2] = QStringLiteral("два");
    m_story->blockTexts[5] = QStringLiteral("пять");
    QStringList seen;
    for (int block : { 2, 5, 2 }) {
        const auto answered = answerModals({ [&](QWidget *modal) {
            auto *entry = qobject_cast<TextEntryWindow *>(modal);
            seen << entry->textBox()->toPlainText();
            entry->doneButton()->click();
        } });
        QTest::mouseClick(m_editor->blockArea(block), Qt::LeftButton);
        QTRY_VERIFY(answered());
    }
    QCOMPARE(seen, QStringList({ "два", "пять", "два" }));
    QCOMPARE(m_story->blockTexts[2], QStringLiteral("два"));
}

void tst_Editor::lineBreakBecomesTwoSpaces()
{
    auto answered = answerModals({ [](QWidget *modal) {
        auto *entry = qobject_cast<TextEntryWindow *>(modal);
        typeText(entry->textBox(), QStringLiteral("первое"));
        QTest::keyClick(entry->textBox(), Qt::Key_Return); // Enter starts a new line
        typeText(entry->textBox(), QStringLiteral("второе"));
        QVERIFY(entry->isVisible());
        entry->doneButton()->click();
    } });
    QTest::mouseClick(m_editor->blockArea(3), Qt::LeftButton);
    // As typed, until the editor is active again.
    QCOMPARE(m_story->blockTexts[3], QStringLiteral("первое\r\nвторое"));
    QTRY_VERIFY(answered());
    QTRY_VERIFY(m_editor->isActiveWindow());
    QTRY_COMPARE(m_story->blockTexts[3], QStringLiteral("первое  второе"));
    QString shown;
    answered = answerModals({ [&](QWidget *modal) {
        auto *entry = qobject_cast<TextEntryWindow *>(modal);
        shown = entry->textBox()->toPlainText();
        entry->doneButton()->click();
    } });
    QTest::mouseClick(m_editor->blockArea(3), Qt::LeftButton);
    QTRY_VERIFY(answered());
    QCOMPARE(shown, QStringLiteral("первое  второе"));
}

void tst_Editor::newRightAfterStart()
{
    m_story->blockTexts[0] = QStringLiteral("не показан");
    m_editor->findChild<QAction *>(QStringLiteral("MnuNew"))->trigger();
    QVERIFY(!m_story->showBlockTexts);
    QVERIFY(m_story->blockTexts[0].isEmpty());
    reactivate();
    QVERIFY(writtenTexts(m_editor->surface()).isEmpty());
    QCOMPARE(m_dialogs->calls.size(), 0); // New asks nothing
}

void tst_Editor::newAfterTyping()
{
    typeIntoBlock(1, QStringLiteral("Пойдёт ли лиса в лес?"));
    m_story->currentBlock = 1;
    m_story->picturePaths[2] = QStringLiteral("/tmp/fox.bmp");
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(Qt::red);
    m_editor->pictureFrame(2)->setPicture(picture);
    QTRY_VERIFY(m_editor->isActiveWindow());

    m_editor->newStory();
    QVERIFY(m_story->showBlockTexts);
    QCOMPARE(m_story->currentBlock, qint16(1));
    for (const QString &text : m_story->blockTexts)
        QVERIFY(text.isEmpty());
    for (int k = 0; k < 4; ++k) {
        QVERIFY(m_story->picturePaths[k].has_value());
        QVERIFY(m_story->picturePaths[k]->isEmpty());
        QVERIFY(m_editor->pictureFrame(k)->picture().isNull());
    }
    QCOMPARE(m_editor->surface().ops().size(), 83); // redrawn, no texts
    reactivate();
    QVERIFY(writtenTexts(m_editor->surface()).isEmpty());
}

void tst_Editor::exitQuestion_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::addColumn<bool>("yes");
    QTest::newRow("close box, No") << false << false;
    QTest::newRow("close box, Yes") << false << true;
    QTest::newRow("menu, No") << true << false;
    QTest::newRow("menu, Yes") << true << true;
}

void tst_Editor::exitQuestion()
{
    QFETCH(bool, byMenu);
    QFETCH(bool, yes);
    m_story->blockTexts[0] = QStringLiteral("останется");
    QSignalSpy ended(m_editor, &EditorWindow::programEndRequested);
    m_dialogs->answers.enqueue(yes ? Dialogs::Answer::Yes : Dialogs::Answer::No);
    if (byMenu)
        m_editor->findChild<QAction *>(QStringLiteral("MnuExit"))->trigger();
    else
        m_editor->close();

    QCOMPARE(m_dialogs->calls.size(), 1);
    QCOMPARE(m_dialogs->calls[0].kind, QStringLiteral("ask"));
    QCOMPARE(
        m_dialogs->calls[0].text, QStringLiteral("Вы действительно хотите выйти из программы?"));
    QCOMPARE(m_dialogs->calls[0].title, QStringLiteral("Тропинец"));
    QCOMPARE(ended.size(), yes ? 1 : 0);
    if (!yes) {
        QVERIFY(m_editor->isVisible());
        QCOMPARE(m_story->blockTexts[0], QStringLiteral("останется"));
    }
}

void tst_Editor::exitCommandNeverAsksTwice()
{
    QSignalSpy ended(m_editor, &EditorWindow::programEndRequested);
    m_dialogs->answers.enqueue(Dialogs::Answer::Yes);
    m_editor->exitProgram();
    QCOMPARE(ended.size(), 1);
    // The ending program closes its windows: no second question.
    QVERIFY(m_editor->close());
    QCOMPARE(m_dialogs->kinds(), QStringList({ "ask" }));
}

QTEST_MAIN(tst_Editor)
#include "tst_editor.moc"
