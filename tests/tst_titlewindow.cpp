#include "app/ProgramStart.h"
#include "app/TitleWindow.h"
#include "editor/EditorCanvas.h"
#include "editor/EditorWindow.h"
#include "story/StoryDocument.h"
#include "support/ScriptedDialogs.h"
#include "widgets/ClickLabel.h"
#include "widgets/PictureBox.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

class tst_TitleWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void design();
    void pictureClickHandsOver();
    void timerHandsOver();
    void clickThenTimeDoesNothingMore();
    void marginClickDoesNothing_data();
    void marginClickDoesNothing();
    void closingEndsTheProgram();
    void editorExitEndsTheProgram();

private:
    // The editor as the handover leaves it: one, shown, on its own.
    void verifyHandedOver();

    StoryDocument *m_story = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
    ProgramStart *m_program = nullptr;
    QSignalSpy *m_ended = nullptr;
};

void tst_TitleWindow::init()
{
    m_story = new StoryDocument;
    m_story->showBlockTexts = true; // the editor's load must set it back
    m_dialogs = new ScriptedDialogs;
    m_program = new ProgramStart(*m_story, *m_dialogs);
    m_ended = new QSignalSpy(m_program, &ProgramStart::programEnded);
    m_program->start();
    QVERIFY(m_program->titleWindow());
    QVERIFY(QTest::qWaitForWindowExposed(m_program->titleWindow()));
}

void tst_TitleWindow::cleanup()
{
    delete m_ended;
    delete m_program;
    delete m_dialogs;
    delete m_story;
}

