#include "app/ProgramStart.h"
#include "editor/EditorWindow.h"
#include "printing/PrintServer.h"
#include "reader/ReadingWindow.h"
#include "story/StoryDocument.h"
#include "support/CupsDaemon.h"
#include "support/FindWindow.h"
#include "support/KeyInput.h"
#include "support/Pdf.h"
#include "support/ScriptedDialogs.h"
#include "widgets/PictureBox.h"
#include "widgets/QtDialogs.h"

#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include <memory>
#include <pwd.h>
#include <unistd.h>

// Both print commands through a real print server: a private CUPS daemon
// whose default queue is a PDF printer. Qt reaches it by its own road (its
// CUPS backend, then the server's filters), not by writing a PDF itself.

using Answer = Dialogs::Answer;

namespace {

enum class Command { Editor, Reader };
enum class Fault { Rejecting, UserDenied, Deleted, ServerGone };

int fontCount(const QString &pdf)
{
    // name type encoding emb sub uni object ID, under two header lines
    return runTool(QStringLiteral("pdffonts"), { pdf })
               .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
               .size()
        - 2;
}

// The images the page holds, each as its size on paper in inches.
QList<QSizeF> imagesOf(const QString &pdf)
{
    QList<QSizeF> images;
    const QStringList lines = runTool(QStringLiteral("pdfimages"), { QStringLiteral("-list"), pdf })
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // page num type width height color comp bpc enc interp object ID x-ppi y-ppi size ratio
    for (const QString &line : lines.mid(2)) {
        const QStringList f = line.simplified().split(QLatin1Char(' '));
        if (f.size() < 14 || f[2] != QLatin1String("image"))
            continue;
        images << QSizeF(f[3].toDouble() / f[12].toDouble(), f[4].toDouble() / f[13].toDouble());
    }
    return images;
}

QString userName()
{
    const passwd *user = ::getpwuid(::geteuid());
    return user ? QString::fromLocal8Bit(user->pw_name) : QString();
}

} // namespace

class tst_PrintServer : public QObject {
    Q_OBJECT

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void editorPageReachesQueue();
    void readingPageReachesQueue_data();
    void readingPageReachesQueue();
    void failuresAreSaidAloud_data();
    void failuresAreSaidAloud();
    void stoppedQueueHoldsJob();
    void realDialogsPrintAndSayRefusal();
    void lostOnlyOnTheServersWord_data();
    void lostOnlyOnTheServersWord();

private:
    void startPrint(Command command, const std::function<void()> &whileDialogIsOpen = {});
    QString printedPage();
    QString handedOverText() const;

    CupsDaemon m_cups;
    StoryDocument m_story;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<EditorWindow> m_editor;
    QString m_chosenPrinter;
};

void tst_PrintServer::initTestCase()
{
    if (!popplerInstalled())
        QSKIP("poppler-utils are not installed: the printed PDF cannot be checked");
    if (const QString failed = m_cups.start(); !failed.isEmpty())
        QSKIP(qPrintable(QStringLiteral("no private print server: ") + failed));
}

void tst_PrintServer::init()
{
    const QString failed = m_cups.isRunning() ? m_cups.resetQueue() : m_cups.start();
    QVERIFY2(failed.isEmpty(), qPrintable(failed));

    m_story = StoryDocument();
    const char *const texts[] = { "Жил-был ёжик Колючка.", "Пойдёт ли он в лес?", "Остался дома.",
        "Ёжик пошёл в лес.", "Спит ли он?", "Найдёт ли он грибы?", "Спал.", "Проснулся.", "Ушёл.",
        "Он нашёл боровик." };
    for (int b = 0; b < BlockCount; ++b)
        m_story.blockTexts[b] = QString::fromUtf8(texts[b]);
    m_dialogs = ScriptedDialogs();
    m_editor = std::make_unique<EditorWindow>(m_story, m_dialogs);
    m_story.showBlockTexts = true;
    connectReadingWindow(*m_editor, m_story, m_dialogs);
    const QColor colours[] = { Qt::red, Qt::darkGreen, Qt::blue, Qt::darkYellow };
    for (int k = 0; k < FrameCount; ++k) {
        QImage picture(80 + 20 * k, 60, QImage::Format_RGB32);
        picture.fill(colours[k]);
        m_editor->pictureFrame(k)->setPicture(picture);
        m_story.picturePaths[k] = QStringLiteral("/картинки/%1.bmp").arg(k);
    }
    m_editor->show();
    QVERIFY(comeBackTo(m_editor.get()));
}

void tst_PrintServer::cleanup()
{
    m_editor.reset();
    for (QWidget *window : QApplication::topLevelWidgets())
        window->close();
}

