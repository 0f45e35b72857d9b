#include "app/ProgramStart.h"
#include "editor/EditorWindow.h"
#include "reader/ReadingWindow.h"
#include "story/StoryDocument.h"
#include "support/FindWindow.h"
#include "support/Pdf.h"
#include "support/ScriptedDialogs.h"
#include "widgets/PictureBox.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <memory>

using Answer = Dialogs::Answer;

namespace {

const QColor PictureColour(220, 20, 20);
// Pages are looked at with one pixel for each pixel of the screen.
constexpr int ScreenDpi = 96;

bool isPicture(const QImage &page, QPoint at)
{
    const QColor c = page.pixelColor(at);
    return c.red() > 180 && c.green() < 70 && c.blue() < 70;
}

bool isWhite(const QImage &page, QPoint at)
{
    const QColor c = page.pixelColor(at);
    return c.red() > 245 && c.green() > 245 && c.blue() > 245;
}

} // namespace

class tst_ReadPrint : public QObject {
    Q_OBJECT

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void printsWindowOnOnePage();
    void printsOnlyWhatIsVisible();
    void printingTwiceGivesSamePage();
    void cancelledDialogWritesNothing();
    void unwritableFileIsReported();
    void smallPageTakesWindowWhole();

private:
    ReadingWindow *walk(const QString &name);
    QString printToFile(const QString &name);

    QTemporaryDir m_dir;
    StoryDocument m_story;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<EditorWindow> m_editor;
    QRect m_paintRect; // the printable area chosen, at 96 dots per inch
};

void tst_ReadPrint::initTestCase()
{
    QVERIFY(m_dir.isValid());
    if (!popplerInstalled())
        QSKIP("poppler-utils are not installed: the printed PDF cannot be checked");
}

void tst_ReadPrint::init()
{
    m_story = StoryDocument();
    m_story.blockTexts[0] = QStringLiteral("Жил-был ёжик Колючка.");
    m_story.blockTexts[1] = QStringLiteral("Пойдёт ли он в лес?");
    m_story.blockTexts[3] = QStringLiteral("Ёжик пошёл в лес.");
    m_story.blockTexts[5] = QStringLiteral("Найдёт ли он грибы?");
    m_story.blockTexts[9] = QStringLiteral("Он нашёл боровик.");
    m_dialogs = ScriptedDialogs();
    m_editor = std::make_unique<EditorWindow>(m_story, m_dialogs);
    connectReadingWindow(*m_editor, m_story, m_dialogs);
    QImage picture(60, 40, QImage::Format_RGB32);
    picture.fill(PictureColour);
    m_editor->pictureFrame(3)->setPicture(picture);
    m_editor->show();
    QTRY_VERIFY(m_editor->isActiveWindow());
}

void tst_ReadPrint::cleanup()
{
    m_editor.reset();
    for (QWidget *window : QApplication::topLevelWidgets())
        window->close();
}

ReadingWindow *tst_ReadPrint::walk(const QString &name)
{
    m_dialogs.answers << Answer::Yes << Answer::Yes;
    m_dialogs.inputs << QStringLiteral("Грибная история") << name;
    m_editor->findChild<QAction *>(QStringLiteral("MnuRead"))->trigger();
    [&] { QTRY_COMPARE(m_dialogs.calls.size(), 4); }();
    return findWindow<ReadingWindow>();
}

QString tst_ReadPrint::printToFile(const QString &name)
{
    const QString path = m_dir.filePath(name);
    m_dialogs.printer = [this, path](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        m_paintRect = printer.pageLayout().paintRectPixels(96);
        return true;
    };
    findWindow<ReadingWindow>()->findChild<QAction *>(QStringLiteral("MnuPrint"))->trigger();
    return path;
}

void tst_ReadPrint::printsWindowOnOnePage()
{
    ReadingWindow *reading = walk(QStringLiteral("Маша"));
    QVERIFY(reading);
    const QString pdf = printToFile(QStringLiteral("page.pdf"));
    QVERIFY(QFileInfo::exists(pdf));
    QVERIFY(!m_dialogs.kinds().contains(QStringLiteral("error")));
    QCOMPARE(pageCount(pdf), 1);

    // Text is printed as text: every part of the window can be read back.
    const QString text = pdfText(pdf);
    for (const char *word : { "Колючка", "Ёжик", "боровик", "Грибная", "Читатель", "Маша" })
        QVERIFY2(text.contains(QString::fromUtf8(word)), word);

    // The picture control lies at 8, 168, 225 x 185 pixels of the window's
    // client area, which starts at the printable area's corner.
    const QImage page = pageImage(pdf, ScreenDpi);
    QVERIFY(!page.isNull());
    const QPoint corner = m_paintRect.topLeft();
    const QRect picture(corner + QPoint(8, 168), QSize(225, 185));
    QVERIFY(isPicture(page, picture.topLeft() + QPoint(2, 2)));
    QVERIFY(isPicture(page, picture.bottomRight() - QPoint(2, 2)));
    QVERIFY(isPicture(page, picture.center()));
    QVERIFY(!isPicture(page, picture.topLeft() - QPoint(3, 3)));
    QVERIFY(!isPicture(page, picture.bottomRight() + QPoint(3, 3)));
    QVERIFY(!isPicture(page, QPoint(picture.right() + 3, picture.center().y())));
    QVERIFY(!isPicture(page, QPoint(picture.center().x(), picture.top() - 3)));
    // Nothing beyond the window's own 532 x 360 pixels.
    QVERIFY(isWhite(page, corner + QPoint(540, 100)));
    QVERIFY(isWhite(page, corner + QPoint(100, 368)));
    QVERIFY(!isWhite(page, corner + QPoint(248 + 272, 8 + 100))); // the scroll bar
}