void tst_TitleWindow::verifyHandedOver()
{
    QTRY_VERIFY(!m_program->titleWindow());
    EditorWindow *editor = m_program->editor();
    QVERIFY(editor);
    QVERIFY(editor->isVisible());
    QVERIFY(editor->isWindow());
    QVERIFY(!editor->parentWidget());
    QVERIFY(!editor->isModal());
    QVERIFY(editor->windowState() & Qt::WindowMaximized);
    QVERIFY(!m_story->showBlockTexts);
    QCOMPARE(m_ended->count(), 0);
    // The editor's block areas wear the same hand.
    QCOMPARE(editor->blockArea(3)->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(editor->blockArea(3)->cursor().hotSpot(), QPoint(12, 1));
    // Laid out for the size it is shown at, its frames across the whole width.
    const QSize shown = editor->canvas()->size();
    FlowchartLayout layout;
    layout.compute(shown.width(), shown.height());
    QTRY_COMPARE(editor->layout().centerX, layout.centerX);
    QCOMPARE(editor->layout().frameTop, layout.frameTop);
    const QRect first = editor->pictureFrame(0)->geometry();
    const QRect last = editor->pictureFrame(FrameCount - 1)->geometry();
    QVERIFY(qAbs(first.left() - (shown.width() - 1 - last.right())) <= 1);
}

void tst_TitleWindow::design()
{
    TitleWindow *title = m_program->titleWindow();
    QCOMPARE(title->windowTitle(), QStringLiteral("Выбери продолжение рассказа"));
    QCOMPARE(title->size(), QSize(501, 370));
    QCOMPARE(title->palette().color(QPalette::Window), QColor(255, 255, 255));
    QVERIFY(title->autoFillBackground());
    // The icon and the hand come once the picture has been painted.
    QTRY_VERIFY(title->windowIcon().availableSizes().contains(QSize(32, 32)));
    QVERIFY(title->windowIcon().availableSizes().contains(QSize(16, 16)));

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(qAbs(title->geometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(title->geometry().center().y() - screen.center().y()) <= 1);

    ClickLabel *picture = title->picture();
    QCOMPARE(picture->objectName(), QStringLiteral("Image1"));
    QCOMPARE(picture->geometry(), QRect(16, 16, 472, 338));
    QCOMPARE(picture->pixmap().size(), QSize(472, 338));
    // The committed bitmap, to the last pixel.
    QCOMPARE(picture->pixmap().toImage(),
        QImage(QStringLiteral(TROPINETS_SOURCE_DIR "/widgets/assets/title.bmp"))
            .convertToFormat(QImage::Format_RGB32));
    QVERIFY(!picture->hasScaledContents());

    // The hand, with its fingertip as the hot spot, over the window and the picture.
    for (QWidget *widget : { static_cast<QWidget *>(title), static_cast<QWidget *>(picture) }) {
        QCOMPARE(widget->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(widget->cursor().hotSpot(), QPoint(12, 1));
    }

    QTimer *timer = title->timer();
    QCOMPARE(timer->objectName(), QStringLiteral("Timer1"));
    QVERIFY(timer->isSingleShot());
    QCOMPARE(timer->interval(), 10000);
    QCOMPARE(timer->timerType(), Qt::PreciseTimer);
    QVERIFY(timer->isActive());
    QVERIFY(!m_program->editor());
}

void tst_TitleWindow::pictureClickHandsOver()
{
    QPointer<QTimer> timer = m_program->titleWindow()->timer();
    QTest::mouseClick(m_program->titleWindow()->picture(), Qt::LeftButton, {}, QPoint(100, 100));
    QVERIFY(m_program->editor());
    verifyHandedOver();
    QVERIFY(!timer); // gone with its window
    // Restored by the user, it keeps its layout until it is activated anew.
    EditorWindow *editor = m_program->editor();
    const quint64 drawn = editor->surface().revision();
    const int maximized = editor->width();
    editor->showNormal();
    QTRY_VERIFY(editor->width() < maximized);
    QCOMPARE(editor->surface().revision(), drawn);
}

void tst_TitleWindow::timerHandsOver()
{
    m_program->titleWindow()->timer()->setInterval(20);
    QTRY_VERIFY(m_program->editor());
    verifyHandedOver();
}

void tst_TitleWindow::clickThenTimeDoesNothingMore()
{
    QPointer<TitleWindow> title = m_program->titleWindow();
    QSignalSpy handovers(title.data(), &TitleWindow::handedOver);
    title->timer()->setInterval(30);
    QTest::mouseClick(title->picture(), Qt::LeftButton);
    EditorWindow *editor = m_program->editor();
    QVERIFY(editor);
    // Both events at once, as if queued together: still one handover.
    QVERIFY(title); // its deletion waits for the event loop
    title->timedOut();
    QTest::qWait(100);
    QCOMPARE(handovers.count(), 1);
    QCOMPARE(m_program->editor(), editor);
    verifyHandedOver();
}

void tst_TitleWindow::marginClickDoesNothing_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::newRow("left") << QPoint(8, 200);
    QTest::newRow("top") << QPoint(250, 8);
    QTest::newRow("right") << QPoint(494, 200);
    QTest::newRow("bottom") << QPoint(250, 362);
    QTest::newRow("corner") << QPoint(15, 15);
}

void tst_TitleWindow::marginClickDoesNothing()
{
    QFETCH(QPoint, at);
    TitleWindow *title = m_program->titleWindow();
    QCOMPARE(title->childAt(at), nullptr);
    QTest::mouseClick(title, Qt::LeftButton, {}, at);
    QTest::qWait(50);
    QVERIFY(m_program->titleWindow());
    QVERIFY(title->isVisible());
    QVERIFY(!m_program->editor());
    // The timer still hands over.
    QVERIFY(title->timer()->isActive());
    title->timer()->setInterval(20);
    QTRY_VERIFY(m_program->editor());
    verifyHandedOver();
}

void tst_TitleWindow::closingEndsTheProgram()
{
    TitleWindow *title = m_program->titleWindow();
    title->timer()->setInterval(30);
    QVERIFY(title->close());
    QCOMPARE(m_ended->count(), 1);
    QTRY_VERIFY(!m_program->titleWindow());
    QTest::qWait(100);
    QVERIFY(!m_program->editor());
    QCOMPARE(m_ended->count(), 1);
}

void tst_TitleWindow::editorExitEndsTheProgram()
{
    QTest::mouseClick(m_program->titleWindow()->picture(), Qt::LeftButton);
    verifyHandedOver();
    m_dialogs->answers.enqueue(Dialogs::Answer::Yes);
    m_program->editor()->exitProgram();
    QCOMPARE(m_ended->count(), 1);
}

QTEST_MAIN(tst_TitleWindow)
#include "tst_titlewindow.moc"
