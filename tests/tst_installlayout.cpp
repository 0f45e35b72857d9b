#include "editor/EditorWindow.h"
#include "spelling/Dictionary.h"
#include "story/StoryDocument.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Prefix = QStringLiteral("/opt/tropinets");
const QString DesktopPrefix = QStringLiteral(TROPINETS_DESKTOP_PREFIX);
// Tells this program, started again, only to say its folder.
const char SayFolderVariable[] = "TROPINETS_TEST_SAY_PROGRAM_FOLDER";

QString source(const QString &path)
{
    return QStringLiteral(TROPINETS_SOURCE_DIR "/") + path;
}

QString linkTarget(const QString &path)
{
    QByteArray target(4096, '\0');
    const ssize_t size
        = ::readlink(QFile::encodeName(path).constData(), target.data(), size_t(target.size()));
    return size < 0 ? QString() : QFile::decodeName(target.left(size));
}

// The installed program's folder as the editor sees it, when this test
// program is started by the given path.
QString programFolderWhenStartedAs(const QString &path)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(SayFolderVariable), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.start(path);
    if (!child.waitForFinished(60000) || child.exitCode() != 0) {
        qWarning() << child.readAllStandardError();
        return {};
    }
    return QString::fromUtf8(child.readAllStandardOutput()).trimmed();
}

int sayProgramFolder()
{
    int argc = 1;
    char name[] = "tst_installlayout";
    char *argv[] = { name, nullptr };
    QApplication app(argc, argv);
    StoryDocument story;
    ScriptedDialogs dialogs;
    const EditorWindow editor(story, dialogs);
    QTextStream(stdout) << editor.programFolder() << '\n';
    return 0;
}

QMap<QString, QString> desktopEntry(const QString &path, QString *firstLine)
{
    QMap<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    *firstLine = lines.value(0);
    for (const QString &line : lines) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && !line.startsWith(QLatin1Char('#')))
            keys.insert(line.left(equals), line.mid(equals + 1));
    }
    return keys;
}

} // namespace

class tst_InstallLayout : public QObject {
    Q_OBJECT

public:
    static void initMain()
    {
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        if (qEnvironmentVariableIsSet(SayFolderVariable))
            std::exit(sayProgramFolder());
    }

private slots:
    void initTestCase();

    void programWithItsFolders();
    void storyFoldersOpenToEveryPupil();
    void commandOnThePath();
    void commandFollowsTheGivenPrefix();
    void desktopEntry();
    void icons_data();
    void icons();

    void programFolderThroughSymlinks_data();
    void programFolderThroughSymlinks();

private:
    bool install(const QString &destDir, const QString &prefix);
    QString installed(const QString &path) const
    {
        return m_dir.filePath(QStringLiteral("root") + path);
    }

    QTemporaryDir m_dir;
};

bool tst_InstallLayout::install(const QString &destDir, const QString &prefix)
{
    QProcess cmake;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DESTDIR"), destDir);
    cmake.setProcessEnvironment(env);
    cmake.setProcessChannelMode(QProcess::MergedChannels);
    cmake.start(QStringLiteral(TROPINETS_CMAKE),
        { QStringLiteral("--install"), QStringLiteral(TROPINETS_BINARY_DIR),
            QStringLiteral("--prefix"), prefix });
    const bool done = cmake.waitForFinished(120000);
    const QByteArray output = cmake.readAll();
    if (!done || cmake.exitStatus() != QProcess::NormalExit || cmake.exitCode() != 0) {
        qWarning().noquote() << output;
        return false;
    }
    return true;
}

void tst_InstallLayout::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(install(m_dir.filePath(QStringLiteral("root")), Prefix));
}

void tst_InstallLayout::programWithItsFolders()
{
    const QFileInfo program(installed(Prefix + QStringLiteral("/tropinets")));
    QVERIFY(program.isFile());
    QVERIFY(program.isExecutable());
    for (const QString &folder : { QStringLiteral("Рассказы"), QStringLiteral("Картинки") }) {
        const QDir samples(source(QStringLiteral("samples/") + folder));
        const QDir there(installed(Prefix + QLatin1Char('/') + folder));
        QVERIFY2(there.exists(), qPrintable(there.path()));
        const QStringList names = samples.entryList(QDir::Files, QDir::Name);
        QVERIFY(!names.isEmpty());
        QCOMPARE(there.entryList(QDir::Files, QDir::Name), names);
        for (const QString &name : names)
            QVERIFY2(
                readAll(there.filePath(name)) == readAll(samples.filePath(name)), qPrintable(name));
    }
#ifdef TROPINETS_WITH_SPELLING
    // The words children write, where the program looks first for its dictionary.
    const QString name = QString::fromLatin1(Dictionary::WordListName);
    const QByteArray words = readAll(source(QStringLiteral("spelling/") + name));
    QVERIFY(!words.isEmpty());
    QCOMPARE(readAll(installed(Prefix + QStringLiteral("/hunspell/") + name)), words);
#endif
}

