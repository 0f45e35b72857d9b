#include "editor/EditorWindow.h"
#include "editor/HelpWindow.h"
#include "story/StoryDocument.h"
#include "support/FindWindow.h"
#include "support/KeyInput.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTest>

class tst_HelpWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void text_data();
    void text();
    void textAsAWhole();
    void design();
    void marginClickHidesAndKeepsPlace();
    void textChangeHides();
    void closeBoxUnloads();
    void pupilCannotChangeText();
    void scrollingDoesNotHide();

private:
    // Opens help from the editor's menu, runs the action on the shown window
    // and returns once the window has gone away.
    void openHelp(const std::function<void(HelpWindow *)> &action);

    StoryDocument *m_story = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
    EditorWindow *m_editor = nullptr;
};

void tst_HelpWindow::init()
{
    m_story = new StoryDocument;
    m_dialogs = new ScriptedDialogs;
    m_editor = new EditorWindow(*m_story, *m_dialogs);
    m_editor->show();
}

void tst_HelpWindow::cleanup()
{
    delete m_editor;
    delete m_dialogs;
    delete m_story;
}

void tst_HelpWindow::openHelp(const std::function<void(HelpWindow *)> &action)
{
    const auto answered = answerModals({ [&](QWidget *modal) {
        auto *help = qobject_cast<HelpWindow *>(modal);
        // A failed check must not leave the window up and the test hanging.
        const auto leave = qScopeGuard([modal] {
            if (modal->isVisible())
                modal->hide();
        });
        QVERIFY(help);
        action(help);
    } });
    const quint64 drawn = m_editor->surface().revision();
    m_editor->showHelp();
    QTRY_VERIFY(answered());
    // Control is back with the editor: nothing modal is left up, and the
    // editor's activation has redrawn it.
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QTRY_VERIFY(m_editor->isActiveWindow());
    QTRY_VERIFY(m_editor->surface().revision() != drawn);
}

void tst_HelpWindow::text_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("leading");
    QTest::addColumn<int>("trailing");
    QTest::addColumn<QString>("expected");
    const QList<std::tuple<int, int, QString>> lines = {
        { 5, 1, "     Дорогой друг, эта программа научит тебя " },
        { 0, 1, "понимать, как выполняется разветвляющийся " },
        { 0, 0, "алгоритм." },
        { 0, 1, "С её помощью ты сможешь придумать и записать " },
        { 0, 1, "рассказ, в котором читатель может выбирать " },
        { 0, 0, "продолжение." },
        { 6, 1, "      Чтобы записать рассказ, щёлкни по любому блоку " },
        { 0, 1, "блок-схемы. В блоки-параллелограммы запиши главы " },
        { 0, 1, "твоего рассказа,  в ромбы - вопросы, от ответа на " },
        { 0, 0, "которые зависит  продолжение рассказа." },
        { 7, 1, "       Под блок-схемой размести иллюстрации к " },
        { 0, 1, "рассказу. Щёлкни мышкой по рамке и выбери файл с " },
        { 0, 0, "рисунком, который ты хочешь вставить." },
        { 7, 0, "       Рассказ можно:" },
        { 7, 0, "       записать на диск (команда Файл - Сохранить)," },
        { 7, 0, "       прочитать с диска (команда Файл - Открыть)," },
        { 7, 0, "       распечатать (команда Рассказ - Печатать)," },
        { 7, 0, "       стереть (команда Файл - Создать)" },
        { 7, 1, "       прочитать с выбором продолжения (команда " },
        { 0, 2, "Рассказ - Читать).  " },
    };
    for (int i = 0; i < lines.size(); ++i) {
        const auto &[leading, trailing, text] = lines[i];
        QTest::addRow("line %d", i + 1) << i << leading << trailing << text;
    }
}

void tst_HelpWindow::text()
{
    QFETCH(int, line);
    QFETCH(int, leading);
    QFETCH(int, trailing);
    QFETCH(QString, expected);
    const QStringList lines = HelpWindow::helpText().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 21); // the last line is ended too
    const QString actual = lines.at(line);
    QCOMPARE(actual, expected);
    QCOMPARE(actual.size() - actual.trimmed().size() - trailing, leading);
    QVERIFY(actual.endsWith(QString(trailing, QLatin1Char(' '))));
    if (trailing < 2)
        QVERIFY(!actual.endsWith(QString(trailing + 1, QLatin1Char(' '))));
}

