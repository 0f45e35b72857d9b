#include "editor/EditorWindow.h"
#include "story/StoryDocument.h"
#include "support/KeyInput.h"
#include "support/TestFiles.h"
#include "widgets/BoxPlace.h"
#include "widgets/QtDialogs.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

class tst_QtDialogs : public QObject {
    Q_OBJECT

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

private slots:
    void initTestCase();
    void questionBox_data();
    void questionBox();
    void inputBox();
    void readingBoxes_data();
    void readingBoxes();
    void besideInView_data();
    void besideInView();
    void fileDialogSettings();
    void editorExitThroughRealBox();
    void editorRedrawsOnlyComingBack_data();
    void editorRedrawsOnlyComingBack();
    void webPageThroughRealDialog_data();
    void webPageThroughRealDialog();

private:
    QTranslator m_russian;
    bool m_translated = false;
};

void tst_QtDialogs::initTestCase()
{
    m_translated = m_russian.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"),
        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    QVERIFY2(m_translated, "Qt's Russian translation (qt6-translations-l10n) is missing");
    QApplication::installTranslator(&m_russian);
}

void tst_QtDialogs::questionBox_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shownTitle");
    QTest::addColumn<bool>("clickYes");
    QTest::newRow("named title, Yes") << "Выбор продолжения"
                                      << "Выбор продолжения" << true;
    QTest::newRow("no title shows the program's, No") << QString() << "Тропинец" << false;
}

void tst_QtDialogs::questionBox()
{
    QFETCH(QString, title);
    QFETCH(QString, shownTitle);
    QFETCH(bool, clickYes);
    QtDialogs dialogs;
    bool checked = false;
    answerModals({ [&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), shownTitle);
        // Shown as written, tags and all; heard after the story so far.
        QCOMPARE(box->text(), QStringLiteral("<b>Пойдёт</b> ли лиса в лес?"));
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))->accessibleName(),
            QStringLiteral("Жила-была лиса. <b>Пойдёт</b> ли лиса в лес?"));
        QCOMPARE(box->icon(), QMessageBox::Question);
        QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
        // Wide enough for the window manager to show the whole title.
        QVERIFY(box->width() > box->fontMetrics().horizontalAdvance(shownTitle) + 100);
        if (m_translated) {
            QVERIFY(box->button(QMessageBox::Yes)->text().contains(QStringLiteral("Да")));
            QVERIFY(box->button(QMessageBox::No)->text().contains(QStringLiteral("Нет")));
        }
        checked = true;
        box->button(clickYes ? QMessageBox::Yes : QMessageBox::No)->click();
    } });
    const Dialogs::Answer answer
        = dialogs.ask(nullptr, QStringLiteral("<b>Пойдёт</b> ли лиса в лес?"), title,
            QStringLiteral("Жила-была лиса."), {});
    QVERIFY(checked);
    QCOMPARE(answer, clickYes ? Dialogs::Answer::Yes : Dialogs::Answer::No);
}

void tst_QtDialogs::inputBox()
{
    QtDialogs dialogs;
    answerModals({ [](QWidget *modal) {
        auto *box = qobject_cast<QInputDialog *>(modal);
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("Тропинец"));
        QCOMPARE(box->labelText(), QStringLiteral("Рассказ читал:"));
        QCOMPARE(
            box->findChild<QLabel *>()->accessibleName(), QStringLiteral("Конец. Рассказ читал:"));
        QCOMPARE(
            box->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->accessibleName(),
            QStringLiteral("Готово"));
        QVERIFY(box->textValue().isEmpty());
        box->setTextValue(QStringLiteral("Маша"));
        box->accept();
    } });
    QCOMPARE(dialogs.input(nullptr, QStringLiteral("Рассказ читал:"), QStringLiteral("Тропинец"),
                 QStringLiteral("Конец."), {}),
        std::optional<QString>(QStringLiteral("Маша")));

    answerModals({ [](QWidget *modal) { qobject_cast<QInputDialog *>(modal)->reject(); } });
    QCOMPARE(dialogs.input(
                 nullptr, QStringLiteral("Рассказ читал:"), QStringLiteral("Тропинец"), {}, {}),
        std::nullopt);

    answerModals({ [](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QCOMPARE(box->button(QMessageBox::Ok)->accessibleName(), QStringLiteral("Понятно"));
        box->button(QMessageBox::Ok)->click();
    } });
    dialogs.error(nullptr, QStringLiteral("Файл «<i>лиса</i>.txt» не найден."));
}

