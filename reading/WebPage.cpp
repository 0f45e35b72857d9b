#include "reading/WebPage.h"

#include "flowchart/DrawBlockTexts.h"
#include "flowchart/DrawFlowchart.h"
#include "flowchart/FlowchartGraph.h"
#include "flowchart/FlowchartLayout.h"
#include "flowchart/FlowchartPath.h"
#include "flowchart/FlowchartSvg.h"
#include "flowchart/SpokenWords.h"
#include "flowchart/Surface.h"
#include "reading/ReadingWords.h"
#include "reading/SpokenBoxes.h"
#include "speech/Voice.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// The page's template, style and player, built into the program.
QString resource(const QString &name)
{
    QFile file(QStringLiteral(":/web/") + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// How the page's policy names an inline script or style it allows: by the
// hash of its very text.
QString hashSource(const QString &text)
{
    const QByteArray hash = QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("'sha256-%1'").arg(QString::fromLatin1(hash.toBase64()));
}

// Fills in every {{name}} of the template in one pass: what is put in is
// never read again for names, so a pupil's "{{script}}" stays as written.
QString filled(const QString &page, const QHash<QString, QString> &values)
{
    QString out;
    qsizetype at = 0;
    for (;;) {
        const qsizetype open = page.indexOf(QLatin1String("{{"), at);
        const qsizetype close = open < 0 ? -1 : page.indexOf(QLatin1String("}}"), open);
        if (close < 0)
            break;
        out += QStringView(page).mid(at, open - at);
        out += values.value(page.mid(open + 2, close - open - 2));
        at = close + 2;
    }
    out += QStringView(page).mid(at);
    return out;
}

// The picture as the frame holds it, as a JPEG data URI; empty for none.
std::optional<QString> jpegData(const QImage &picture)
{
    if (picture.isNull())
        return QString();
    // JPEG has no transparency: what shows through is the white the reading
    // window shows a picture on.
    QImage flat(picture.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter(&flat).drawImage(0, 0, picture);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!flat.save(&buffer, "JPEG", WebPage::JpegQuality))
        return std::nullopt;
    return QStringLiteral("data:image/jpeg;base64,")
        + QString::fromLatin1(buffer.data().toBase64());
}

QJsonObject said(const SpokenBox &box)
{
    return { { QStringLiteral("opening"), box.opening }, { QStringLiteral("again"), box.again } };
}

QString roleName(BlockRole role)
{
    switch (role) {
    case BlockRole::Question:
        return QStringLiteral("question");
    case BlockRole::Ending:
        return QStringLiteral("ending");
    case BlockRole::Chapter:
        break;
    }
    return QStringLiteral("chapter");
}

// The path in words wherever a reader waits, at a question or an ending,
// along every way through the flowchart; keyed by the blocks so far.
QJsonObject pathWords()
{
    QJsonObject words;
    for (const FlowchartPath &way : FlowchartPath::everyWay()) {
        FlowchartPath soFar;
        QStringList key;
        for (const int block : std::as_const(way.blocks)) {
            soFar.blocks << block;
            key << QString::number(block);
            if (FlowchartBlocks[block].role != BlockRole::Chapter)
                words.insert(key.join(QLatin1Char(' ')), readPathDescription(soFar));
        }
    }
    return words;
}

struct Chart {
    QString svg;
    int width = 0;
    int height = 0;
    // The size of the smallest words, in the chart's own units.
    double wordSize = 0;
};

// The flowchart with its texts as the editor draws it in ChartWindow, each
// block's words cut at its outline, and the trace over it.
Chart chart(const StoryDocument &story, const WebPage::Look &look)
{
    Chart chart;
    chart.width = WebPage::ChartWindow.width();
    Surface surface;
    FlowchartLayout layout;
    drawFlowchart(surface, layout, chart.width, WebPage::ChartWindow.height(), WebPage::ExitColour);
    chart.svg = FlowchartSvg::drawing(surface);
    // The blocks' words, the smallest on the chart, in the chart's pixels.
    chart.wordSize = surface.fontSize() * 96 / 72;
    std::array<QString, BlockCount> texts = story.blockTexts;
    for (int b = 0; b < BlockCount; ++b) {
        const qsizetype from = surface.ops().size();
        drawBlockText(b, texts[b], layout, surface, chart.width);
        if (surface.ops().size() > from)
            chart.svg += FlowchartSvg::clipped(FlowchartSvg::drawing(surface, from),
                QStringLiteral("words-%1").arg(b), layout.blockOutline(b));
    }
    // As tall as the drawing, the frames below it left out: the page shows
    // the ending's picture in the reading. Below the bottom line, room for
    // its width.
    chart.height = static_cast<int>(std::ceil(layout.chartBottom())) + 2;
    chart.svg
        += FlowchartSvg::trace(layout, QRectF(0, 0, chart.width, chart.height), look.traceColour);
    return chart;
}

} // namespace

QByteArray WebPage::scriptData(const QJsonObject &data)
{
    QByteArray json = QJsonDocument(data).toJson(QJsonDocument::Compact);
    // JSON holds these only inside strings, where the escapes mean the same.
    json.replace('<', "\\u003c").replace('>', "\\u003e").replace('&', "\\u0026");
    return json;
}

WebPage::Built WebPage::build(const QString &name, const StoryDocument &story,
    const FramePictures &pictures, const Look &look)
{
    Built built;
    QJsonArray blocks;
    QJsonArray blockIds;
    QJsonArray arrowIds;
    for (int b = 0; b < BlockCount; ++b) {
        const FlowchartBlock &block = FlowchartBlocks[b];
        QJsonObject object { { QStringLiteral("role"), roleName(block.role) },
            { QStringLiteral("next"), block.next },
            { QStringLiteral("falseExit"), block.falseExit },
            { QStringLiteral("trueExit"), block.trueExit },
            { QStringLiteral("frame"), block.frame },
            { QStringLiteral("text"), story.blockTexts[b] } };
        // What reading aloud says of the boxes the block opens, as the
        // reading window says it.
        if (block.role == BlockRole::Question)
            object.insert(QStringLiteral("said"), said(spokenQuestion(story.blockTexts, b)));
        if (block.role == BlockRole::Ending) {
            object.insert(QStringLiteral("said"), said(spokenTitlePrompt(story.blockTexts, b)));
            object.insert(
                QStringLiteral("readerSaid"), said(spokenReaderPrompt(story.blockTexts, b)));
            object.insert(QStringLiteral("story"), spokenStory(story.blockTexts, b));
        }
        blocks.append(object);
        blockIds.append(FlowchartSvg::blockId(b));
        arrowIds.append(FlowchartSvg::arrowId(b));
    }
    QJsonArray pictureData;
    QJsonArray pictureWords;
    for (int k = 0; k < FrameCount; ++k) {
        const std::optional<QString> data = jpegData(pictures[k]);
        if (!data) {
            built.failedFrame = k;
            return built;
        }
        pictureData.append(*data);
        // Which ending's picture it is; its file's name tells a reader nothing.
        pictureWords.append(frameName(k));
    }
    const QJsonObject data { { QStringLiteral("start"), FirstBlock },
        { QStringLiteral("blocks"), blocks }, { QStringLiteral("pictures"), pictureData },
        { QStringLiteral("pictureWords"), pictureWords },
        { QStringLiteral("pathWords"), pathWords() },
        { QStringLiteral("readerLine"), ReadingWords::ReaderLine },
        { QStringLiteral("noEngine"), VoiceReasons::NoEngine },
        { QStringLiteral("noVoice"), VoiceReasons::NoRussianVoice },
        { QStringLiteral("trace"),
            QJsonObject { { QStringLiteral("start"), FlowchartSvg::startId() },
                { QStringLiteral("blocks"), blockIds },
                { QStringLiteral("arrows"), arrowIds } } } };

    const Chart drawn = chart(story, look);
    // Opened full size, the chart's smallest words are as large as the
    // page's own text: its width in the page's ems.
    const QString style = filled(resource(QStringLiteral("page.css")),
        { { QStringLiteral("chartFullWidth"),
            QString::number(std::ceil(10 * drawn.width / drawn.wordSize) / 10) } });
    const QString script = resource(QStringLiteral("player.js"));
    const QHash<QString, QString> values = {
        { QStringLiteral("policy"),
            QStringLiteral("default-src 'none'; script-src %1; style-src %2; img-src data:; "
                           "base-uri 'none'; form-action 'none'")
                .arg(hashSource(script), hashSource(style)) },
        { QStringLiteral("style"), style },
        { QStringLiteral("script"), script },
        { QStringLiteral("story"), QString::fromUtf8(scriptData(data)) },
        { QStringLiteral("chart"), drawn.svg },
        { QStringLiteral("chartWidth"), QString::number(drawn.width) },
        { QStringLiteral("chartHeight"), QString::number(drawn.height) },
        { QStringLiteral("name"), name.toHtmlEscaped() },
        { QStringLiteral("questionTitle"), ReadingWords::FirstQuestionTitle.toHtmlEscaped() },
        { QStringLiteral("yes"), ReadingWords::Yes.toHtmlEscaped() },
        { QStringLiteral("no"), ReadingWords::No.toHtmlEscaped() },
        { QStringLiteral("titlePrompt"), ReadingWords::TitlePrompt.toHtmlEscaped() },
        { QStringLiteral("readerPrompt"), ReadingWords::ReaderPrompt.toHtmlEscaped() },
        { QStringLiteral("done"), ReadingWords::Done.toHtmlEscaped() },
        { QStringLiteral("print"), ReadingWords::Print.toHtmlEscaped() },
        { QStringLiteral("readAloud"), ReadingWords::ReadAloud.toHtmlEscaped() },
        { QStringLiteral("repeat"), ReadingWords::Repeat.toHtmlEscaped() },
    };
    built.html = filled(resource(QStringLiteral("page.html")), values).toUtf8();
    return built;
}

StorySaved WebPage::save(const QString &path, const QString &name, const StoryDocument &story,
    const FramePictures &pictures, const Look &look)
{
    const Built built = build(name, story, pictures, look);
    if (built.failedFrame >= 0)
        return StoryFiles::notSaved(path,
            QStringLiteral("картинку к концовке %1 не удалось записать в JPEG")
                .arg(built.failedFrame + 1));
    return StoryFiles::saveFile(path, built.html);
}
