#include "files/Cp1251.h"
#include "story/StoryDocument.h"
#include "story/StoryFiles.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QString Ru = QStringLiteral("Жили-были дед и баба, и была у них курочка Ряба. «Ёлка» — №1");

StoryDocument fullStory()
{
    StoryDocument story;
    for (int b = 0; b < BlockCount; ++b)
        story.blockTexts[b] = QStringLiteral("%1 глава %2").arg(Ru).arg(b);
    for (int k = 0; k < FrameCount; ++k)
        story.picturePaths[k] = QStringLiteral("/home/ученик/Картинки/лиса %1.jpg").arg(k);
    return story;
}

// The story file's bytes made from the whole text at once, as a reference
// for awkward texts.
QByteArray wholeTextBytes(const QStringList &lines)
{
    QString text;
    for (QString line : lines)
        text += line.replace(QLatin1Char('\r'), QLatin1Char(' '))
                    .replace(QLatin1Char('\n'), QLatin1Char(' '))
            + QStringLiteral("\r\n");
    const QByteArray bom("\xEF\xBB\xBF");
    if (Cp1251::canEncode(text) && !Cp1251::encode(text).startsWith(bom))
        return Cp1251::encode(text);
    return bom + text.toUtf8();
}

} // namespace

class tst_StoryFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void pictureListPath_data();
    void pictureListPath();

    void encodeEmptyStory();
    void encodeCyrillic();
    void encodeOutsideCodePage();
    void encodeLineBreaksInText();
    void encodeAwkwardTexts_data();
    void encodeAwkwardTexts();

    void decode_data();
    void decode();
    void decodeBinaryJunkKeepsEveryByte();

    void readFailures_data();
    void readFailures();

    void saveEmptyStory();
    void saveAndReadBack();
    void saveMixedEncodings();
    void saveNothingOpenRefuses();
    void saveReplacesOldFiles();
    void saveModes();
    void saveFailures_data();
    void saveFailures();

    void findPicture_data();
    void findPicture();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

void tst_StoryFiles::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void tst_StoryFiles::pictureListPath_data()
{
    QTest::addColumn<QString>("story");
    QTest::addColumn<QString>("list");
    QTest::newRow("fox.txt") << "/home/u/Рассказы/fox.txt"
                             << "/home/u/Рассказы/fox.il";
    QTest::newRow("no extension") << "/home/u/Рассказы/fox"
                                  << "/home/u/Рассказы/fox.il";
    QTest::newRow("two dots") << "/home/u/fox.v2.txt"
                              << "/home/u/fox.il";
    QTest::newRow("dot at end") << "/home/u/fox."
                                << "/home/u/fox.il";
    QTest::newRow("Cyrillic") << "/home/u/Лиса и заяц.txt"
                              << "/home/u/Лиса и заяц.il";
    QTest::newRow("dotted folder, Windows") << "D:\\My.Files\\fox.txt"
                                            << "D:\\My.Files\\fox.il";
    QTest::newRow("dotted folder, no ext") << "/srv/My.Files/fox"
                                           << "/srv/My.Files/fox.il";
    QTest::newRow("dotted folder, two dots") << "/a.b/c.d/fox.v2.txt"
                                             << "/a.b/c.d/fox.il";
    QTest::newRow("mixed separators") << "C:/x.y\\fox"
                                      << "C:/x.y\\fox.il";
    QTest::newRow("bare name") << "fox.txt"
                               << "fox.il";
    QTest::newRow("hidden file") << "/home/u/.fox"
                                 << "/home/u/.il";
    QTest::newRow("story named fox.il") << "/home/u/fox.il"
                                        << "/home/u/fox.il.il";
    QTest::newRow("story named FOX.IL") << "/home/u/FOX.IL"
                                        << "/home/u/FOX.IL.il";
    QTest::newRow("story named .il") << "/home/u/.il"
                                     << "/home/u/.il.il";
    QTest::newRow("story named fox.il.txt") << "/home/u/fox.il.txt"
                                            << "/home/u/fox.il";
    QTest::newRow("story named fox.ilx") << "/home/u/fox.ilx"
                                         << "/home/u/fox.il";
}

void tst_StoryFiles::pictureListPath()
{
    QFETCH(QString, story);
    QFETCH(QString, list);
    QCOMPARE(StoryFiles::pictureListPath(story), list);
}