// Runs one print command on the printer the dialog offers, as a user who
// just confirms it; the test may act on the server while the dialog is open.
void tst_PrintServer::startPrint(Command command, const std::function<void()> &whileDialogIsOpen)
{
    m_chosenPrinter.clear();
    m_dialogs.printer = [this, whileDialogIsOpen](QPrinter &printer) {
        m_chosenPrinter = printer.outputFormat() == QPrinter::NativeFormat
            ? printer.printerName()
            : QStringLiteral("(file)");
        if (whileDialogIsOpen)
            whileDialogIsOpen();
        return true;
    };
    if (command == Command::Editor) {
        m_dialogs.inputs << QStringLiteral("Маша") << QStringLiteral("Грибная история");
        m_editor->findChild<QAction *>(QStringLiteral("MnuPrint"))->trigger();
        return;
    }
    m_dialogs.answers << Answer::Yes << Answer::Yes;
    m_dialogs.inputs << QStringLiteral("Грибная история") << QStringLiteral("Маша");
    m_editor->findChild<QAction *>(QStringLiteral("MnuRead"))->trigger();
    QTRY_COMPARE(m_dialogs.calls.size(), 4);
    ReadingWindow *reading = findWindow<ReadingWindow>();
    QVERIFY(reading);
    QCOMPARE(reading->readerBox()->toPlainText(), QStringLiteral("Читатель - Маша"));
    reading->findChild<QAction *>(QStringLiteral("MnuPrint"))->trigger();
}

// The one page the queue wrote, once the server is done with the job.
QString tst_PrintServer::printedPage()
{
    if (!m_cups.waitUntilDone())
        return QString();
    const QStringList files = m_cups.printedFiles();
    return files.size() == 1 ? files.first() : QString();
}

// The text of the one document the program handed to the server. The PDF
// printer's own page keeps its text as glyphs, but not as readable letters.
QString tst_PrintServer::handedOverText() const
{
    const QStringList files = m_cups.handedOverFiles();
    if (files.size() != 1)
        return QString();
    return runTool(QStringLiteral("pdftotext"), { files.first(), QStringLiteral("-") });
}