void tst_ReadPrint::printsOnlyWhatIsVisible()
{
    QString longChapter;
    for (int i = 0; i < 300; ++i)
        longChapter += QStringLiteral("ёжик ");
    m_story.blockTexts[9] = longChapter + QStringLiteral("Невидимка");
    ReadingWindow *reading = walk(QStringLiteral("Маша"));
    QVERIFY(reading);
    const QString text = pdfText(printToFile(QStringLiteral("visible.pdf")));
    QVERIFY(text.contains(QStringLiteral("Колючка")));
    QVERIFY(!text.contains(QStringLiteral("Невидимка")));

    // Scrolled to its end, the box prints its end instead.
    reading->storyBox()->moveCursor(QTextCursor::End);
    reading->storyBox()->ensureCursorVisible();
    const QString scrolled = pdfText(printToFile(QStringLiteral("scrolled.pdf")));
    QVERIFY(scrolled.contains(QStringLiteral("Невидимка")));
    QVERIFY(!scrolled.contains(QStringLiteral("Колючка")));
}

void tst_ReadPrint::printingTwiceGivesSamePage()
{
    QVERIFY(walk(QString()));
    const QString first = printToFile(QStringLiteral("first.pdf"));
    const QString second = printToFile(QStringLiteral("second.pdf"));
    QCOMPARE(pdfText(second), pdfText(first));
    QCOMPARE(pageImage(second, ScreenDpi), pageImage(first, ScreenDpi));
    // Printing asks nothing of the walk again.
    QCOMPARE(m_dialogs.kinds().mid(4), QStringList({ "print", "print" }));
}

void tst_ReadPrint::cancelledDialogWritesNothing()
{
    QVERIFY(walk(QStringLiteral("Маша")));
    const QString path = m_dir.filePath(QStringLiteral("cancelled.pdf"));
    m_dialogs.printToFile(path, false);
    findWindow<ReadingWindow>()->findChild<QAction *>(QStringLiteral("MnuPrint"))->trigger();
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(m_dialogs.kinds().mid(4), QStringList({ "print" }));
    QCOMPARE(
        findWindow<ReadingWindow>()->readerBox()->toPlainText(), QStringLiteral("Читатель - Маша"));
}

void tst_ReadPrint::unwritableFileIsReported()
{
    QVERIFY(walk(QStringLiteral("Маша")));
    // A folder stands where the file should go.
    const QString path = m_dir.filePath(QStringLiteral("taken.pdf"));
    QVERIFY(QDir().mkpath(path));
    m_dialogs.printToFile(path);
    findWindow<ReadingWindow>()->findChild<QAction *>(QStringLiteral("MnuPrint"))->trigger();
    QCOMPARE(m_dialogs.kinds().mid(4), QStringList({ "print", "error" }));
    QVERIFY(m_dialogs.calls.last().text.contains(path));
    QVERIFY(QFileInfo(path).isDir());
}

void tst_ReadPrint::smallPageTakesWindowWhole()
{
    ReadingWindow *reading = walk(QStringLiteral("Маша"));
    QVERIFY(reading);
    // Half the window's size in each direction, with no margins.
    const QString pdf = m_dir.filePath(QStringLiteral("small.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(
            QPageSize(QSizeF(199.5, 135), QPageSize::Point), QPageLayout::Portrait, QMarginsF()));
        QVERIFY(reading->printContent(&writer));
    }
    QCOMPARE(pageCount(pdf), 1);
    const QImage page = pageImage(pdf, ScreenDpi);
    QVERIFY(!page.isNull());
    const QRectF picture(QPointF(4, 84), QSizeF(112.5, 92.5));
    QVERIFY(isPicture(page, (picture.topLeft() + QPointF(2, 2)).toPoint()));
    QVERIFY(isPicture(page, (picture.bottomRight() - QPointF(2, 2)).toPoint()));
    QVERIFY(!isPicture(page, (picture.bottomRight() + QPointF(3, 3)).toPoint()));
    QVERIFY(!isPicture(page, QPoint(int(picture.right()) + 3, int(picture.center().y()))));
}

QTEST_MAIN(tst_ReadPrint)
#include "tst_readprint.moc"
