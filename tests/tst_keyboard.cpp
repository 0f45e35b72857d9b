#include "app/ProgramStart.h"
#include "app/TitleWindow.h"
#include "editor/EditorCanvas.h"
#include "editor/EditorKeyboard.h"
#include "editor/EditorWindow.h"
#include "editor/FocusMark.h"
#include "editor/HelpWindow.h"
#include "editor/ReadPathMark.h"
#include "editor/TextEntryWindow.h"
#include "files/Cp1251.h"
#include "flowchart/SpokenWords.h"
#include "reader/ReadingWindow.h"
#include "story/StoryDocument.h"
#include "story/StoryFiles.h"
#include "support/FindWindow.h"
#include "support/KeyInput.h"
#include "support/Pdf.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"
#include "widgets/Announcer.h"
#include "widgets/KeyboardStyle.h"
#include "widgets/MenuItemAccessible.h"
#include "widgets/PictureBox.h"
#include "widgets/QtDialogs.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QDir>
#include <QImageWriter>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <memory>

namespace {

const QStringList Texts = {
    QStringLiteral("Жил-был ёжик Колючка."),
    QStringLiteral("Пойдёт ли он в лес?"),
    QStringLiteral("Ёжик остался дома."),
    QStringLiteral("Ёжик пошёл в лес."),
    QStringLiteral("Испечёт ли он пирог?"),
    QStringLiteral("Найдёт ли он грибы?"),
    QStringLiteral("Пирог сгорел."),
    QStringLiteral("Пирог удался."),
    QStringLiteral("Грибов нет."),
    QStringLiteral("Он нашёл боровик."),
};

// The question boxes and input boxes are Qt's own, answered by keys; the
// file and print dialogs answer from the script.
class KeyboardDialogs : public ScriptedDialogs {
public:
    Answer ask(QWidget *parent, const QString &text, const QString &title,
        const QString &spokenBefore, const ReadingBox &reading) override
    {
        calls.append({ QStringLiteral("ask"), text, title, {}, spokenBefore, reading });
        return m_real.ask(parent, text, title, spokenBefore, reading);
    }
    std::optional<QString> input(QWidget *parent, const QString &prompt, const QString &title,
        const QString &spokenBefore, const ReadingBox &reading) override
    {
        calls.append({ QStringLiteral("input"), prompt, title, {}, spokenBefore, reading });
        return m_real.input(parent, prompt, title, spokenBefore, reading);
    }

private:
    QtDialogs m_real;
};

QWidget *focused()
{
    return QApplication::focusWidget();
}

} // namespace

class tst_Keyboard : public QObject {
    Q_OBJECT

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void tabOrder_data();
    void tabOrder();
    void arrowsFollowTheFlowchart_data();
    void arrowsFollowTheFlowchart();
    void focusMarkOnlyForTheKeyboard();
    void accessibleBlocksAndFrames_data();
    void accessibleBlocksAndFrames();
    void accessibleTextBoxes();
    void menuLettersOnlyWithAlt();
    void menuItemsSayTheirKeys_data();
    void menuItemsSayTheirKeys();
    void wholeStoryByKeyboard();

private:
    QWidget *place(int index) const;
    void focusPlace(int index);
    QString printPage(const QString &name);

    QTemporaryDir m_dir;
    StoryDocument m_story;
    std::unique_ptr<KeyboardDialogs> m_dialogs;
    std::unique_ptr<EditorWindow> m_editor;
};

void tst_Keyboard::initTestCase()
{
    KeyboardStyle::install();
    MenuItemAccessible::installFactory();
    QVERIFY(m_dir.isValid());
}

void tst_Keyboard::init()
{
    m_story = StoryDocument();
    m_dialogs = std::make_unique<KeyboardDialogs>();
    m_editor = std::make_unique<EditorWindow>(m_story, *m_dialogs);
    m_editor->setProgramFolder(m_dir.filePath(QStringLiteral("program")));
    connectReadingWindow(*m_editor, m_story, *m_dialogs);
    m_editor->resize(1000, 700);
    m_editor->show();
    QTRY_VERIFY(m_editor->isActiveWindow());
}

