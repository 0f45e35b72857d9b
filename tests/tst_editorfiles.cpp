#include "editor/EditorWindow.h"
#include "files/Cp1251.h"
#include "story/StoryDocument.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"
#include "widgets/PictureBox.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <memory>

namespace {

const QStringList Texts = {
    QStringLiteral("Жил-был Лисёнок."),
    QStringLiteral("Пойдёт ли он в лес?"),
    QStringLiteral("Лисёнок пошёл в лес."),
    QStringLiteral("Лисёнок остался дома."),
    QStringLiteral("Встретит ли он Ежа?"),
    QStringLiteral("Позовёт ли он маму?"),
    QStringLiteral("Ёж подарил ему яблоко."),
    QStringLiteral("Лисёнок заблудился."),
    QStringLiteral("Мама испекла пирог."),
    QStringLiteral("Лисёнок уснул. «Конец» — №4"),
};

QByteArray crlf(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += Cp1251::encode(line) + "\r\n";
    return bytes;
}

bool drawn(const Surface &surface, const QString &word)
{
    for (const SurfaceOp &op : surface.ops()) {
        if (op.kind == SurfaceOp::Text && op.text.contains(word))
            return true;
    }
    return false;
}

} // namespace

class tst_EditorFiles : public QObject {
    Q_OBJECT

public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void cancelledDialog_data();
    void cancelledDialog();

    void saveThenOpen();
    void saveFailureKeepsFiles();
    void openKeepsStoryWhenUnreadable_data();
    void openKeepsStoryWhenUnreadable();
    void openPictureOutcomes_data();
    void openPictureOutcomes();
    void openLineEnds_data();
    void openLineEnds();
    void openStoryFromAnotherComputer();

    void imageClick();
    void refusedPictureKeepsTheOld_data();
    void refusedPictureKeepsTheOld();

private:
    QString file(const QString &name) const { return m_dir.filePath(name); }
    QString picture(const QString &name, QColor colour, QSize size = { 60, 40 });
    void fillStory();

    QTemporaryDir m_dir;
    StoryDocument m_story;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<EditorWindow> m_window;
};

void tst_EditorFiles::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("program/Картинки")));
}

void tst_EditorFiles::init()
{
    m_story = StoryDocument();
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_window = std::make_unique<EditorWindow>(m_story, *m_dialogs);
    m_window->setProgramFolder(file(QStringLiteral("program")));
    m_window->resize(1000, 700);
    m_window->show();
    QTRY_VERIFY(m_window->isActiveWindow());
}

void tst_EditorFiles::cleanup()
{
    m_dialogs->answers.enqueue(Dialogs::Answer::Yes);
    m_window->close();
    m_window.reset();
    m_dialogs.reset();
}

QString tst_EditorFiles::picture(const QString &name, QColor colour, QSize size)
{
    const QString path = file(name);
    QDir().mkpath(QFileInfo(path).path());
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QImageWriter writer(path, name.endsWith(QLatin1String(".bmp")) ? "bmp" : "jpeg");
    if (!writer.write(image))
        qWarning("cannot write %s", qPrintable(path));
    return path;
}

void tst_EditorFiles::fillStory()
{
    for (int b = 0; b < BlockCount; ++b)
        m_story.blockTexts[b] = Texts[b];
    const QList<QColor> colours = { Qt::red, Qt::green, Qt::blue, Qt::yellow };
    for (int k = 0; k < FrameCount; ++k) {
        const QString path
            = picture(QStringLiteral("pics/%1.%2").arg(k).arg(k % 2 ? "bmp" : "jpg"), colours[k]);
        m_dialogs->files.enqueue(path);
        m_window->choosePicture(k);
    }
}

void tst_EditorFiles::cancelledDialog_data()
{
    // Each dialog by what it is for: the folder it starts in, a name each of
    // its filters lists in turn, and a name none of them lists.
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("saving");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("hidden");
    const QStringList stories = { "лиса.txt", "лиса" };
    QTest::newRow("save") << "save" << true << "Рассказы" << stories << QString();
    QTest::newRow("open") << "open" << false << "Рассказы" << stories << QString();
    QTest::newRow("web page") << "web" << true << "Рассказы" << QStringList { "лиса.html" }
                              << "лиса.txt";
    QTest::newRow("picture") << "image" << false << "Картинки" << QStringList { "ёж.bmp", "ёж.jpg" }
                             << "ёж.jpeg";
}