void tst_StoryFiles::encodeEmptyStory()
{
    QCOMPARE(StoryFiles::encodeLines(QStringList(10)), QByteArray("\r\n").repeated(10));
    QCOMPARE(StoryFiles::encodeLines(QStringList(4)).size(), 8);
}

void tst_StoryFiles::encodeCyrillic()
{
    const QByteArray bytes
        = StoryFiles::encodeLines({ QStringLiteral("Ёж"), QString(), QStringLiteral("Я a") });
    QCOMPARE(bytes, QByteArray("\xA8\xE6\r\n\r\n\xDF a\r\n"));
}

void tst_StoryFiles::encodeOutsideCodePage()
{
    // One character that does not fit turns the whole file to UTF-8.
    const QByteArray bytes
        = StoryFiles::encodeLines({ QStringLiteral("Ёж"), QStringLiteral("café") });
    QCOMPARE(bytes, QByteArray("\xEF\xBB\xBF\xD0\x81\xD0\xB6\r\ncaf\xC3\xA9\r\n"));
    QCOMPARE(StoryFiles::decodeLines(bytes, 2),
        QStringList({ QStringLiteral("Ёж"), QStringLiteral("café") }));
}

void tst_StoryFiles::encodeLineBreaksInText()
{
    QCOMPARE(StoryFiles::encodeLines({ QStringLiteral("a\r\nb\nc\rd"), QStringLiteral("e") }),
        QByteArray("a  b c d\r\ne\r\n"));
}

void tst_StoryFiles::encodeAwkwardTexts_data()
{
    QTest::addColumn<QStringList>("lines");
    const QString pair = QStringLiteral("🐈");
    const QChar high = pair.at(0);
    const QChar low = pair.at(1);
    QTest::newRow("Windows-1251") << QStringList { QStringLiteral("Жили-были «дед» и баба — №1"),
        QString(), QStringLiteral("Ёж\x98ї") };
    QTest::newRow("line breaks") << QStringList { QStringLiteral("a\r\nb\nc\rd\r"),
        QStringLiteral("\n") };
    QTest::newRow("UTF-8") << QStringList { QStringLiteral("Кот ") + pair + QStringLiteral(" и ёж"),
        QStringLiteral("café\r\nx") };
    QTest::newRow("pairs everywhere")
        << QStringList { pair.repeated(9), QStringLiteral("a") + pair.repeated(9) };
    QTest::newRow("lone halves") << QStringList { QString(high) + QStringLiteral("a\r")
            + QString(low),
        QString(high), QString(low) + QString(high) };
    QTest::newRow("half before a line break")
        << QStringList { QString(high) + QStringLiteral("\n") + QString(low) };
    QTest::newRow("looks like the mark") << QStringList { QStringLiteral("п»їабв"), QString() };
    QTest::newRow("mark too short") << QStringList { QStringLiteral("п»"), QStringLiteral("їа") };
}

void tst_StoryFiles::encodeAwkwardTexts()
{
    QFETCH(QStringList, lines);
    QCOMPARE(StoryFiles::encodeLines(lines), wholeTextBytes(lines));
}