void tst_Keyboard::cleanup()
{
    m_dialogs->answers.enqueue(Dialogs::Answer::Yes);
    m_editor.reset();
    for (QWidget *window : QApplication::topLevelWidgets())
        window->close();
    m_dialogs.reset();
}

QWidget *tst_Keyboard::place(int index) const
{
    return index < 10 ? static_cast<QWidget *>(m_editor->blockArea(index))
                      : m_editor->pictureFrame(index - 10);
}

void tst_Keyboard::focusPlace(int index)
{
    place(index)->setFocus(Qt::OtherFocusReason);
    QCOMPARE(focused(), place(index));
}

void tst_Keyboard::tabOrder_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("next");
    QTest::addColumn<int>("previous");
    // Blocks 0 to 9, then frames 0 to 3 as 10 to 13, then round again.
    for (int from = 0; from < 14; ++from) {
        QTest::addRow("%s %d", from < 10 ? "block" : "frame", from < 10 ? from : from - 10)
            << from << (from + 1) % 14 << (from + 13) % 14;
    }
}

void tst_Keyboard::tabOrder()
{
    QFETCH(int, from);
    QFETCH(int, next);
    QFETCH(int, previous);
    focusPlace(from);
    pressKey(Qt::Key_Tab);
    QCOMPARE(focused(), place(next));
    focusPlace(from);
    pressKey(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(focused(), place(previous));
}

void tst_Keyboard::arrowsFollowTheFlowchart_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to"); // -1: the focus stays
    QTest::newRow("opening down to question 1") << 0 << int(Qt::Key_Down) << 1;
    QTest::newRow("question 1 false exit") << 1 << int(Qt::Key_Left) << 2;
    QTest::newRow("question 1 true exit") << 1 << int(Qt::Key_Right) << 3;
    QTest::newRow("question 1 has no down") << 1 << int(Qt::Key_Down) << -1;
    QTest::newRow("chapter 2 down to question 3") << 3 << int(Qt::Key_Down) << 5;
    QTest::newRow("question 3 true exit") << 5 << int(Qt::Key_Right) << 9;
    QTest::newRow("ending up to its question") << 8 << int(Qt::Key_Up) << 5;
    QTest::newRow("ending down to its picture") << 7 << int(Qt::Key_Down) << 11;
    QTest::newRow("picture up to its ending") << 12 << int(Qt::Key_Up) << 8;
    QTest::newRow("pictures along the row") << 10 << int(Qt::Key_Right) << 11;
    QTest::newRow("opening has no up") << 0 << int(Qt::Key_Up) << -1;
}

void tst_Keyboard::arrowsFollowTheFlowchart()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);
    focusPlace(from);
    pressKey(Qt::Key(key));
    QCOMPARE(focused(), place(to < 0 ? from : to));
    // A key that leads nowhere says so.
    Announcer *announcer = m_editor->keyboard()->announcer();
    QAccessibleInterface *said = QAccessible::queryAccessibleInterface(announcer);
    QCOMPARE(said->role(), QAccessible::Notification);
    QCOMPARE(said->text(QAccessible::Name).startsWith(QStringLiteral("Отсюда стрелки")), to < 0);
}

QString tst_Keyboard::printPage(const QString &name)
{
    const QString pdf = m_dir.filePath(name);
    m_dialogs->printToFile(pdf);
    const auto answered = answerModals({ [](QWidget *) { pressKey(Qt::Key_Return); },
        [](QWidget *) { pressKey(Qt::Key_Return); } });
    m_editor->print();
    [&] { QTRY_VERIFY(answered()); }();
    return pdf;
}