void tst_HelpWindow::textAsAWhole()
{
    const QString text = HelpWindow::helpText();
    QCOMPARE(text.size(), 835);
    QCOMPARE(text.count(QStringLiteral("\r\n")), 20);
    QCOMPARE(text.count(QLatin1Char('\r')), 20);
    QCOMPARE(text.count(QLatin1Char('\n')), 20);
    QVERIFY(text.endsWith(QStringLiteral("Читать).  \r\n")));
    QCOMPARE(text.count(QStringLiteral("  в ромбы")), 1);
    QCOMPARE(text.count(QStringLiteral("зависит  продолжение")), 1);
    QVERIFY(text.contains(QStringLiteral("прочитать с диска")));
}

void tst_HelpWindow::design()
{
    HelpWindow help(m_editor);
    QCOMPARE(help.windowTitle(), QStringLiteral("Описание программы"));
    QCOMPARE(help.size(), QSize(476, 319));
    QVERIFY(help.isModal());
    QPlainTextEdit *text = help.textBox();
    QCOMPARE(text->objectName(), QStringLiteral("Text1"));
    QCOMPARE(text->geometry(), QRect(16, 16, 441, 289));
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(text->font().pointSizeF(), 12.0);
    // Each CR LF pair is one line break on screen, and nothing else is lost.
    QCOMPARE(text->toPlainText(), HelpWindow::helpText().replace(QStringLiteral("\r\n"), "\n"));
    QCOMPARE(text->blockCount(), 21);
    QCOMPARE(text->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

void tst_HelpWindow::marginClickHidesAndKeepsPlace()
{
    int scrolled = 0;
    openHelp([&](HelpWindow *help) {
        QScrollBar *bar = help->textBox()->verticalScrollBar();
        QVERIFY(bar->maximum() > 2);
        QCOMPARE(bar->value(), 0);
        bar->setValue(bar->maximum() - 1);
        scrolled = bar->value();
        QTest::mouseClick(help, Qt::LeftButton, {}, QPoint(5, 5));
    });
    QPointer<HelpWindow> help = findWindow<HelpWindow>();
    QVERIFY(help);
    QVERIFY(!help->isVisible());

    // The bottom-right margin too; the window comes back as it was left.
    openHelp([&](HelpWindow *shown) {
        QCOMPARE(shown, help.data());
        QCOMPARE(shown->textBox()->verticalScrollBar()->value(), scrolled);
        QTest::mouseClick(shown, Qt::LeftButton, {}, QPoint(470, 312));
    });
    QVERIFY(help);
    QVERIFY(!help->isVisible());
    QCOMPARE(help->textBox()->verticalScrollBar()->value(), scrolled);
}

void tst_HelpWindow::textChangeHides()
{
    openHelp([](HelpWindow *help) { help->textBox()->setPlainText(QStringLiteral("другое")); });
    QVERIFY(findWindow<HelpWindow>());
    QVERIFY(!findWindow<HelpWindow>()->isVisible());
}

void tst_HelpWindow::closeBoxUnloads()
{
    openHelp([](HelpWindow *help) {
        help->textBox()->verticalScrollBar()->setValue(4);
        help->close();
    });
    QTRY_VERIFY(!findWindow<HelpWindow>());
    openHelp([](HelpWindow *help) {
        QCOMPARE(help->textBox()->verticalScrollBar()->value(), 0);
        QCOMPARE(help->textBox()->toPlainText().size(), 835 - 20);
        help->close();
    });
}

void tst_HelpWindow::pupilCannotChangeText()
{
    openHelp([](HelpWindow *help) {
        QPlainTextEdit *text = help->textBox();
        text->setFocus();
        QGuiApplication::clipboard()->setText(QStringLiteral("вставка"));
        for (const QChar c : QStringLiteral("абв"))
            QTest::sendKeyEvent(QTest::Click, text, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::keyClick(text, Qt::Key_Backspace);
        QTest::keyClick(text, Qt::Key_Delete);
        QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(text, Qt::Key_Return);
        QVERIFY(help->isVisible());
        QCOMPARE(text->toPlainText(), HelpWindow::helpText().replace(QStringLiteral("\r\n"), "\n"));
        // A click inside the text is the box's own.
        QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, QPoint(40, 40));
        QVERIFY(help->isVisible());
        help->close();
    });
}

void tst_HelpWindow::scrollingDoesNotHide()
{
    openHelp([](HelpWindow *help) {
        QPlainTextEdit *text = help->textBox();
        text->setFocus();
        QTest::keyClick(text, Qt::Key_PageDown);
        QTest::keyClick(text, Qt::Key_Down);
        QVERIFY(text->verticalScrollBar()->value() > 0);
        text->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QVERIFY(help->isVisible());
        QTest::mouseClick(help, Qt::LeftButton, {}, QPoint(200, 310));
    });
    QVERIFY(findWindow<HelpWindow>());
    QVERIFY(findWindow<HelpWindow>()->textBox()->verticalScrollBar()->value() > 0);
}

QTEST_MAIN(tst_HelpWindow)
#include "tst_helpwindow.moc"