void tst_EditorFiles::cancelledDialog()
{
    QFETCH(QString, command);
    QFETCH(bool, saving);
    QFETCH(QString, folder);
    QFETCH(QStringList, listed);
    QFETCH(QString, hidden);

    fillStory();
    const StoryDocument before = m_story;
    const QImage frame = m_window->pictureFrame(1)->picture();
    const QStringList files = QDir(m_dir.path()).entryList(QDir::Files);
    QVERIFY(!m_story.showBlockTexts);

    m_dialogs->calls.clear();
    m_dialogs->files.enqueue(std::nullopt);
    if (command == QLatin1String("save"))
        m_window->save();
    else if (command == QLatin1String("web"))
        m_window->saveWebPage();
    else if (command == QLatin1String("open"))
        m_window->open();
    else
        m_window->choosePicture(1);

    QCOMPARE(m_dialogs->kinds(), QStringList { "file" });
    const FileDialogSettings &settings = m_dialogs->calls.constFirst().file;
    // Saving asks before replacing a file; opening takes only one that is there.
    QCOMPARE(settings.mode, saving ? FileDialogSettings::Save : FileDialogSettings::Open);
    QCOMPARE(settings.confirmOverwrite, saving);
    QCOMPARE(settings.mustExist, !saving);
    QCOMPARE(settings.folder, file(QStringLiteral("program/") + folder));
    // Filter i lists the i-th name and none of the later ones; each is named
    // in Russian.
    QCOMPARE(settings.filters.size(), listed.size());
    QStringList patterns;
    for (qsizetype i = 0; i < listed.size(); ++i) {
        const FileDialogSettings::Filter &filter = settings.filters[i];
        QVERIFY2(filter.name.contains(QRegularExpression(QStringLiteral("^[А-ЯЁ][а-яё]"))),
            qPrintable(filter.name));
        for (qsizetype j = i; j < listed.size(); ++j)
            QCOMPARE(QDir::match(filter.pattern, listed[j]), i == j);
        patterns << filter.pattern;
    }
    QVERIFY(hidden.isEmpty() || !QDir::match(patterns, hidden));

    QCOMPARE(m_story.blockTexts, before.blockTexts);
    QCOMPARE(m_story.picturePaths, before.picturePaths);
    QCOMPARE(m_window->pictureFrame(1)->picture(), frame);
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), files);
    // Open turns the texts on even when cancelled.
    QCOMPARE(m_story.showBlockTexts, command == QLatin1String("open"));
    // The program never makes its folders.
    QVERIFY(!QFileInfo::exists(file(QStringLiteral("program/Рассказы"))));
}

void tst_EditorFiles::saveThenOpen()
{
    // The web page's dialog proposes the name of the story's own file.
    const auto proposedPage = [this] {
        m_dialogs->files.enqueue(std::nullopt);
        m_window->saveWebPage();
        return m_dialogs->calls.constLast().file.proposedName;
    };
    fillStory();
    QCOMPARE(proposedPage(), QString());
    const StoryDocument saved = m_story;
    m_dialogs->files.enqueue(file(QStringLiteral("stories/Лисёнок.txt")));
    QVERIFY(QDir().mkpath(file(QStringLiteral("stories"))));
    m_window->save();
    QCOMPARE(proposedPage(), QStringLiteral("Лисёнок.html"));
    QCOMPARE(readAll(file(QStringLiteral("stories/Лисёнок.txt"))), crlf(Texts));
    QStringList paths;
    for (int k = 0; k < FrameCount; ++k)
        paths << saved.picturePath(k);
    QCOMPARE(readAll(file(QStringLiteral("stories/Лисёнок.il"))), crlf(paths));

    m_window->newStory();
    QCOMPARE(proposedPage(), QString());
    QVERIFY(m_window->pictureFrame(0)->picture().isNull());
    m_dialogs->files.enqueue(file(QStringLiteral("stories/Лисёнок.txt")));
    m_window->open();
    QCOMPARE(proposedPage(), QStringLiteral("Лисёнок.html"));

    QCOMPARE(m_dialogs->kinds().count(QStringLiteral("error")), 0);
    QCOMPARE(m_story.blockTexts, saved.blockTexts);
    for (int k = 0; k < FrameCount; ++k) {
        QCOMPARE(m_story.picturePath(k), saved.picturePath(k));
        QCOMPARE(m_window->pictureFrame(k)->picture().size(), QSize(60, 40));
    }
    QCOMPARE(QColor(m_window->pictureFrame(2)->picture().pixel(30, 20)).blue() > 200, true);
    QVERIFY(m_story.showBlockTexts);
    QVERIFY(drawn(m_window->surface(), QStringLiteral("Лисёнок")));
}