void tst_StoryFiles::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("lines");

    const QStringList three = { "a", "b", "c" };
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\nc\r\n") << 3 << three;
    QTest::newRow("LF alone") << QByteArray("a\nb\nc\n") << 3 << three;
    QTest::newRow("CR alone") << QByteArray("a\rb\rc\r") << 3 << three;
    QTest::newRow("mixed") << QByteArray("a\rb\nc\r\n") << 3 << three;
    QTest::newRow("no final line end") << QByteArray("a\r\nb\r\nc") << 3 << three;
    QTest::newRow("fewer lines") << QByteArray("a\r\nb\r\n") << 4
                                 << QStringList { "a", "b", "", "" };
    QTest::newRow("more lines") << QByteArray("a\r\nb\r\nc\r\nd\r\ne\r\n") << 3 << three;
    QTest::newRow("empty file") << QByteArray() << 2 << QStringList { "", "" };
    QTest::newRow("empty lines") << QByteArray("\r\n\r\nc\r\n") << 3 << QStringList { "", "", "c" };
    QTest::newRow("LF CR is two ends") << QByteArray("a\n\rc") << 3 << QStringList { "a", "", "c" };
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nc") << 3 << QStringList { "a", "", "c" };
    QTest::newRow("Windows-1251") << QByteArray("\xCB\xE8\xF1\xE0\r\n\xB8\r\n") << 2
                                  << QStringList { QStringLiteral("Лиса"), QStringLiteral("ё") };
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF\xD0\x9B\xD0\xB8\nx") << 2
                                    << QStringList { QStringLiteral("Ли"), "x" };
    QTest::newRow("UTF-8 without BOM reads as 1251")
        << QByteArray("\xD0\x9B") << 1 << QStringList { QStringLiteral("Р›") };
    QTest::newRow("BOM only") << QByteArray("\xEF\xBB\xBF") << 1 << QStringList { "" };
    QTest::newRow("BOM on a later line is text")
        << QByteArray("a\r\n\xEF\xBB\xBF") << 2 << QStringList { "a", QStringLiteral("п»ї") };
    QTest::newRow("broken UTF-8") << QByteArray("\xEF\xBB\xBF\xD0") << 1
                                  << QStringList { QString(QChar::ReplacementCharacter) };
    QTest::newRow("NUL kept") << QByteArray("a\0b", 3) << 1
                              << QStringList { QString::fromLatin1("a\0b", 3) };
    QTest::newRow("long lines") << QByteArray("0123456789\r\nabcdefghijk\rlmn\nopq\r\n\r\nz") << 6
                                << QStringList { "0123456789", "abcdefghijk", "lmn", "opq", "",
                                       "z" };
    QTest::newRow("UTF-8 long") << QByteArray(
        "\xEF\xBB\xBF\xD0\x9B\xD0\xB8\xD1\x81\xD0\xB0 \xF0\x9F\x90\x88\r\n\xD0\xB0")
                                << 2
                                << QStringList { QStringLiteral("Лиса 🐈"), QStringLiteral("а") };
    QTest::newRow("CR LF at the end") << QByteArray("abc\r\n") << 2 << QStringList { "abc", "" };
    QTest::newRow("0x98") << QByteArray("\x98\r\n") << 1 << QStringList { QString(QChar(0x98)) };
}

void tst_StoryFiles::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, count);
    QFETCH(QStringList, lines);
    QCOMPARE(StoryFiles::decodeLines(bytes, count), lines);

    // The same through a real file.
    const QString file = path(QStringLiteral("decode.txt"));
    QVERIFY(writeAll(file, bytes));
    const LinesRead read = StoryFiles::readLines(file, count);
    QVERIFY2(read.ok(), qPrintable(read.error));
    QCOMPARE(read.lines, lines);
}

void tst_StoryFiles::decodeBinaryJunkKeepsEveryByte()
{
    QByteArray junk;
    quint32 seed = 12345;
    for (int i = 0; i < 100'000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        junk += char(seed >> 24);
    }
    junk[0] = 'x'; // no byte-order mark
    const QStringList lines = StoryFiles::decodeLines(junk, 10);
    QCOMPARE(lines.size(), 10);
    // Every line is the bytes up to the next line end, so writing them back
    // as Windows-1251 gives back the start of the junk line by line.
    qsizetype at = 0;
    for (const QString &line : lines) {
        QVERIFY(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));
        const QByteArray back = Cp1251::encode(line);
        QCOMPARE(junk.mid(at, back.size()), back);
        at += back.size();
        at += junk.mid(at, 2) == "\r\n" ? 2 : 1;
    }
}

void tst_StoryFiles::readFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("missing");
    QTest::addColumn<QString>("says");
    QTest::newRow("missing") << "nothing.txt" << true << QStringLiteral("не найден");
    QTest::newRow("folder") << "folder.txt" << false << QStringLiteral("папка");
#ifndef Q_OS_WIN
    QTest::newRow("device") << "/dev/zero" << false << QStringLiteral("не обычный файл");
    QTest::newRow("unreadable") << "locked.txt" << false << QStringLiteral("Не удалось открыть");
#endif
    // Made sparse, they cost no disk.
    QTest::newRow("over the limit")
        << "huge.txt" << false
        << QStringLiteral("слишком большой (4,1 МБ): рассказ бывает не больше 4 МБ.");
    QTest::newRow("ten short lines and a huge tail")
        << "tail.txt" << false << QStringLiteral("слишком большой (8,0 МБ)");
    QTest::newRow("PNG") << "png.txt" << false << QStringLiteral("— это картинка, а не рассказ.");
    QTest::newRow("GIF") << "gif.txt" << false << QStringLiteral("— это картинка, а не рассказ.");
    // Killed between its renames, a save whose story's place is now a folder.
    QTest::newRow("cut short") << "cut.txt" << false << QStringLiteral("закончить его не удалось");
}