void tst_Keyboard::focusMarkOnlyForTheKeyboard()
{
    if (!popplerInstalled())
        QSKIP("poppler-utils are not installed: the printed page cannot be checked");
    EditorCanvas *canvas = m_editor->canvas();
    // The window opens with the focus on the opening block, unmarked.
    QCOMPARE(focused(), place(0));
    const QImage mouseView = canvas->grab().toImage();

    pressKey(Qt::Key_Tab);
    QCOMPARE(focused(), place(1));
    const QImage marked = canvas->grab().toImage();
    // Exactly a 2-pixel ring around the block's click area differs, all of
    // it in the palette's highlight colour.
    const QRect area = place(1)->geometry();
    const QRect outer = area.adjusted(-2, -2, 2, 2);
    QCOMPARE(m_editor->keyboard()->mark()->markRect(), outer);
    const QColor highlight = m_editor->palette().color(QPalette::Active, QPalette::Highlight);
    const QRegion ring = QRegion(outer) - QRegion(area);
    int differing = 0;
    for (int y = 0; y < marked.height(); ++y) {
        for (int x = 0; x < marked.width(); ++x) {
            const bool inRing = ring.contains(QPoint(x, y));
            if (inRing)
                QCOMPARE(marked.pixelColor(x, y), highlight);
            differing += marked.pixel(x, y) != mouseView.pixel(x, y);
            if (!inRing)
                QCOMPARE(marked.pixel(x, y), mouseView.pixel(x, y));
        }
    }
    QVERIFY(differing > 2 * (area.width() + area.height()));

    // The redraw on activation keeps the focus and its mark.
    QVERIFY(comeBackTo(m_editor.get()));
    QCOMPARE(focused(), place(1));
    QCOMPARE(canvas->grab().toImage(), marked);

    // The page is printed from the drawing alone: with or without the mark,
    // it is the same.
    focusPlace(12);
    pressKey(Qt::Key_Tab);
    QVERIFY(!m_editor->keyboard()->mark()->markRect().isEmpty());
    const QImage pageMarked = pageImage(printPage(QStringLiteral("marked.pdf")), 72);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(3, 3));
    QVERIFY(m_editor->keyboard()->mark()->markRect().isEmpty());
    const QImage pagePlain = pageImage(printPage(QStringLiteral("plain.pdf")), 72);
    QVERIFY(!pagePlain.isNull());
    QCOMPARE(pageMarked, pagePlain);

    // After the mouse, the window is what a mouse user always saw, even with
    // a block still holding the focus.
    QCOMPARE(focused(), place(13));
    focusPlace(1);
    QCOMPARE(canvas->grab().toImage(), mouseView);
    // A click on a block opens it, and leaves no mark either.
    pressKey(Qt::Key_Tab);
    const auto answered = answerModals({ [](QWidget *entry) {
        QTest::mouseClick(static_cast<TextEntryWindow *>(entry)->doneButton(), Qt::LeftButton);
    } });
    QTest::mouseClick(m_editor->blockArea(2), Qt::LeftButton);
    QTRY_VERIFY(answered());
    QTRY_VERIFY(m_editor->isActiveWindow());
    QCOMPARE(focused(), place(2));
    QCOMPARE(canvas->grab().toImage(), mouseView);
}

void tst_Keyboard::accessibleBlocksAndFrames_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < 14; ++i)
        QTest::addRow("place %d", i) << i;
}