void tst_EditorFiles::saveFailureKeepsFiles()
{
    fillStory();
    // The picture list's place is taken by a folder: neither file changes.
    QVERIFY(QDir().mkpath(file(QStringLiteral("blocked/fox.il"))));
    QVERIFY(writeAll(file(QStringLiteral("blocked/fox.txt")), "old\r\n"));
    m_dialogs->files.enqueue(file(QStringLiteral("blocked/fox.txt")));
    m_window->save();
    QCOMPARE(m_dialogs->kinds(), (QStringList { "file", "file", "file", "file", "file", "error" }));
    QVERIFY(m_dialogs->calls.constLast().text.contains(
        QDir::toNativeSeparators(file(QStringLiteral("blocked/fox.il")))));
    QCOMPARE(readAll(file(QStringLiteral("blocked/fox.txt"))), QByteArray("old\r\n"));
    QCOMPARE(m_story.blockTexts.back(), Texts.last());
    QVERIFY(!m_window->pictureFrame(3)->picture().isNull());
}

void tst_EditorFiles::openKeepsStoryWhenUnreadable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("says");
    QTest::newRow("missing") << "gone.txt" << QStringLiteral("не найден");
    QTest::newRow("folder") << "folder.txt" << QStringLiteral("папка");
    QTest::newRow("too large") << "huge.txt" << QStringLiteral("слишком большой");
    QTest::newRow("BMP") << "photo.bmp" << QStringLiteral("— это картинка, а не рассказ.");
    QTest::newRow("JPEG") << "photo.jpg" << QStringLiteral("— это картинка, а не рассказ.");
    QTest::newRow("NUL byte") << "zero.txt" << QStringLiteral("— не рассказ: в нём не текст.");
}

void tst_EditorFiles::openKeepsStoryWhenUnreadable()
{
    QFETCH(QString, name);
    QFETCH(QString, says);
    const QString path = file(QStringLiteral("bad/") + name);
    QVERIFY(QDir().mkpath(file(QStringLiteral("bad"))));
    if (name == QLatin1String("folder.txt"))
        QVERIFY(QDir().mkpath(path));
    if (name == QLatin1String("huge.txt")) {
        QFile huge(path);
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(200 * 1024 * 1024));
    }
    if (name.startsWith(QLatin1String("photo")))
        picture(QStringLiteral("bad/") + name, Qt::blue);
    if (name == QLatin1String("zero.txt")) // "nul" names a device on Windows
        QVERIFY(writeAll(path, crlf(Texts).insert(5, '\0')));
    fillStory();
    const StoryDocument before = m_story;

    m_dialogs->files.enqueue(path);
    m_window->open();

    QCOMPARE(m_dialogs->kinds().constLast(), QStringLiteral("error"));
    QVERIFY(m_dialogs->calls.constLast().text.contains(QDir::toNativeSeparators(path)));
    QVERIFY2(m_dialogs->calls.constLast().text.contains(says),
        qPrintable(m_dialogs->calls.constLast().text));
    QCOMPARE(m_story.blockTexts, before.blockTexts);
    QCOMPARE(m_story.picturePaths, before.picturePaths);
    QVERIFY(!m_window->pictureFrame(3)->picture().isNull());
}