void tst_InstallLayout::storyFoldersOpenToEveryPupil()
{
    for (const QString &folder : { QStringLiteral("Рассказы"), QStringLiteral("Картинки") }) {
        struct stat info = {};
        const QByteArray path = QFile::encodeName(installed(Prefix + QLatin1Char('/') + folder));
        QCOMPARE(::stat(path.constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(01777));
    }
    // The samples themselves stay read-only to the pupils.
    const QDir stories(installed(Prefix + QStringLiteral("/Рассказы")));
    for (const QFileInfo &file : stories.entryInfoList(QDir::Files))
        QCOMPARE(file.permissions() & QFile::WriteOther, QFile::Permissions());
}

void tst_InstallLayout::commandOnThePath()
{
    const QString command = installed(DesktopPrefix + QStringLiteral("/bin/tropinets"));
    QVERIFY(QFileInfo(command).isSymLink());
    QCOMPARE(linkTarget(command), Prefix + QStringLiteral("/tropinets"));
}

void tst_InstallLayout::commandFollowsTheGivenPrefix()
{
    const QString prefix = QStringLiteral("/srv/школа/тропинец");
    const QString root = m_dir.filePath(QStringLiteral("other"));
    QVERIFY(install(root, prefix));
    QVERIFY(QFileInfo(root + prefix + QStringLiteral("/tropinets")).isExecutable());
    QVERIFY(QFileInfo(root + prefix + QStringLiteral("/Рассказы/лиса.txt")).isFile());
    QCOMPARE(linkTarget(root + DesktopPrefix + QStringLiteral("/bin/tropinets")),
        prefix + QStringLiteral("/tropinets"));
}

void tst_InstallLayout::desktopEntry()
{
    QString firstLine;
    const QMap<QString, QString> keys = ::desktopEntry(
        installed(DesktopPrefix + QStringLiteral("/share/applications/tropinets.desktop")),
        &firstLine);
    QCOMPARE(firstLine, QStringLiteral("[Desktop Entry]"));
    QCOMPARE(keys.value(QStringLiteral("Type")), QStringLiteral("Application"));
    QCOMPARE(keys.value(QStringLiteral("Name")), QStringLiteral("Тропинец"));
    QCOMPARE(keys.value(QStringLiteral("Exec")), QStringLiteral("tropinets"));
    QCOMPARE(keys.value(QStringLiteral("Icon")), QStringLiteral("tropinets"));
    QCOMPARE(keys.value(QStringLiteral("Terminal")), QStringLiteral("false"));
    QVERIFY(keys.value(QStringLiteral("Categories"))
                .split(QLatin1Char(';'))
                .contains(QStringLiteral("Education")));
    const QString comment = keys.value(QStringLiteral("Comment"));
    QVERIFY(comment.contains(QStringLiteral("рассказ")));
    // Exec names the command that the package puts on the PATH.
    QVERIFY(QFileInfo(installed(DesktopPrefix + QStringLiteral("/bin/") + keys.value("Exec")))
                .isSymLink());
}

void tst_InstallLayout::icons_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QImage>("expected");

    // The small ones are the program's own icon, image for image.
    QImageReader icon(source(QStringLiteral("widgets/assets/tropinets.ico")));
    QCOMPARE(icon.imageCount(), 2);
    for (const int size : { 32, 16 }) {
        icon.jumpToImage(size == 32 ? 0 : 1);
        QTest::addRow("%d", size) << size << icon.read();
    }
    QTest::addRow("128") << 128 << QImage(source(QStringLiteral("tools/out/tropinets-128.png")));
}

void tst_InstallLayout::icons()
{
    QFETCH(int, size);
    QFETCH(QImage, expected);
    QVERIFY(!expected.isNull());
    const QString path = installed(
        DesktopPrefix + QStringLiteral("/share/icons/hicolor/%1x%1/apps/tropinets.png").arg(size));
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), QSize(size, size));
    QCOMPARE(image.convertToFormat(QImage::Format_ARGB32),
        expected.convertToFormat(QImage::Format_ARGB32));
}

void tst_InstallLayout::programFolderThroughSymlinks_data()
{
    QTest::addColumn<QString>("started");

    const QString self = QCoreApplication::applicationFilePath();
    const QDir dir(m_dir.path());
    dir.mkpath(QStringLiteral("links/bin"));
    dir.mkpath(QStringLiteral("links/Ярлыки и ссылки"));
    const QString bin = dir.filePath(QStringLiteral("links/bin"));

    QVERIFY(QFile::link(self, bin + QStringLiteral("/tropinets")));
    QVERIFY(QFile::link(QStringLiteral("tropinets"), bin + QStringLiteral("/relative")));
    QVERIFY(QFile::link(bin + QStringLiteral("/relative"),
        dir.filePath(QStringLiteral("links/Ярлыки и ссылки/тропинец"))));

    QTest::newRow("the program itself") << self;
    QTest::newRow("absolute symlink") << bin + QStringLiteral("/tropinets");
    QTest::newRow("relative symlink") << bin + QStringLiteral("/relative");
    QTest::newRow("symlink to a symlink, Cyrillic folder")
        << dir.filePath(QStringLiteral("links/Ярлыки и ссылки/тропинец"));
}

void tst_InstallLayout::programFolderThroughSymlinks()
{
    QFETCH(QString, started);
    const QString expected = QFileInfo(QCoreApplication::applicationFilePath()).canonicalPath();
    QCOMPARE(programFolderWhenStartedAs(started), expected);
}

QTEST_MAIN(tst_InstallLayout)
#include "tst_installlayout.moc"