void tst_Keyboard::accessibleBlocksAndFrames()
{
    QFETCH(int, index);
    // The words are checked where they are made; here, that each place has
    // a name of its own, and a block the one its neighbours' descriptions
    // call it by.
    const auto said = [this](int at, QAccessible::Text text) {
        return QAccessible::queryAccessibleInterface(place(at))->text(text);
    };
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(this->place(index));
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Button);
    QVERIFY(iface->state().focusable);
    const QString name = iface->text(QAccessible::Name);
    for (int other = 0; other < BlockCount + FrameCount; ++other)
        QCOMPARE(said(other, QAccessible::Name) == name, other == index);
    for (int b = 0; b < BlockCount; ++b) {
        if (index < BlockCount && (arrowInto(index).from == b || arrowInto(b).from == index))
            QVERIFY(said(b, QAccessible::Description).contains(name));
        // A frame bears its ending's number.
        if (index >= BlockCount && FlowchartBlocks[b].frame == index - BlockCount)
            QCOMPARE(name.section(' ', -1), said(b, QAccessible::Name).section(' ', -1));
    }
    QAccessibleActionInterface *actions = iface->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    QCOMPARE(actions->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
        QStringList { QStringLiteral("Пробел или Ввод") });

    if (index < BlockCount) {
        // The text as typed, then where the block sits.
        const QString place
            = iface->text(QAccessible::Description).section(QStringLiteral(". "), 1);
        QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("пусто. ") + place);
        // Pressing opens the entry window for this very block; what is
        // typed there becomes the description. Enter presses the button.
        answerModals({ [](QWidget *entry) {
            typeText(QStringLiteral("Ёж и лиса"));
            pressKey(Qt::Key_Tab);
            QCOMPARE(focused(), static_cast<TextEntryWindow *>(entry)->doneButton());
            pressKey(Qt::Key_Return);
        } });
        actions->doAction(QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(m_story.blockTexts[index], QStringLiteral("Ёж и лиса"));
        QCOMPARE(m_story.currentBlock, index);
        QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("Ёж и лиса. ") + place);
    } else {
        const int frame = index - 10;
        QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("картинка не выбрана"));
        const QString picture = m_dir.filePath(QStringLiteral("ёж %1.bmp").arg(frame));
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(picture, "BMP"));
        m_dialogs->files.enqueue(picture);
        actions->doAction(QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(m_dialogs->kinds(), QStringList { "file" });
        QCOMPARE(m_dialogs->calls.constFirst().file.folder,
            m_dir.filePath(QStringLiteral("program/Картинки")));
        // The dialog is named for the frame's ending, as the frame is.
        QVERIFY(m_dialogs->calls.constFirst().file.spokenName.endsWith(name.section(' ', 1)));
        QCOMPARE(m_story.picturePath(frame), picture);
        QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("ёж %1.bmp").arg(frame));
    }
}

void tst_Keyboard::accessibleTextBoxes()
{
    const auto check = [](QWidget *widget, QAccessible::Role role, const QString &name) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(iface);
        QCOMPARE(iface->role(), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
    };

    const auto answered = answerModals({ [&](QWidget *window) {
        auto *entry = static_cast<TextEntryWindow *>(window);
        check(entry->textBox(), QAccessible::EditableText, QStringLiteral("Текст блока"));
        QCOMPARE(
            QAccessible::queryAccessibleInterface(entry->textBox())->text(QAccessible::Description),
            QStringLiteral("Глава 2"));
        check(entry->doneButton(), QAccessible::Button, QStringLiteral("Ввод завершён"));
        pressKey(Qt::Key_Tab);
        pressKey(Qt::Key_Space);
    } });
    focusPlace(3);
    pressKey(Qt::Key_Return);
    QTRY_VERIFY(answered());

    // The help text and the title speak of the mouse; the ear hears the keys.
    HelpWindow help;
    check(help.textBox(), QAccessible::EditableText, QStringLiteral("Описание программы"));
    QVERIFY(QAccessible::queryAccessibleInterface(&help)
                ->text(QAccessible::Description)
                .contains(QStringLiteral("Tab")));
    TitleWindow title;
    title.timer()->stop();
    check(title.picture(), QAccessible::Button,
        QStringLiteral("Тропинец. Нажми Ввод или щёлкни по картинке, чтобы начать"));

    ReadingWindow reading(
        m_story, *m_dialogs, m_editor->readingAloud(), [](int) { return QImage(); });
    check(reading.titleBox(), QAccessible::EditableText, QStringLiteral("Название рассказа"));
    check(reading.readerBox(), QAccessible::EditableText, QStringLiteral("Читатель"));
    check(reading.storyBox(), QAccessible::EditableText, QStringLiteral("Рассказ"));
    check(reading.endingPicture(), QAccessible::StaticText, QStringLiteral("Картинка к концовке"));
}