void tst_EditorFiles::openPictureOutcomes_data()
{
    QTest::addColumn<QString>("list"); // lines joined by '|', "-" for no list
    QTest::addColumn<QString>("loaded"); // frames that show a picture
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<bool>("error");

    QTest::newRow("all four") << "@a.jpg|@b.bmp|@c.jpg|@d.jpg"
                              << "0123" << QStringList { "@a.jpg", "@b.bmp", "@c.jpg", "@d.jpg" }
                              << false;
    QTest::newRow("list missing") << "-"
                                  << "" << QStringList { "", "", "", "" } << false;
    QTest::newRow("list short") << "@a.jpg|@b.bmp"
                                << "01" << QStringList { "@a.jpg", "@b.bmp", "", "" } << false;
    QTest::newRow("list empty") << ""
                                << "" << QStringList { "", "", "", "" } << false;
    QTest::newRow("one missing picture")
        << "@a.jpg|/nowhere/x.jpg|@c.jpg|@d.jpg"
        << "023" << QStringList { "@a.jpg", "/nowhere/x.jpg", "@c.jpg", "@d.jpg" } << false;
    QTest::newRow("one non-picture")
        << "@a.jpg|@b.bmp|@story.txt|@d.jpg"
        << "013" << QStringList { "@a.jpg", "@b.bmp", "@story.txt", "@d.jpg" } << false;
    QTest::newRow("gaps") << "|@b.bmp||@d.jpg"
                          << "13" << QStringList { "", "@b.bmp", "", "@d.jpg" } << false;
    QTest::newRow("list is a folder") << "dir"
                                      << "" << QStringList { "", "", "", "" } << true;
}

void tst_EditorFiles::openPictureOutcomes()
{
    QFETCH(QString, list);
    QFETCH(QString, loaded);
    QFETCH(QStringList, paths);
    QFETCH(bool, error);

    const QString folder = file(QStringLiteral("outcomes/%1/").arg(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(folder));
    picture(folder.mid(m_dir.path().size() + 1) + QStringLiteral("a.jpg"), Qt::red);
    picture(folder.mid(m_dir.path().size() + 1) + QStringLiteral("b.bmp"), Qt::green);
    picture(folder.mid(m_dir.path().size() + 1) + QStringLiteral("c.jpg"), Qt::blue);
    picture(folder.mid(m_dir.path().size() + 1) + QStringLiteral("d.jpg"), Qt::white);
    QVERIFY(writeAll(folder + QStringLiteral("story.txt"), crlf(Texts)));
    if (list == QLatin1String("dir"))
        QVERIFY(QDir().mkpath(folder + QStringLiteral("story.il")));
    else if (list != QLatin1String("-"))
        QVERIFY(writeAll(folder + QStringLiteral("story.il"),
            Cp1251::encode(list.replace(QLatin1Char('@'), folder)
                               .replace(QLatin1Char('|'), QLatin1String("\r\n")))));
    // A picture from the story before must not survive into this one.
    fillStory();

    m_dialogs->files.enqueue(folder + QStringLiteral("story.txt"));
    m_window->open();

    QCOMPARE(m_dialogs->kinds().contains(QStringLiteral("error")), error);
    for (int b = 0; b < BlockCount; ++b)
        QCOMPARE(m_story.blockTexts[b], Texts[b]);
    for (int k = 0; k < FrameCount; ++k) {
        QCOMPARE(m_story.picturePath(k), QString(paths[k]).replace(QLatin1Char('@'), folder));
        const bool shown = loaded.contains(QString::number(k));
        QCOMPARE(!m_window->pictureFrame(k)->picture().isNull(), shown);
        const QString heard = m_window->pictureFrame(k)->description();
        QCOMPARE(heard.startsWith(QStringLiteral("не открылась")), !shown && !paths[k].isEmpty());
    }
}

void tst_EditorFiles::openLineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("lines"); // how many of the texts the file holds
    const QByteArray ten = Cp1251::encode(Texts.join(QLatin1Char('\n')));
    QTest::newRow("LF, no final end") << ten << 10;
    QTest::newRow("LF") << ten + "\n" << 10;
    QTest::newRow("CR") << QByteArray(ten).replace('\n', '\r') + "\r" << 10;
    QTest::newRow("CR LF, no final end") << QByteArray(ten).replace("\n", "\r\n") << 10;
    QTest::newRow("three lines") << crlf(Texts.mid(0, 3)) << 3;
    QTest::newRow("eleven lines") << crlf(Texts) + "extra\r\n" << 10;
    QTest::newRow("empty file") << QByteArray() << 0;
}

