#include "editor/EditorCanvas.h"
#include "editor/EditorWindow.h"
#include "pictures/PictureLoader.h"
#include "story/StoryDocument.h"
#include "support/FindWindow.h"
#include "support/Pdf.h"
#include "support/ScriptedDialogs.h"
#include "widgets/PictureBox.h"

#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

namespace {

const QStringList Words = { QStringLiteral("Утро"), QStringLiteral("Вопрос"), QStringLiteral("Лес"),
    QStringLiteral("Река"), QStringLiteral("Мост"), QStringLiteral("Гора"), QStringLiteral("Дом"),
    QStringLiteral("Клад"), QStringLiteral("Сон"), QStringLiteral("Праздник") };

const QColor Colours[]
    = { QColor(200, 30, 30), QColor(30, 160, 30), QColor(30, 30, 200), QColor(230, 200, 20) };

// Own proportions that differ from the frame's and from each other.
const QSize PictureSizes[] = { QSize(60, 60), QSize(300, 40), QSize(30, 120), QSize(90, 70) };

constexpr double PointsPerCm = 72 / 2.54;

struct Word {
    QString text;
    QRectF box; // points, from the page's top-left corner
};

QList<Word> wordsOf(const QString &pdf)
{
    QList<Word> words;
    static const QRegularExpression re(QStringLiteral(R"re(<word xMin="(-?[\d.]+)" )re"
                                                      R"re(yMin="(-?[\d.]+)" xMax="(-?[\d.]+)" )re"
                                                      R"re(yMax="(-?[\d.]+)">([^<]*)</word>)re"));
    const QString html = runTool(
        QStringLiteral("pdftotext"), { QStringLiteral("-bbox"), pdf, QStringLiteral("-") });
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const QPointF from(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF to(m.captured(3).toDouble(), m.captured(4).toDouble());
        words.append({ m.captured(5), QRectF(from, to) });
    }
    return words;
}

std::optional<QRectF> boxOf(const QList<Word> &words, const QString &text)
{
    for (const Word &word : words) {
        if (word.text == text)
            return word.box;
    }
    return std::nullopt;
}

bool near(const QColor &a, const QColor &b, int tolerance = 24)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
        && qAbs(a.blue() - b.blue()) <= tolerance;
}

} // namespace

class tst_StoryPrint : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void asksAuthorThenTitleThenPrinter();
    void printsOnePageWithTitleAndAuthor();
    void flowchartPrintsAsTextAtItsPlace_data();
    void flowchartPrintsAsTextAtItsPlace();
    void picturesFillTheirRectangles();
    void keptPicturesPrintAsTheyAre();
    void emptyAnswersStillPrint_data();
    void emptyAnswersStillPrint();
    void cancelledPrintDialogWritesNothing();
    void unwritableFileIsReported();

private:
    // Runs the Print command with the given answers; the path of the PDF.
    QString print(std::optional<QString> author, std::optional<QString> title);
    void writeStory();

    QTemporaryDir m_dir;
    std::unique_ptr<StoryDocument> m_story;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<EditorWindow> m_editor;
    QRectF m_paintRect; // printable area of the last print, points
    int m_printed = 0;
};

void tst_StoryPrint::initTestCase()
{
    QVERIFY(m_dir.isValid());
    if (!popplerInstalled())
        QSKIP("poppler-utils are not installed: the printed PDF cannot be checked");
}

void tst_StoryPrint::init()
{
    m_story = std::make_unique<StoryDocument>();
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_editor = std::make_unique<EditorWindow>(*m_story, *m_dialogs);
    m_editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));
    QVERIFY(comeBackTo(m_editor.get()));
}

void tst_StoryPrint::cleanup()
{
    m_editor.reset();
    m_dialogs.reset();
    m_story.reset();
}

void tst_StoryPrint::writeStory()
{
    for (int b = 0; b < BlockCount; ++b)
        m_story->blockTexts[b] = Words[b];
    m_story->showBlockTexts = true;
    QVERIFY(comeBackTo(m_editor.get()));
}