void tst_QtDialogs::readingBoxes_data()
{
    QTest::addColumn<bool>("question");
    QTest::newRow("question box") << true;
    QTest::newRow("input box") << false;
}

void tst_QtDialogs::readingBoxes()
{
    QFETCH(bool, question);
    QtDialogs dialogs;
    QWidget window;
    window.setGeometry(100, 100, 400, 300);
    window.show();
    QTRY_VERIFY(window.isActiveWindow());
    const auto show = [&](const ReadingBox &reading, const std::function<void(QWidget *)> &seen) {
        const auto answered = answerModals({ [&](QWidget *box) {
            seen(box);
            if (auto *message = qobject_cast<QMessageBox *>(box))
                message->button(QMessageBox::Yes)->click();
            else
                qobject_cast<QDialog *>(box)->accept();
        } });
        const QString text = QStringLiteral("Пойдёт ли лиса в лес?");
        question ? void(dialogs.ask(&window, text, {}, {}, reading))
                 : void(dialogs.input(&window, text, ApplicationTitle, {}, reading));
        QTRY_VERIFY(answered());
    };
    QImage plain;
    show({}, [&](QWidget *box) { plain = box->grab().toImage(); });
    // Beside the window, read aloud off: it opens elsewhere, the same box.
    ReadingBox reading;
    reading.keepInView = { window.frameGeometry() };
    show(reading, [&](QWidget *box) {
        QVERIFY(!box->frameGeometry().intersects(window.frameGeometry()));
        QCOMPARE(box->grab().toImage(), plain);
    });
    // Read aloud, «Повторить» speaks and the box stays open; the ear hears
    // the box's question.
    int repeated = 0;
    reading.repeat = [&] { ++repeated; };
    reading.heard = QStringLiteral("Кто пойдёт в лес?");
    show(reading, [&](QWidget *box) {
        box->findChild<QPushButton *>(QStringLiteral("repeat"))->click();
        QCOMPARE(repeated, 1);
        QVERIFY(box->isVisible());
        QCOMPARE(box->findChild<QLabel *>(question ? QStringLiteral("qt_msgbox_label") : QString())
                     ->accessibleName(),
            reading.heard);
    });
}

void tst_QtDialogs::besideInView_data()
{
    // A 300 × 100 box on a 1024 × 768 screen goes below the place, or to its
    // right, left or above, or nowhere; a place without room gives way to
    // the next.
    QTest::addColumn<QRect>("place");
    QTest::addColumn<int>("side");
    QTest::newRow("below") << QRect(100, 100, 500, 300) << 0;
    QTest::newRow("right") << QRect(100, 400, 500, 368) << 1;
    QTest::newRow("left") << QRect(500, 400, 524, 368) << 2;
    QTest::newRow("above") << QRect(50, 400, 950, 368) << 3;
    QTest::newRow("nowhere") << QRect(0, 0, 1024, 768) << 4;
}

void tst_QtDialogs::besideInView()
{
    QFETCH(QRect, place);
    QFETCH(int, side);
    const QRect screen(0, 0, 1024, 768);
    const auto at = ::besideInView(QSize(300, 100), { screen, place }, screen);
    const QRect box = at ? QRect(*at, QSize(300, 100)) : QRect();
    const bool sides[] = { box.top() > place.bottom(), box.left() > place.right(),
        box.right() < place.left(), box.bottom() < place.top(), !at };
    QVERIFY2(sides[side] && (!at || screen.contains(box)) && (side == 4) == !at,
        qPrintable(QVariant(box).toString()));
}