void tst_EditorFiles::openLineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, lines);
    const QString folder = file(QStringLiteral("ends/%1/").arg(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(folder));
    const QString red
        = picture(folder.mid(m_dir.path().size() + 1) + QStringLiteral("r.jpg"), Qt::red);
    QVERIFY(writeAll(folder + QStringLiteral("story"), bytes));
    QVERIFY(writeAll(folder + QStringLiteral("story.il"), crlf({ QString(), red })));

    m_dialogs->files.enqueue(folder + QStringLiteral("story"));
    m_window->open();

    for (int b = 0; b < BlockCount; ++b)
        QCOMPARE(m_story.blockTexts[b], b < lines ? Texts[b] : QString());
    // The picture list is read all the same.
    QCOMPARE(m_story.picturePath(1), red);
    QVERIFY(!m_window->pictureFrame(1)->picture().isNull());
}

void tst_EditorFiles::openStoryFromAnotherComputer()
{
    // Windows paths that do not exist here; the pictures came along beside
    // the story, or lie in the program's picture folder.
    const QString folder = file(QStringLiteral("brought/"));
    picture(QStringLiteral("brought/лиса.jpg"), Qt::red);
    picture(QStringLiteral("program/Картинки/ёж.bmp"), Qt::green);
    QVERIFY(writeAll(folder + QStringLiteral("story.txt"), crlf(Texts)));
    const QStringList stored = { QStringLiteral("C:\\Users\\Маша\\Картинки\\лиса.jpg"),
        QStringLiteral("ёж.bmp"), QStringLiteral("D:\\нет.jpg"), QString() };
    QVERIFY(writeAll(folder + QStringLiteral("story.il"), crlf(stored)));

    m_dialogs->files.enqueue(folder + QStringLiteral("story.txt"));
    m_window->open();

    QVERIFY(!m_window->pictureFrame(0)->picture().isNull());
    QVERIFY(!m_window->pictureFrame(1)->picture().isNull());
    QVERIFY(m_window->pictureFrame(2)->picture().isNull());
    for (int k = 0; k < FrameCount; ++k)
        QCOMPARE(m_story.picturePath(k), stored[k]);

    // Saved again, the list holds what was read.
    m_dialogs->files.enqueue(file(QStringLiteral("resaved.txt")));
    m_window->save();
    QCOMPARE(readAll(file(QStringLiteral("resaved.il"))), crlf(stored));
}

void tst_EditorFiles::imageClick()
{
    const QString red = picture(QStringLiteral("click/red.jpg"), Qt::red);
    const QString blue = picture(QStringLiteral("click/blue.bmp"), Qt::blue, { 300, 100 });

    m_dialogs->files.enqueue(red);
    m_window->choosePicture(3);
    QCOMPARE(m_story.picturePath(3), red);
    QCOMPARE(QColor(m_window->pictureFrame(3)->picture().pixel(5, 5)).red() > 200, true);

    m_dialogs->files.enqueue(blue);
    m_window->choosePicture(3);
    QCOMPARE(m_story.picturePath(3), blue);
    QCOMPARE(m_window->pictureFrame(3)->picture().size(), QSize(300, 100));
    QVERIFY(m_window->pictureFrame(0)->picture().isNull());
    QVERIFY(!m_dialogs->kinds().contains(QStringLiteral("error")));
    // Shown stretched over the whole frame, inside its one-pixel border.
    QCOMPARE(m_window->pictureFrame(3)->size(), QSize(169, 130));
    const QImage shown = m_window->pictureFrame(3)->grab().toImage();
    for (const QPoint corner : { QPoint(1, 1), QPoint(167, 1), QPoint(1, 128), QPoint(167, 128) })
        QCOMPARE(QColor(shown.pixel(corner)), QColor(Qt::blue));
    QCOMPARE(QColor(shown.pixel(0, 0)), QColor(Qt::black));

    // A 1-bit picture keeps its palette's colours when the frame shrinks it.
    QImage mono(400, 300, QImage::Format_RGB32);
    mono.fill(QColor(0, 0, 128));
    QPainter(&mono).fillRect(200, 0, 200, 300, QColor(255, 248, 220));
    m_window->pictureFrame(2)->setPicture(
        mono.convertToFormat(QImage::Format_Mono, { qRgb(0, 0, 128), qRgb(255, 248, 220) }));
    const QImage frame = m_window->pictureFrame(2)->grab().toImage();
    QCOMPARE(QColor(frame.pixel(40, 65)), QColor(0, 0, 128));
    QCOMPARE(QColor(frame.pixel(130, 65)), QColor(255, 248, 220));
}