QString tst_StoryPrint::print(std::optional<QString> author, std::optional<QString> title)
{
    const QString pdf = m_dir.filePath(QStringLiteral("page%1.pdf").arg(++m_printed));
    m_dialogs->inputs.clear();
    m_dialogs->inputs << author << title;
    m_dialogs->printer = [this, pdf](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        m_paintRect = printer.pageLayout().paintRectPoints();
        return true;
    };
    m_editor->print();
    return pdf;
}

void tst_StoryPrint::asksAuthorThenTitleThenPrinter()
{
    print(QStringLiteral("Петя"), QStringLiteral("Сказка"));
    QCOMPARE(m_dialogs->kinds(), (QStringList { "input", "input", "print" }));
    QCOMPARE(m_dialogs->calls[0].text, QStringLiteral("Введи фамилию и имя автора"));
    QCOMPARE(m_dialogs->calls[0].title, QStringLiteral("Тропинец"));
    QCOMPARE(m_dialogs->calls[1].text, QStringLiteral("Введи название рассказа"));
    QCOMPARE(m_dialogs->calls[1].title, QStringLiteral("Тропинец"));
}

void tst_StoryPrint::printsOnePageWithTitleAndAuthor()
{
    const QString pdf = print(QStringLiteral("Иванова Маша"), QStringLiteral("Волшебный лес"));
    QCOMPARE(m_dialogs->kinds(), (QStringList { "input", "input", "print" }));
    QVERIFY(QFile::exists(pdf));
    QCOMPARE(pageCount(pdf), 1);

    const QList<Word> words = wordsOf(pdf);
    const auto title = boxOf(words, QStringLiteral("Волшебный"));
    const auto titleEnd = boxOf(words, QStringLiteral("лес"));
    const auto author = boxOf(words, QStringLiteral("Автор:"));
    const auto name = boxOf(words, QStringLiteral("Маша"));
    QVERIFY(title && titleEnd && author && name && boxOf(words, QStringLiteral("Иванова")));

    // The author line starts 10 cm from the printable left and 3 cm down;
    // the title 2 cm down, on a whole centimetre, centred to within one.
    const double tolerance = 0.15;
    QVERIFY(qAbs((author->left() - m_paintRect.left()) / PointsPerCm - 10) < tolerance);
    QVERIFY(qAbs((author->top() - m_paintRect.top()) / PointsPerCm - 3) < tolerance);
    QVERIFY(qAbs((title->top() - m_paintRect.top()) / PointsPerCm - 2) < tolerance);
    const double left = (title->left() - m_paintRect.left()) / PointsPerCm;
    QVERIFY2(qAbs(left - qRound(left)) < tolerance, qPrintable(QString::number(left)));
    const double centred
        = (m_paintRect.width() - (titleEnd->right() - title->left())) / 2 / PointsPerCm;
    QVERIFY2(qAbs(left - centred) <= 0.5 + tolerance, qPrintable(QString::number(centred)));
}

void tst_StoryPrint::flowchartPrintsAsTextAtItsPlace_data()
{
    QTest::addColumn<int>("editorWidth");
    QTest::addColumn<int>("stretch");

    QTest::newRow("designed width") << 0 << 0;
    QTest::newRow("wide form") << 1000 << 10;
}