void tst_QtDialogs::fileDialogSettings()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QtDialogs dialogs;
    FileDialogSettings settings;
    settings.mode = FileDialogSettings::Open;
    settings.folder = folder.path();
    settings.mustExist = true;
    settings.filters = { { QStringLiteral("Текстовые файлы"), QStringLiteral("*.txt") },
        { QStringLiteral("Файлы без расширения"), QStringLiteral("*") } };
    answerModals({ [&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        QCOMPARE(dialog->nameFilters(),
            QStringList({ QStringLiteral("Текстовые файлы (*.txt)"),
                QStringLiteral("Файлы без расширения (*)") }));
        QCOMPARE(dialog->directory().absolutePath(), QDir(folder.path()).absolutePath());
        QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
        QVERIFY(dialog->defaultSuffix().isEmpty());
        dialog->reject();
    } });
    QCOMPARE(dialogs.chooseFile(nullptr, settings), std::nullopt);

    settings.filters = { { QStringLiteral("Формат bitmap (*.bmp)"), QStringLiteral("*.bmp") } };
    settings.spokenName = QStringLiteral("Выбор картинки к концовке 2");
    answerModals({ [&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        // A name that already shows its pattern is kept as it stands.
        QCOMPARE(dialog->nameFilters(), QStringList({ QStringLiteral("Формат bitmap (*.bmp)") }));
        QCOMPARE(QAccessible::queryAccessibleInterface(dialog)->text(QAccessible::Name),
            settings.spokenName);
        // Between the places and the file name: the folder's files, by a name.
        QCOMPARE(dialog->findChild<QWidget *>(QStringLiteral("stackedWidget"))->accessibleName(),
            QStringLiteral("Содержимое папки"));
        dialog->reject();
    } });
    QCOMPARE(dialogs.chooseFile(nullptr, settings), std::nullopt);

    settings.mode = FileDialogSettings::Save;
    settings.proposedName = QStringLiteral("лиса.html");
    settings.defaultSuffix = QStringLiteral("html");
    answerModals({ [&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QCOMPARE(dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text(),
            settings.proposedName);
        QCOMPARE(dialog->defaultSuffix(), settings.defaultSuffix);
        dialog->reject();
    } });
    QCOMPARE(dialogs.chooseFile(nullptr, settings), std::nullopt);
}

void tst_QtDialogs::editorExitThroughRealBox()
{
    StoryDocument story;
    QtDialogs dialogs;
    EditorWindow editor(story, dialogs);
    editor.show();
    QTRY_VERIFY(editor.isActiveWindow());
    QSignalSpy ended(&editor, &EditorWindow::programEndRequested);

    const auto answered = answerModals({ [](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("Вы действительно хотите выйти из программы?"));
        QCOMPARE(box->windowTitle(), QStringLiteral("Тропинец"));
        QCOMPARE(box->icon(), QMessageBox::Question);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
        box->button(QMessageBox::No)->click();
    } });
    QVERIFY(!editor.close());
    QTRY_VERIFY(answered());
    QVERIFY(editor.isVisible());
    QCOMPARE(ended.size(), 0);

    answerModals({ [](QWidget *modal) {
        qobject_cast<QMessageBox *>(modal)->button(QMessageBox::Yes)->click();
    } });
    QVERIFY(editor.close());
    QCOMPARE(ended.size(), 1);
}

void tst_QtDialogs::editorRedrawsOnlyComingBack_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("redraws");
    QTest::newRow("cancelled Save") << "MnuSave" << false;
    QTest::newRow("cancelled Open") << "MnuOpen" << false;
    QTest::newRow("cancelled picture") << "Image1_0" << false;
    QTest::newRow("No to the exit question") << "MnuExit" << false;
    QTest::newRow("error box") << "error" << false;
    QTest::newRow("entry window") << "Label1_3" << true;
    QTest::newRow("help window") << "MnuHelp" << true;
}

