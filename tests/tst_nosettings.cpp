#include "app/ProgramStart.h"
#include "editor/EditorWindow.h"
#include "reader/ReadingWindow.h"
#include "story/StoryDocument.h"
#include "support/FindWindow.h"
#include "support/KeyInput.h"
#include "widgets/PictureBox.h"
#include "widgets/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QTemporaryDir &home()
{
    static QTemporaryDir folder;
    return folder;
}

QTemporaryDir &config()
{
    static QTemporaryDir folder;
    return folder;
}

QStringList filesUnder(const QString &folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    return found;
}

void chooseInFileDialog(QWidget *window, const QString &path)
{
    auto *dialog = qobject_cast<QFileDialog *>(window);
    QVERIFY(dialog);
    // The name typed into the dialog's name box, as the user would.
    dialog->setDirectory(QFileInfo(path).absolutePath());
    auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(name);
    name->setText(QFileInfo(path).fileName());
    QMetaObject::invokeMethod(dialog, "accept");
}

} // namespace

class tst_NoSettings : public QObject {
    Q_OBJECT

public:
    // Before the application, so that everything Qt looks up lands in the
    // test's own folders.
    static void initMain()
    {
        qputenv("HOME", home().path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", config().path().toLocal8Bit());
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    }

private slots:
    void everyDialogLeavesHomeAsItWas();
};

// The program keeps no settings: a run through the entry window, help,
// reading, and Qt's real file, input and print dialogs writes nothing into
// the user's home or config folders.
void tst_NoSettings::everyDialogLeavesHomeAsItWas()
{
#ifdef Q_OS_WIN
    QSKIP("Windows' home is the user's profile, which no variable moves, and Qt keeps its "
          "settings in the registry");
#endif
    QVERIFY(home().isValid() && config().isValid());
    QCOMPARE(QDir::homePath(), home().path());
    QTemporaryDir work;
    QVERIFY(QDir(work.path()).mkpath(QStringLiteral("program/Рассказы")));
    const QString story = work.filePath(QStringLiteral("program/Рассказы/ёж.txt"));
    const QString picture = work.filePath(QStringLiteral("ёж.bmp"));
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QVERIFY(image.save(picture, "BMP"));

    StoryDocument document;
    QtDialogs dialogs;
    auto editor = std::make_unique<EditorWindow>(document, dialogs);
    QSignalSpy ended(editor.get(), &EditorWindow::programEndRequested);
    editor->setProgramFolder(work.filePath(QStringLiteral("program")));
    connectReadingWindow(*editor, document, dialogs);
    editor->show();
    QTRY_VERIFY(editor->isActiveWindow());

    // The entry window.
    auto answered = answerModals({ [](QWidget *) {
        typeText(QStringLiteral("Жил-был ёж."));
        pressKey(Qt::Key_Tab);
        pressKey(Qt::Key_Space);
    } });
    pressKey(Qt::Key_Return);
    QTRY_VERIFY(answered());
    QCOMPARE(document.blockTexts[0], QStringLiteral("Жил-был ёж."));

    // Help, closed by Escape.
    answered = answerModals({ [](QWidget *) { pressKey(Qt::Key_Escape); } });
    pressAltLetter(QChar(u'о'));
    QTRY_VERIFY(answered());

    // A picture through the real file dialog; the focus comes back to the frame.
    for (int tabs = 0; QApplication::focusWidget() != editor->pictureFrame(0) && tabs < 14; ++tabs)
        pressKey(Qt::Key_Tab);
    answered
        = answerModals({ [picture](QWidget *dialog) { chooseInFileDialog(dialog, picture); } });
    pressKey(Qt::Key_Return);
    QTRY_VERIFY(answered());
    QCOMPARE(document.picturePath(0), QDir::toNativeSeparators(picture));
    QCOMPARE(QApplication::focusWidget(), editor->pictureFrame(0));

    // Save and open through the real file dialogs.
    answered = answerModals({ [story](QWidget *dialog) { chooseInFileDialog(dialog, story); } });
    pressKey(Qt::Key_S, Qt::ControlModifier);
    QTRY_VERIFY(answered());
    QVERIFY(QFileInfo::exists(story));
    answered = answerModals({ [story](QWidget *dialog) { chooseInFileDialog(dialog, story); } });
    pressKey(Qt::Key_O, Qt::ControlModifier);
    QTRY_VERIFY(answered());

    // Printing: the two input boxes, then the print dialog, cancelled.
    answered = answerModals(
        { [](QWidget *) { pressKey(Qt::Key_Return); }, [](QWidget *) { pressKey(Qt::Key_Return); },
            [](QWidget *dialog) {
                QVERIFY(qobject_cast<QPrintDialog *>(dialog));
                pressKey(Qt::Key_Escape);
            } });
    pressAltLetter(QChar(u'р'));
    typeText(QStringLiteral("п"));
    QTRY_VERIFY(answered());

    // Reading: two questions and two input boxes, then back.
    answered = answerModals({ [](QWidget *) { pressKey(Qt::Key_Return); },
        [](QWidget *) { pressKey(Qt::Key_Return); }, [](QWidget *) { pressKey(Qt::Key_Return); },
        [](QWidget *) { pressKey(Qt::Key_Return); } });
    pressAltLetter(QChar(u'р'));
    typeText(QStringLiteral("ч"));
    QTRY_VERIFY_WITH_TIMEOUT(answered(), 10000);
    QTRY_VERIFY(findWindow<ReadingWindow>() && findWindow<ReadingWindow>()->isActiveWindow());
    pressAltLetter(QChar(u'в'));
    QTRY_VERIFY(editor->isActiveWindow());

    // Leaving.
    answerModals({ [](QWidget *) { pressKey(Qt::Key_Return); } });
    pressAltLetter(QChar(u'в'));
    QTRY_COMPARE(ended.size(), 1);
    editor.reset();
    QCoreApplication::processEvents();

    QCOMPARE(filesUnder(home().path()), QStringList());
    QCOMPARE(filesUnder(config().path()), QStringList());
}

QTEST_MAIN(tst_NoSettings)
#include "tst_nosettings.moc"