void tst_StoryPrint::flowchartPrintsAsTextAtItsPlace()
{
    QFETCH(int, editorWidth);
    QFETCH(int, stretch);
    if (editorWidth > 0) {
        m_editor->resize(editorWidth, 700);
        QTRY_COMPARE(m_editor->canvas()->width(), editorWidth);
    }
    writeStory();
    QCOMPARE(m_editor->layout().stretch, stretch);
    const QString pdf = print(QStringLiteral("Петя"), QStringLiteral("Сказка"));
    const QList<Word> words = wordsOf(pdf);
    for (const QString &text : Words)
        QVERIFY2(boxOf(words, text), qPrintable(text));
    for (const char *caption : { "Начало", "Конец", "Истина", "Ложь" })
        QVERIFY2(boxOf(words, QString::fromUtf8(caption)), caption);

    // Stretched to 17 cm wide, but each editor pixel down is still 1/96 inch.
    const double C = m_editor->layout().centerX;
    const double S = m_editor->layout().stretch;
    const double across = 17.0 / m_editor->canvas()->width();
    const double down = 2.54 / 96;
    // Where a caption lands on the page, in centimetres from the printable area.
    const auto lands = [&](const QString &text, QPointF pixels) {
        const QRectF box = *boxOf(words, text);
        const QPointF cm((box.left() - m_paintRect.left()) / PointsPerCm,
            (box.top() - m_paintRect.top()) / PointsPerCm);
        const QPointF wanted(1.5 + pixels.x() * across, 4 + pixels.y() * down);
        if ((cm - wanted).manhattanLength() < 0.2)
            return true;
        qWarning("%s at %g, %g cm, not %g, %g", qPrintable(text), cm.x(), cm.y(), wanted.x(),
            wanted.y());
        return false;
    };
    QVERIFY(lands(QStringLiteral("Начало"), QPointF(C - 28, 22 + S / 2)));
    QVERIFY(lands(QStringLiteral("Конец"), QPointF(C - 22, 357 + 9.5 * S)));

    // Printed as lines and text, not as a copy of the screen: the page
    // holds no image when no frame has a picture.
    const QStringList images
        = runTool(QStringLiteral("pdfimages"), { QStringLiteral("-list"), pdf })
              .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(images.size(), 2); // the two header lines
}

void tst_StoryPrint::picturesFillTheirRectangles()
{
    writeStory();
    // Frame 2 stays empty and is left out.
    for (int k : { 0, 1, 3 }) {
        QImage picture(PictureSizes[k], QImage::Format_RGB32);
        picture.fill(Colours[k]);
        m_editor->pictureFrame(k)->setPicture(picture);
    }
    const QString pdf = print(QStringLiteral("Петя"), QStringLiteral("Сказка"));
    QCOMPARE(m_dialogs->kinds(), (QStringList { "input", "input", "print" }));

    const QImage page = pageImage(pdf, 72);
    QVERIFY(!page.isNull());

    const QSize frame = m_editor->pictureFrame(0)->size();
    const double h = 4.0 * frame.height() / frame.width();
    const double inset = 3; // points: keeps clear of the edges' blending
    for (int k = 0; k < 4; ++k) {
        const QRectF cm(1.5 + 4.5 * k, 15, 4, h);
        const QRectF box(m_paintRect.left() + cm.left() * PointsPerCm,
            m_paintRect.top() + cm.top() * PointsPerCm, cm.width() * PointsPerCm,
            cm.height() * PointsPerCm);
        const QRectF inside = box.adjusted(inset, inset, -inset, -inset);
        const QPointF samples[] = { inside.topLeft(), inside.topRight(), inside.bottomLeft(),
            inside.bottomRight(), inside.center() };
        for (const QPointF &at : samples) {
            const QColor seen = page.pixelColor(at.toPoint());
            const QColor wanted = k == 2 ? QColor(Qt::white) : Colours[k];
            QVERIFY2(near(seen, wanted),
                qPrintable(QStringLiteral("frame %1 at %2,%3: %4")
                               .arg(k)
                               .arg(at.x())
                               .arg(at.y())
                               .arg(seen.name())));
        }
        // Nothing of the picture spills past its rectangle.
        const QPointF outside[] = { QPointF(box.right() + inset, box.center().y()),
            QPointF(box.center().x(), box.bottom() + inset) };
        for (const QPointF &at : outside) {
            if (k != 2)
                QVERIFY(!near(page.pixelColor(at.toPoint()), Colours[k], 60));
        }
    }
}