void tst_StoryFiles::readFailures()
{
    QFETCH(QString, name);
    QFETCH(bool, missing);
    QFETCH(QString, says);
    const QString file = name.startsWith(QLatin1Char('/')) ? name : path(name);
    if (name == QLatin1String("folder.txt") || name == QLatin1String("cut.txt"))
        QVERIFY(QDir().mkpath(file));
    if (name == QLatin1String("cut.txt")) {
        QVERIFY(writeAll(path(QStringLiteral(".cut.txt.tropinets-Ab12Cd")), "new\r\n"));
        QVERIFY(writeAll(path(QStringLiteral(".cut.txt.tropinets-Ab12Cd-Ef34Gh")), {}));
    }
    if (name == QLatin1String("huge.txt") || name == QLatin1String("tail.txt")) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("0\r\n").repeated(10));
        QVERIFY(f.resize(name == QLatin1String("huge.txt") ? StoryFiles::MaxFileBytes + 1
                                                           : 2 * StoryFiles::MaxFileBytes));
    }
    if (name == QLatin1String("png.txt")) {
        QImage image(3, 2, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(file, "png"));
    }
    // Qt writes no GIF: its header, 3 x 2 pixels.
    if (name == QLatin1String("gif.txt"))
        QVERIFY(writeAll(file, QByteArray("GIF89a\x03\x00\x02\x00\x80\x00\x00", 13)));
#ifndef Q_OS_WIN
    if (name == QLatin1String("locked.txt")) {
        if (geteuid() == 0)
            QSKIP("root reads every file");
        QVERIFY(writeAll(file, "a\r\n"));
        QVERIFY(QFile::setPermissions(file, QFileDevice::WriteOwner));
    }
#endif
    const LinesRead read = StoryFiles::readStory(file);
    QVERIFY(!read.ok());
    QCOMPARE(read.missing, missing);
    QVERIFY2(read.error.contains(says), qPrintable(read.error));
    QVERIFY(read.error.contains(QDir::toNativeSeparators(file)));
}

void tst_StoryFiles::saveEmptyStory()
{
    const QString story = path(QStringLiteral("empty.txt"));
    QVERIFY(StoryFiles::save(story, StoryDocument()).ok());
    QCOMPARE(readAll(story), QByteArray("\r\n").repeated(10));
    QCOMPARE(readAll(path(QStringLiteral("empty.il"))), QByteArray("\r\n").repeated(4));

    // A path never set and one set to empty are saved alike.
    StoryDocument erased;
    erased.erasePicturePaths();
    QVERIFY(StoryFiles::save(story, erased).ok());
    QCOMPARE(readAll(path(QStringLiteral("empty.il"))), QByteArray("\r\n").repeated(4));
}

void tst_StoryFiles::saveAndReadBack()
{
    StoryDocument story = fullStory();
    // Only a BMP's header, with its NUL bytes, makes "BM" a picture's start.
    story.blockTexts[0].prepend(QStringLiteral("BMX"));
    const QString file = path(QStringLiteral("Лиса.v2.txt"));
    const StorySaved saved = StoryFiles::save(file, story);
    QVERIFY2(saved.ok(), qPrintable(saved.error));

    QByteArray expected;
    for (const QString &text : story.blockTexts)
        expected += Cp1251::encode(text) + "\r\n";
    QCOMPARE(readAll(file), expected);
    QVERIFY(QFile::exists(path(QStringLiteral("Лиса.il"))));

    const LinesRead texts = StoryFiles::readStory(file);
    const LinesRead paths = StoryFiles::readPictureList(file);
    QVERIFY(texts.ok() && paths.ok());
    for (int b = 0; b < BlockCount; ++b)
        QCOMPARE(texts.lines[b], story.blockTexts[b]);
    for (int k = 0; k < FrameCount; ++k)
        QCOMPARE(paths.lines[k], story.picturePath(k));
}