void tst_Keyboard::menuLettersOnlyWithAlt()
{
    QMenuBar *bar = m_editor->menuBar();
    const auto underlined = [](const QWidget *widget) {
        return widget->style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, widget) != 0;
    };
    const QImage plain = bar->grab().toImage();
    QVERIFY(!underlined(bar));

    // Held down, Alt shows the access letters, and only they change.
    QTest::sendKeyEvent(
        QTest::Press, QGuiApplication::focusWindow(), Qt::Key_Alt, QString(), Qt::AltModifier);
    QVERIFY(underlined(bar));
    const QImage letters = bar->grab().toImage();
    QCOMPARE(letters.size(), plain.size());
    QVERIFY(letters != plain);
    // Released, the menu bar is worked by the keyboard and keeps them.
    QTest::sendKeyEvent(
        QTest::Release, QGuiApplication::focusWindow(), Qt::Key_Alt, QString(), Qt::NoModifier);
    QCOMPARE(QApplication::focusWidget(), bar);
    QVERIFY(underlined(bar));
    pressKey(Qt::Key_Escape);
    QCOMPARE(focused(), place(0));
    QVERIFY(!underlined(bar));
    QCOMPARE(bar->grab().toImage(), plain);

    // A menu opened by Alt and its letter shows them; opened by the mouse, not.
    pressAltLetter(QChar(u'ф'));
    QWidget *popup = QApplication::activePopupWidget();
    QVERIFY(popup);
    QVERIFY(underlined(popup));
    pressKey(Qt::Key_Escape);
    QTRY_VERIFY(!QApplication::activePopupWidget());
    QTest::mouseClick(
        bar, Qt::LeftButton, {}, bar->actionGeometry(bar->actions().constFirst()).center());
    popup = QApplication::activePopupWidget();
    QVERIFY(popup);
    QVERIFY(!underlined(popup));
    popup->close();
}

void tst_Keyboard::menuItemsSayTheirKeys_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("keys"); // mnemonic, from the window, shortcut
    QTest::newRow("on the bar") << "MnuFile" << QStringList { "Alt+Ф", "Alt+Ф", "" };
    QTest::newRow("with a shortcut") << "MnuSave" << QStringList { "С", "Alt+Ф:С", "Ctrl+S" };
    QTest::newRow("a switch") << "MnuSpeak" << QStringList { "В", "Alt+Р:В", "" };
    QTest::newRow("a command on the bar") << "MnuExit" << QStringList { "Alt+В", "Alt+В", "" };
}

void tst_Keyboard::menuItemsSayTheirKeys()
{
    QFETCH(QString, item);
    QFETCH(QStringList, keys);
    auto *action = m_editor->findChild<QAction *>(item);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(action);
    QAccessibleActionInterface *actions = iface->actionInterface();
    QCOMPARE(actions->keyBindingsForAction(actions->actionNames().value(0)), keys);
    // A command that cannot be had says why, as its tooltip does.
    QVERIFY(iface->text(QAccessible::Description).isEmpty());
    action->setToolTip(QStringLiteral("Нельзя."));
    QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("Нельзя."));
}