void tst_StoryPrint::keptPicturesPrintAsTheyAre()
{
    // A photo is kept at exactly its printed size at 300 dpi, so the page
    // takes it as it is: the document holds it at the kept size.
    const QSize frame = m_editor->pictureFrame(0)->size();
    const QSize at300Dpi(int(std::ceil(4 / 2.54 * 300)),
        int(std::ceil(4.0 * frame.height() / frame.width() / 2.54 * 300)));
    QCOMPARE(PictureLoader::KeptSize, at300Dpi);

    const QString photo = m_dir.filePath(QStringLiteral("photo.jpg"));
    QImage big(2000, 1500, QImage::Format_RGB32);
    big.fill(Colours[1]);
    QVERIFY(big.save(photo, "jpeg"));
    const LoadedPicture loaded = PictureLoader::load(photo);
    QVERIFY2(loaded.ok(), qPrintable(loaded.error));
    m_editor->pictureFrame(0)->setPicture(loaded.image);
    writeStory();
    const QString pdf = print(QStringLiteral("Петя"), QStringLiteral("Сказка"));

    const QStringList images
        = runTool(QStringLiteral("pdfimages"), { QStringLiteral("-list"), pdf })
              .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(images.size(), 3); // two header lines and the picture
    const QStringList columns = images.at(2).simplified().split(QLatin1Char(' '));
    QCOMPARE(QSize(columns.at(3).toInt(), columns.at(4).toInt()), at300Dpi);
}

void tst_StoryPrint::emptyAnswersStillPrint_data()
{
    QTest::addColumn<std::optional<QString>>("author");
    QTest::addColumn<std::optional<QString>>("title");

    QTest::newRow("both cancelled") << std::optional<QString>() << std::optional<QString>();
    QTest::newRow("both empty") << std::optional<QString>(QString())
                                << std::optional<QString>(QString());
    QTest::newRow("title empty") << std::optional<QString>(QStringLiteral("Петя"))
                                 << std::optional<QString>(QString());
}

void tst_StoryPrint::emptyAnswersStillPrint()
{
    QFETCH(std::optional<QString>, author);
    QFETCH(std::optional<QString>, title);
    const QString pdf = print(author, title);
    QVERIFY(QFile::exists(pdf));
    QCOMPARE(pageCount(pdf), 1);
    const QList<Word> words = wordsOf(pdf);
    const auto line = boxOf(words, QStringLiteral("Автор:"));
    QVERIFY(line);
    QVERIFY(qAbs((line->left() - m_paintRect.left()) / PointsPerCm - 10) < 0.15);
    QVERIFY(boxOf(words, QStringLiteral("Начало")));
    // Nothing printed above the author line: the title is empty.
    for (const Word &word : words)
        QVERIFY2(word.box.top() >= line->top() - 1, qPrintable(word.text));
    QVERIFY(!m_dialogs->kinds().contains(QStringLiteral("error")));
}

void tst_StoryPrint::cancelledPrintDialogWritesNothing()
{
    const QString pdf = m_dir.filePath(QStringLiteral("cancelled.pdf"));
    m_dialogs->inputs << QStringLiteral("Петя") << QStringLiteral("Сказка");
    m_dialogs->printToFile(pdf, false);
    m_editor->print();
    QCOMPARE(m_dialogs->kinds(), (QStringList { "input", "input", "print" }));
    QVERIFY(!QFile::exists(pdf));
}

void tst_StoryPrint::unwritableFileIsReported()
{
    // A file that cannot be made must not pass for a printed story.
    const QString pdf = m_dir.filePath(QStringLiteral("missing-folder/page.pdf"));
    m_dialogs->inputs << QStringLiteral("Петя") << QStringLiteral("Сказка");
    m_dialogs->printToFile(pdf);
    m_editor->print();
    QCOMPARE(m_dialogs->kinds(), (QStringList { "input", "input", "print", "error" }));
    QVERIFY(m_dialogs->calls.last().text.startsWith(QStringLiteral("Рассказ не напечатан")));
    QVERIFY(!QFile::exists(pdf));
}

QTEST_MAIN(tst_StoryPrint)
#include "tst_storyprint.moc"