void tst_StoryFiles::saveMixedEncodings()
{
    // Each file picks its own encoding.
    StoryDocument story;
    story.blockTexts[3] = QStringLiteral("Кот 🐈 и ёж");
    story.picturePaths[1] = QStringLiteral("/home/u/кот.jpg");
    const QString file = path(QStringLiteral("emoji.txt"));
    QVERIFY(StoryFiles::save(file, story).ok());
    QVERIFY(readAll(file).startsWith("\xEF\xBB\xBF\r\n\r\n\r\n"));
    QCOMPARE(readAll(path(QStringLiteral("emoji.il"))),
        QByteArray("\r\n/home/u/\xEA\xEE\xF2.jpg\r\n\r\n\r\n"));
    QCOMPARE(StoryFiles::readStory(file).lines.at(3), story.blockTexts[3]);

    // The most the blocks take, in UTF-8's widest characters, opens again.
    StoryDocument largest;
    largest.blockTexts.fill(QString(MaxBlockTextLength, QChar(0x4E2D)));
    QVERIFY(StoryFiles::save(file, largest).ok());
    QCOMPARE(StoryFiles::readStory(file).lines,
        QStringList(largest.blockTexts.begin(), largest.blockTexts.end()));
}

void tst_StoryFiles::saveNothingOpenRefuses()
{
    // Texts that, written as they are, would start like a GIF or a JPEG, or
    // hold a NUL byte, which is saved as a space.
    const QString file = path(QStringLiteral("like-a-picture.txt"));
    for (const QString &first :
        { QStringLiteral("GIF89a"), QStringLiteral("яШя"), QStringLiteral("a") + QChar(0) }) {
        StoryDocument story;
        story.blockTexts[0] = first;
        QVERIFY(StoryFiles::save(file, story).ok());
        const LinesRead read = StoryFiles::readStory(file);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.lines.first(), QString(first).replace(QChar(0), QLatin1Char(' ')));
    }
}

void tst_StoryFiles::saveReplacesOldFiles()
{
    const QString file = path(QStringLiteral("again.il"));
    QVERIFY(writeAll(file, QByteArray(5000, 'x')));
    QVERIFY(writeAll(file + QStringLiteral(".il"), QByteArray(5000, 'y')));
    QVERIFY(StoryFiles::save(file, StoryDocument()).ok());
    // The story file named .il is not replaced by its own picture list.
    QCOMPARE(readAll(file), QByteArray("\r\n").repeated(10));
    QCOMPARE(readAll(file + QStringLiteral(".il")), QByteArray("\r\n").repeated(4));
}

void tst_StoryFiles::saveModes()
{
#ifdef Q_OS_WIN
    QSKIP("Windows' files take their folder's permissions");
#else

    // With a group-writable umask, another pupil of a shared group could
    // rewrite the story in place.
    const mode_t umaskBefore = ::umask(002);
    const auto restore = qScopeGuard([&] { ::umask(umaskBefore); });
    const auto mode = [](const QString &file) {
        struct stat info;
        return ::stat(QFile::encodeName(file).constData(), &info) == 0 ? info.st_mode & 07777 : 0u;
    };
    const QString story = path(QStringLiteral("modes.txt"));
    const QString list = path(QStringLiteral("modes.il"));
    QVERIFY(StoryFiles::save(story, fullStory()).ok());
    QCOMPARE(mode(story), 0644u);
    QCOMPARE(mode(list), 0644u);
    // A replaced file keeps the mode it had.
    QVERIFY(::chmod(QFile::encodeName(story).constData(), 0600) == 0);
    QVERIFY(StoryFiles::save(story, fullStory()).ok());
    QCOMPARE(mode(story), 0600u);
    QCOMPARE(mode(list), 0644u);
#endif
}

void tst_StoryFiles::saveFailures_data()
{
    QTest::addColumn<QString>("story");
    QTest::addColumn<QString>("blocked"); // made a folder or a plain file first
    QTest::addColumn<bool>("blockIsFolder");
    QTest::addColumn<QString>("named"); // the file the message names
    QTest::addColumn<QString>("reason");
    QTest::newRow("story is a folder") << "f1/fox.txt"
                                       << "f1/fox.txt" << true << "f1/fox.txt"
                                       << "на его месте папка";
    QTest::newRow("list is a folder") << "f2/fox.txt"
                                      << "f2/fox.il" << true << "f2/fox.il"
                                      << "на его месте папка";
    QTest::newRow("parent is a plain file") << "f3/plain/fox.txt"
                                            << "f3/plain" << false << "f3/plain/fox.txt"
                                            << "не папка, а файл";
    QTest::newRow("parent missing") << "f4/none/fox.txt"
                                    << "f4/x" << false << "f4/none/fox.txt"
                                    << "нет папки";
}