void tst_EditorFiles::refusedPictureKeepsTheOld_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");

    // A BMP header claiming 16000 x 16000 pixels, as long as it claims.
    QByteArray bomb(54, '\0');
    bomb[0] = 'B';
    bomb[1] = 'M';
    qToLittleEndian<quint32>(54 + 16000u * 3u * 16000u, bomb.data() + 2);
    qToLittleEndian<quint32>(54, bomb.data() + 10);
    qToLittleEndian<quint32>(40, bomb.data() + 14);
    qToLittleEndian<qint32>(16000, bomb.data() + 18);
    qToLittleEndian<qint32>(16000, bomb.data() + 22);
    qToLittleEndian<quint16>(1, bomb.data() + 26);
    qToLittleEndian<quint16>(24, bomb.data() + 28);
    QPixmap png(4, 4);
    png.fill(Qt::green);
    QByteArray pngBytes;
    QBuffer buffer(&pngBytes);
    png.save(&buffer, "PNG");

    QTest::newRow("text named .jpg")
        << "x.jpg" << QByteArray("not a picture") << "— не картинка BMP или JPEG.";
    QTest::newRow("empty JPEG") << "empty.jpg" << QByteArray() << "— не картинка BMP или JPEG.";
    QTest::newRow("PNG named .bmp") << "green.bmp" << pngBytes << "— не картинка BMP или JPEG.";
    QTest::newRow("header bomb") << "bomb.bmp" << bomb << "слишком большая: 16000 × 16000";
    QTest::newRow("line break in the name")
        << "two\nlines.jpg" << QByteArray() << "в имени файла есть перевод строки";
}

void tst_EditorFiles::refusedPictureKeepsTheOld()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);

    // The fox story's second frame shows a picture the pupil sees.
    const QString shown = picture(QStringLiteral("refused/fox.jpg"), Qt::red);
    m_dialogs->files.enqueue(shown);
    m_window->choosePicture(1);
    const QImage before = m_window->pictureFrame(1)->picture();
    QVERIFY(!before.isNull());

    QString bad = file(QStringLiteral("refused/") + name);
    if (name.contains(QLatin1Char('\n')))
        bad = picture(QStringLiteral("refused/") + name, Qt::blue);
    else
        QVERIFY(writeAll(bad, content));
    if (content.startsWith("BM")) {
        // As long as its header claims, without the disk space.
        QFile sparse(bad);
        QVERIFY(sparse.open(QIODevice::ReadWrite));
        QVERIFY(sparse.resize(qFromLittleEndian<quint32>(content.constData() + 2)));
    }
    m_dialogs->files.enqueue(bad);
    m_window->choosePicture(1);

    QCOMPARE(m_dialogs->kinds().count(QStringLiteral("error")), 1);
    const QString error = m_dialogs->calls.last().text;
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY2(error.contains(QFileInfo(bad).fileName().section(QLatin1Char('\n'), 0, 0)),
        qPrintable(error));
    // The picture the pupil saw and its path stay together, so a save keeps them.
    QCOMPARE(m_window->pictureFrame(1)->picture(), before);
    QCOMPARE(m_story.picturePath(1), shown);
    m_dialogs->files.enqueue(file(QStringLiteral("refused/story.txt")));
    m_window->save();
    QCOMPARE(readAll(file(QStringLiteral("refused/story.il"))).split('\r').value(1),
        QByteArray('\n' + shown.toLatin1()));
}

QTEST_MAIN(tst_EditorFiles)
#include "tst_editorfiles.moc"