void tst_PrintServer::editorPageReachesQueue()
{
    if (const QString why = CupsDaemon::pagesUnreadable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    startPrint(Command::Editor);
    // With no printer picked, the dialog offers the server's default queue.
    QCOMPARE(m_chosenPrinter, QLatin1String(CupsDaemon::Queue));
    QCOMPARE(m_dialogs.kinds(), (QStringList { "input", "input", "print" }));
    const QString pdf = printedPage();
    QVERIFY2(!pdf.isEmpty(), qPrintable(m_cups.printedFiles().join(QLatin1Char(' '))));
    QCOMPARE(pageCount(pdf), 1);
    QVERIFY(fontCount(pdf) > 0);
    const QString text = handedOverText();
    for (const char *word : { "Грибная", "Автор:", "Маша", "Колючка", "Начало", "Истина" })
        QVERIFY2(text.contains(QString::fromUtf8(word)), word);

    // The flowchart stays lines and text: the only images are the four
    // pictures, each 4 cm wide.
    const QList<QSizeF> images = imagesOf(pdf);
    QCOMPARE(images.size(), 4);
    for (const QSizeF &image : images)
        QVERIFY2(qAbs(image.width() * 2.54 - 4) < 0.1, qPrintable(QString::number(image.width())));
}

void tst_PrintServer::readingPageReachesQueue_data()
{
    QTest::addColumn<bool>("scrolled");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("hidden");

    QTest::newRow("story in view") << false << QStringLiteral("Колючка") << QString();
    // The scroll bar then has a slider, and the start of the story is out of view.
    QTest::newRow("long story scrolled to its end")
        << true << QStringLiteral("Невидимка") << QStringLiteral("Колючка");
}

void tst_PrintServer::readingPageReachesQueue()
{
    if (const QString why = CupsDaemon::pagesUnreadable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    QFETCH(bool, scrolled);
    QFETCH(QString, shown);
    QFETCH(QString, hidden);
    if (scrolled) {
        for (int i = 0; i < 150; ++i)
            m_story.blockTexts[9] += QStringLiteral(" ёжик");
        m_story.blockTexts[9] += QStringLiteral(" Невидимка");
    }
    startPrint(Command::Reader, [&] {
        QTextEdit *story = findWindow<ReadingWindow>()->storyBox();
        story->moveCursor(scrolled ? QTextCursor::End : QTextCursor::Start);
        story->ensureCursorVisible();
    });
    QCOMPARE(m_chosenPrinter, QLatin1String(CupsDaemon::Queue));
    QCOMPARE(m_dialogs.kinds().mid(4), QStringList({ "print" }));
    const QString pdf = printedPage();
    QVERIFY2(!pdf.isEmpty(), qPrintable(m_cups.printedFiles().join(QLatin1Char(' '))));
    QCOMPARE(pageCount(pdf), 1);
    QVERIFY(fontCount(pdf) > 0);
    const QString text = handedOverText();
    for (const char *word : { "Грибная", "Читатель", "Маша" })
        QVERIFY2(text.contains(QString::fromUtf8(word)), word);
    QVERIFY(text.contains(shown));
    QVERIFY(hidden.isEmpty() || !text.contains(hidden));

    // No copy of the whole window: the one image is the picture, at the
    // 225 x 185 pixels of its control on the screen.
    const QList<QSizeF> images = imagesOf(pdf);
    QCOMPARE(images.size(), 1);
    QVERIFY2(qAbs(images[0].width() - 225 / 96.0) < 0.05,
        qPrintable(QString::number(images[0].width())));
    QVERIFY2(qAbs(images[0].height() - 185 / 96.0) < 0.05,
        qPrintable(QString::number(images[0].height())));
}

void tst_PrintServer::failuresAreSaidAloud_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("message");

    const QString rejecting = QStringLiteral(
        "Рассказ не напечатан: принтер «pdf» не принимает задания (Бумага кончилась).");
    const QString denied = QStringLiteral("Рассказ не напечатан: принтер «pdf» не принял задание: "
                                          "Not allowed to print.");
    const QString deleted
        = QStringLiteral("Рассказ не напечатан: принтера «pdf» больше нет на сервере печати.");
    const QString gone = QStringLiteral(
        "Рассказ не напечатан: принтер «pdf» недоступен: сервер печати не отвечает.");
    for (const Command command : { Command::Editor, Command::Reader }) {
        const char *name = command == Command::Editor ? "editor" : "reader";
        QTest::addRow("%s, queue rejects jobs", name) << command << Fault::Rejecting << rejecting;
        QTest::addRow("%s, user may not print", name) << command << Fault::UserDenied << denied;
        QTest::addRow("%s, queue deleted", name) << command << Fault::Deleted << deleted;
        QTest::addRow("%s, server stopped", name) << command << Fault::ServerGone << gone;
    }
}

void tst_PrintServer::failuresAreSaidAloud()
{
    QFETCH(Command, command);
    QFETCH(Fault, fault);
    QFETCH(QString, message);
    if (!PrintServer::canAsk())
        QSKIP("built without libcups: the program cannot ask the print server");

    const StoryDocument before = m_story;
    const QString queue = QLatin1String(CupsDaemon::Queue);
    QString failed;
    // Each fault strikes between the print dialog and the print.
    startPrint(command, [&] {
        switch (fault) {
        case Fault::Rejecting:
            failed = m_cups.run(QStringLiteral("cupsreject"),
                { QStringLiteral("-r"), QStringLiteral("Бумага кончилась"), queue });
            break;
        case Fault::UserDenied:
            failed = m_cups.run(QStringLiteral("lpadmin"),
                { QStringLiteral("-p"), queue, QStringLiteral("-u"),
                    QStringLiteral("deny:") + userName() });
            break;
        case Fault::Deleted:
            failed = m_cups.run(QStringLiteral("lpadmin"), { QStringLiteral("-x"), queue });
            break;
        case Fault::ServerGone:
            m_cups.stop();
            break;
        }
    });
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    QCOMPARE(m_chosenPrinter, queue);
    QCOMPARE(m_dialogs.kinds().last(), QStringLiteral("error"));
    QCOMPARE(m_dialogs.calls.last().text, message);

    QCOMPARE(m_story.blockTexts, before.blockTexts);
    QCOMPARE(m_story.picturePaths, before.picturePaths);
    if (command == Command::Reader)
        QCOMPARE(findWindow<ReadingWindow>()->titleBox()->toPlainText(),
            QStringLiteral("Грибная история"));
    // Nothing was printed, and the server, where it still runs, holds no job.
    if (fault != Fault::ServerGone && fault != Fault::Deleted)
        QCOMPARE(m_cups.jobCount(), 0);
    QVERIFY(m_cups.printedFiles().isEmpty());
}

void tst_PrintServer::stoppedQueueHoldsJob()
{
    if (const QString why = CupsDaemon::pagesUnreadable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    const QString queue = QLatin1String(CupsDaemon::Queue);
    QCOMPARE(m_cups.run(QStringLiteral("cupsdisable"), { queue }), QString());
    startPrint(Command::Editor);
    // The job waits in the queue: that is no failure.
    QCOMPARE(m_dialogs.kinds(), (QStringList { "input", "input", "print" }));
    QCOMPARE(m_cups.jobCount(), 1);
    QVERIFY(m_cups.printedFiles().isEmpty());
    // It prints when the queue starts again.
    QCOMPARE(m_cups.run(QStringLiteral("cupsenable"), { queue }), QString());
    const QString pdf = printedPage();
    QVERIFY(!pdf.isEmpty());
    QCOMPARE(pageCount(pdf), 1);
}

// Qt's own boxes and print dialog, as the pupil meets them: the dialog
// offers the server's default queue, and a refusal comes as a warning box.
void tst_PrintServer::realDialogsPrintAndSayRefusal()
{
    if (const QString why = CupsDaemon::pagesUnreadable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    if (!PrintServer::canAsk())
        QSKIP("built without libcups: the program cannot ask the print server");
    QtDialogs dialogs;
    EditorWindow editor(m_story, dialogs);
    editor.show();
    QVERIFY(comeBackTo(&editor));

    QString offered;
    QString warning;
    // Two input boxes, then the print dialog, then perhaps a warning.
    const auto answerAll = [&](bool warned) {
        QList<std::function<void(QWidget *)>> steps
            = { [](QWidget *author) { qobject_cast<QInputDialog *>(author)->accept(); },
                  [](QWidget *title) { qobject_cast<QInputDialog *>(title)->accept(); },
                  [&](QWidget *modal) {
                      auto *dialog = qobject_cast<QPrintDialog *>(modal);
                      QVERIFY(dialog);
                      offered = dialog->printer()->printerName();
                      dialog->accept();
                  } };
        if (warned) {
            steps << [&](QWidget *box) {
                auto *message = qobject_cast<QMessageBox *>(box);
                QVERIFY(message);
                QCOMPARE(message->icon(), QMessageBox::Warning);
                warning = message->text();
                message->button(QMessageBox::Ok)->click();
            };
        }
        return answerModals(steps, 30000);
    };

    answerAll(false);
    editor.print();
    QCOMPARE(offered, QLatin1String(CupsDaemon::Queue));
    QVERIFY(!printedPage().isEmpty());

    QCOMPARE(
        m_cups.run(QStringLiteral("cupsreject"), { QLatin1String(CupsDaemon::Queue) }), QString());
    offered.clear();
    answerAll(true);
    editor.print();
    QCOMPARE(offered, QLatin1String(CupsDaemon::Queue));
    QCOMPARE(warning, QStringLiteral("Рассказ не напечатан: принтер «pdf» не принимает задания."));
    QCOMPARE(m_cups.printedFiles().size(), 1);
}

void tst_PrintServer::lostOnlyOnTheServersWord_data()
{
    QTest::addColumn<bool>("history");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QString>("reason");

    QTest::newRow("printed, listed as completed") << true << false << QString();
    QTest::newRow("printed, forgotten at once") << false << false << QString();
    QTest::newRow("cancelled") << true << true
                               << QStringLiteral("принтер «pdf» не принял задание.");
}

// Handed over, a page is not printed only when the server says so; a server
// that keeps no history lists no finished job.
void tst_PrintServer::lostOnlyOnTheServersWord()
{
    QFETCH(bool, history);
    QFETCH(bool, cancelled);
    QFETCH(QString, reason);
    if (!PrintServer::canAsk())
        QSKIP("built without libcups: the program cannot ask the print server");
    if (const QString why = CupsDaemon::pagesUnreadable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    // Started without history for this case only; the next test has it back.
    const auto restart = qScopeGuard([&] {
        m_cups.keepJobHistory(true);
        if (!history)
            m_cups.stop();
    });
    if (!history) {
        m_cups.keepJobHistory(false);
        QCOMPARE(m_cups.start(), QString());
    }
    const QString queue = QLatin1String(CupsDaemon::Queue);
    PrintServer server(queue);
    QCOMPARE(server.refusal(), QString());

    // A job of this user handed over by lp leaves this thread's last answer
    // of the server as it was, a success.
    const QString page = m_cups.folder() + QStringLiteral("/page.txt");
    QFile text(page);
    QVERIFY(text.open(QIODevice::WriteOnly) && text.write("page\n") == 5);
    text.close();
    if (cancelled)
        QCOMPARE(m_cups.run(QStringLiteral("cupsdisable"), { queue }), QString());
    QCOMPARE(m_cups.run(QStringLiteral("lp"), { QStringLiteral("-d"), queue, page }), QString());
    if (cancelled)
        QCOMPARE(m_cups.run(QStringLiteral("cancel"), { QStringLiteral("-a"), queue }), QString());
    QVERIFY(m_cups.waitUntilDone());
    QCOMPARE(m_cups.jobCount(), history ? 1 : 0);
    QCOMPARE(server.lostJob(), reason);
}

QTEST_MAIN(tst_PrintServer)
#include "tst_printserver.moc"