void tst_StoryFiles::saveFailures()
{
    QFETCH(QString, story);
    QFETCH(QString, blocked);
    QFETCH(bool, blockIsFolder);
    QFETCH(QString, named);
    QFETCH(QString, reason);

    const QString storyPath = path(story);
    const QString folder = QFileInfo(path(blocked)).path();
    QVERIFY(QDir().mkpath(folder));
    if (blockIsFolder)
        QVERIFY(QDir().mkpath(path(blocked)));
    else
        QVERIFY(writeAll(path(blocked), "plain"));
    // Whatever of the pair already exists must stay as it was.
    const QString listPath = StoryFiles::pictureListPath(storyPath);
    const QByteArray oldStory = "old story\r\n";
    const QByteArray oldList = "old list\r\n";
    if (QFileInfo(storyPath).path() == folder && !QFileInfo::exists(storyPath))
        QVERIFY(writeAll(storyPath, oldStory));
    if (QFileInfo(listPath).path() == folder && !QFileInfo::exists(listPath))
        QVERIFY(writeAll(listPath, oldList));
    const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    const StorySaved saved = StoryFiles::save(storyPath, fullStory());
    QVERIFY(!saved.ok());
    QVERIFY2(saved.error.contains(QDir::toNativeSeparators(path(named))), qPrintable(saved.error));
    QVERIFY(saved.error.startsWith(QStringLiteral("Не удалось сохранить файл")));
    QVERIFY2(saved.error.contains(reason), qPrintable(saved.error));

    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    if (QFileInfo(storyPath).isFile())
        QCOMPARE(readAll(storyPath), oldStory);
    if (QFileInfo(listPath).isFile())
        QCOMPARE(readAll(listPath), oldList);
}

void tst_StoryFiles::findPicture_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("found"); // relative to the temp dir, "" for none
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("absolute, exists") << "@/elsewhere/a.jpg"
                                      << "elsewhere/a.jpg";
    QTest::newRow("absolute, moved beside story") << "/gone/b.jpg"
                                                  << "stories/b.jpg";
    QTest::newRow("Windows path beside story") << "C:\\Мои\\b.jpg"
                                               << "stories/b.jpg";
    QTest::newRow("Windows path in pictures") << "C:\\Мои\\c.jpg"
                                              << "pictures/c.jpg";
    QTest::newRow("bare name beside story") << "b.jpg"
                                            << "stories/b.jpg";
    QTest::newRow("story folder first") << "both.jpg"
                                        << "stories/both.jpg";
    QTest::newRow("bare name in pictures") << "c.jpg"
                                           << "pictures/c.jpg";
    QTest::newRow("only in current folder") << "cwd.jpg"
                                            << "";
    QTest::newRow("relative path") << "sub/cwd.jpg"
                                   << "";
    QTest::newRow("found nowhere") << "/gone/z.jpg"
                                   << "";
    QTest::newRow("ends in separator") << "C:\\Мои\\"
                                       << "";
    QTest::newRow("dot dot") << "/gone/.."
                             << "";
    QTest::newRow("name is a folder") << "/gone/sub"
                                      << "";
}

void tst_StoryFiles::findPicture()
{
    QFETCH(QString, stored);
    QFETCH(QString, found);
    const QDir root(m_dir.path());
    for (const char *file : { "elsewhere/a.jpg", "stories/b.jpg", "stories/both.jpg",
             "pictures/c.jpg", "pictures/both.jpg", "cwd/cwd.jpg", "cwd/sub/cwd.jpg" }) {
        QVERIFY(root.mkpath(QFileInfo(root.filePath(file)).path()));
        QVERIFY(writeAll(root.filePath(file), "x"));
    }
    QVERIFY(root.mkpath(QStringLiteral("stories/sub")));
    stored.replace(QLatin1Char('@'), m_dir.path());

    const QString cwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(root.filePath(QStringLiteral("cwd"))));
    const QString result = StoryFiles::findPicture(
        stored, root.filePath("stories/fox.txt"), root.filePath("pictures"));
    QDir::setCurrent(cwd);
    QCOMPARE(result, found.isEmpty() ? QString() : root.filePath(found));
}

QTEST_GUILESS_MAIN(tst_StoryFiles)
#include "tst_storyfiles.moc"