void tst_Keyboard::wholeStoryByKeyboard()
{
    if (!popplerInstalled())
        QSKIP("poppler-utils are not installed: the printed PDF cannot be checked");
    QSignalSpy ended(m_editor.get(), &EditorWindow::programEndRequested);

    // Each block in turn: Tab to it, Enter, type, Tab to the button, Space.
    for (int b = 0; b < 10; ++b) {
        for (int tabs = 0; focused() != place(b) && tabs < 14; ++tabs)
            pressKey(Qt::Key_Tab);
        QCOMPARE(focused(), place(b));
        const auto answered = answerModals({ [b](QWidget *) {
            typeText(Texts[b]);
            pressKey(Qt::Key_Tab);
            pressKey(Qt::Key_Space);
        } });
        pressKey(Qt::Key_Return);
        QTRY_VERIFY(answered());
        QTRY_VERIFY(m_editor->isActiveWindow());
        // Back on the block that opened the window.
        QCOMPARE(focused(), place(b));
    }
    QCOMPARE(m_story.blockTexts,
        (std::array<QString, 10> { Texts[0], Texts[1], Texts[2], Texts[3], Texts[4], Texts[5],
            Texts[6], Texts[7], Texts[8], Texts[9] }));

    // Each frame: Tab to it, Enter, and the file dialog gives a picture.
    QStringList pictures;
    for (int k = 0; k < 4; ++k) {
        pressKey(Qt::Key_Tab);
        QCOMPARE(focused(), place(10 + k));
        pictures << m_dir.filePath(QStringLiteral("картинка%1.bmp").arg(k));
        QImage image(60, 40, QImage::Format_RGB32);
        image.fill(QColor(200, 30 + 50 * k, 30));
        QVERIFY(image.save(pictures.last(), "BMP"));
        m_dialogs->files.enqueue(pictures.last());
        pressKey(k % 2 ? Qt::Key_Space : Qt::Key_Return);
        QVERIFY(!m_editor->pictureFrame(k)->picture().isNull());
        QCOMPARE(focused(), place(10 + k));
    }

    // Ctrl+S saves both files.
    const QString story = m_dir.filePath(QStringLiteral("Колючка.txt"));
    m_dialogs->files.enqueue(story);
    pressKey(Qt::Key_S, Qt::ControlModifier);
    QByteArray expected;
    for (const QString &text : Texts)
        expected += Cp1251::encode(text) + "\r\n";
    QCOMPARE(readAll(story), expected);
    QByteArray list;
    for (const QString &picture : pictures)
        list += Cp1251::encode(QDir::toNativeSeparators(picture)) + "\r\n";
    QCOMPARE(readAll(StoryFiles::pictureListPath(story)), list);
    QCOMPARE(m_editor->keyboard()->announcer()->accessibleName(),
        QStringLiteral("Рассказ сохранён в файл Колючка.txt."));

    // Рассказ › Печатать: the author and the title typed into the boxes.
    const auto printStory = [this](const QString &pdf) {
        m_dialogs->printToFile(pdf);
        const auto answered = answerModals({ [](QWidget *) {
                                                typeText(QStringLiteral("Маша Ёлкина"));
                                                pressKey(Qt::Key_Return);
                                            },
            [](QWidget *) {
                typeText(QStringLiteral("Колючка"));
                pressKey(Qt::Key_Return);
            } });
        pressAltLetter(QChar(u'р'));
        QVERIFY(QApplication::activePopupWidget());
        typeText(QStringLiteral("п"));
        QTRY_VERIFY(answered());
    };
    const QString storyPdf = m_dir.filePath(QStringLiteral("story.pdf"));
    printStory(storyPdf);
    const QString page = pdfText(storyPdf);
    for (const QString &word :
        { QStringLiteral("Маша Ёлкина"), QStringLiteral("Колючка"), QStringLiteral("боровик") })
        QVERIFY2(page.contains(word), qPrintable(word));

    // Рассказ › Читать: the questions answered by keys, No then Yes.
    auto answered = answerModals(
        { [](QWidget *) { pressKey(Qt::Key_Escape); }, [](QWidget *) { pressKey(Qt::Key_Return); },
            [](QWidget *) {
                typeText(QStringLiteral("Пирог"));
                pressKey(Qt::Key_Return);
            },
            [](QWidget *) {
                typeText(QStringLiteral("Петя"));
                pressKey(Qt::Key_Return);
            } });
    pressAltLetter(QChar(u'р'));
    typeText(QStringLiteral("ч"));
    QTRY_VERIFY_WITH_TIMEOUT(answered(), 10000);
    ReadingWindow *reading = findWindow<ReadingWindow>();
    QVERIFY(reading);
    QTRY_COMPARE(reading->readerBox()->toPlainText(), QStringLiteral("Читатель - Петя"));
    QCOMPARE(reading->storyBox()->toPlainText(),
        QStringList({ Texts[0], Texts[2], Texts[7], QString() }).join(QLatin1Char(' ')));
    // Each box is heard after the chapter just reached; the ending with its
    // picture.
    const QList<ScriptedDialogs::Call> walk = m_dialogs->calls.mid(m_dialogs->calls.size() - 4);
    QCOMPARE(walk[0].spokenBefore, Texts[0]);
    QCOMPARE(walk[1].spokenBefore, Texts[2]);
    QCOMPARE(
        walk[2].spokenBefore, Texts[7] + QStringLiteral(" Картинка к концовке: картинка1.bmp."));
    QCOMPARE(QAccessible::queryAccessibleInterface(reading->endingPicture())
                 ->text(QAccessible::Description),
        QStringLiteral("Картинка к концовке: картинка1.bmp."));
    QTRY_VERIFY(reading->isActiveWindow());

    // Печать рассказа, then Выход back to the editor.
    const QString readPdf = m_dir.filePath(QStringLiteral("reading.pdf"));
    m_dialogs->printToFile(readPdf);
    pressAltLetter(QChar(u'п'));
    const QString read = pdfText(readPdf);
    for (const QString &word :
        { QStringLiteral("Пирог"), QStringLiteral("Петя"), QStringLiteral("удался") })
        QVERIFY2(read.contains(word), qPrintable(word));
    pressAltLetter(QChar(u'в'));
    QTRY_VERIFY(m_editor->isActiveWindow());
    QVERIFY(!reading->isVisible());
    QCOMPARE(focused(), place(13));

    // The way the reading went is said, and each block tells whether it was on it.
    const QString path = QStringLiteral("Прочитанный путь: Начало рассказа → Вопрос 1, Ложь → "
                                        "Глава 1 → Вопрос 2, Истина → Концовка 2");
    const auto description = [](QWidget *widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Description);
    };
    QCOMPARE(description(m_editor.get()), path);
    QVERIFY(
        description(place(2)).endsWith(QStringLiteral("Дальше: Вопрос 2. На прочитанном пути.")));
    QVERIFY(description(place(4)).endsWith(QStringLiteral(" На прочитанном пути, выход Истина.")));
    QVERIFY(!description(place(3)).contains(QStringLiteral("пути")));
    // The trace is never printed.
    const QString tracedPdf = m_dir.filePath(QStringLiteral("traced.pdf"));
    printStory(tracedPdf);
    QCOMPARE(pageImage(tracedPdf, 50), pageImage(storyPdf, 50));
    // A text entered ends it.
    focusPlace(9);
    answered = answerModals({ [](QWidget *) {
        typeText(QStringLiteral("!"));
        pressKey(Qt::Key_Tab);
        pressKey(Qt::Key_Space);
    } });
    pressKey(Qt::Key_Return);
    QTRY_VERIFY(answered());
    QTRY_COMPARE(description(m_editor.get()), QString());
    QVERIFY(m_editor->readPathMark()->path().isEmpty());

    // Выход, and Enter answers Yes.
    answered = answerModals({ [](QWidget *) { pressKey(Qt::Key_Return); } });
    pressAltLetter(QChar(u'в'));
    QTRY_VERIFY(answered());
    QCOMPARE(ended.size(), 1);
}

QTEST_MAIN(tst_Keyboard)
#include "tst_keyboard.moc"