void tst_QtDialogs::editorRedrawsOnlyComingBack()
{
    QFETCH(QString, command);
    QFETCH(bool, redraws);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Картинки")));
    const QString junk = dir.filePath(QStringLiteral("Картинки/x.jpg"));
    QFile(junk).open(QIODevice::WriteOnly);
    StoryDocument story;
    QtDialogs dialogs;
    EditorWindow editor(story, dialogs);
    editor.setProgramFolder(dir.path());
    editor.show();
    QTRY_VERIFY(editor.isActiveWindow());
    const quint64 drawn = editor.surface().revision();
    editor.resize(editor.width() + 300, editor.height());
    QTRY_VERIFY(editor.centralWidget()->width() > 900);

    bool errorShown = false;
    QList<std::function<void(QWidget *)>> steps = { [&](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            box->button(QMessageBox::No)->click();
        } else if (command == QLatin1String("error")) {
            auto *files = qobject_cast<QFileDialog *>(modal);
            // Typed, as a pupil would, into the dialog's name box.
            files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(junk);
            static_cast<QDialog *>(files)->accept();
        } else {
            modal->close();
        }
    } };
    if (command == QLatin1String("error")) {
        steps << [&](QWidget *box) {
            errorShown = qobject_cast<QMessageBox *>(box) != nullptr;
            box->close();
        };
    }
    const auto answered = answerModals(steps);
    if (command == QLatin1String("error") || command.startsWith(QLatin1String("Image1"))) {
        editor.choosePicture(0);
    } else if (command.startsWith(QLatin1String("Label1"))) {
        QTest::mouseClick(editor.findChild<QWidget *>(command), Qt::LeftButton);
    } else {
        editor.findChild<QAction *>(command)->trigger();
    }
    QTRY_VERIFY(answered());
    QTRY_COMPARE(errorShown, command == QLatin1String("error"));
    // Offscreen, only the program hands the activation back; a desktop does
    // it for every box. Either way it must not lay the flowchart out again.
    editor.activateWindow();
    QTRY_VERIFY(editor.isActiveWindow());
    if (redraws)
        QTRY_VERIFY(editor.surface().revision() != drawn);
    QTest::qWait(100);
    QCOMPARE(editor.surface().revision() != drawn, redraws);
}

void tst_QtDialogs::webPageThroughRealDialog_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("error"); // %1 is the stories' folder; empty when written
    QTest::newRow("a name without its ending") << "лиса"
                                               << "";
    // A folder in the page's place the dialog opens itself; a file where
    // the page's folder should be it takes.
    QTest::newRow("a file for a folder") << "файл/лиса"
                                         << "«%1/файл» — не папка, а файл";
}

void tst_QtDialogs::webPageThroughRealDialog()
{
    QFETCH(QString, typed);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString stories = dir.filePath(QStringLiteral("Рассказы"));
    QVERIFY(QDir().mkpath(stories) && writeAll(stories + QStringLiteral("/файл"), {}));
    StoryDocument story;
    story.blockTexts[0] = QStringLiteral("Жила-была лиса.");
    QtDialogs dialogs;
    EditorWindow editor(story, dialogs);
    editor.setProgramFolder(dir.path());
    editor.show();
    QTRY_VERIFY(editor.isActiveWindow());

    QString said;
    const QList<std::function<void(QWidget *)>> steps
        = { [&](QWidget *modal) {
               auto *dialog = qobject_cast<QFileDialog *>(modal);
               QCOMPARE(
                   dialog->nameFilters(), QStringList { QStringLiteral("Веб-страницы (*.html)") });
               QCOMPARE(dialog->directory().absolutePath(), QDir(stories).absolutePath());
               dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(typed);
               static_cast<QDialog *>(dialog)->accept();
           },
              [&](QWidget *modal) {
                  said = qobject_cast<QMessageBox *>(modal)->text();
                  modal->close();
              } };
    const auto answered = answerModals(steps.mid(0, error.isEmpty() ? 1 : 2));
    editor.findChild<QAction *>(QStringLiteral("MnuSaveWeb"))->trigger();
    QTRY_VERIFY(answered());
    const QString page = stories + QLatin1Char('/') + typed + QStringLiteral(".html");
    if (error.isEmpty())
        QVERIFY(readAll(page).contains("Жила-была лиса."));
    else
        QCOMPARE(said,
            QStringLiteral("Не удалось сохранить файл «%1»: %2.")
                .arg(QDir::toNativeSeparators(page), QDir::toNativeSeparators(error.arg(stories))));
    // The page is the one file written.
    QCOMPARE(QDir(stories).entryList(QDir::Files | QDir::Hidden),
        QStringList({ QStringLiteral("лиса.html"), QStringLiteral("файл") })
            .mid(error.isEmpty() ? 0 : 1));
}

QTEST_MAIN(tst_QtDialogs)
#include "tst_qtdialogs.moc"
