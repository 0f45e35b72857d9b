#include "windows/ControlNames.h"

#include "story/StoryDocument.h"

#include <QFileInfo>
#include <QStringList>

#include <array>

namespace {

constexpr int Start = -1;
constexpr int End = -2;
constexpr int None = -3;

// Where each block leads, as the flowchart's arrows go: a chapter to the
// next block, a question by its «Ложь» exit and its «Истина» exit.
struct Leads {
    int next;
    int falseExit;
    int trueExit;
};
constexpr std::array<Leads, BlockCount> Flow = { {
    { 1, None, None },
    { None, 2, 3 },
    { 4, None, None },
    { 5, None, None },
    { None, 6, 7 },
    { None, 8, 9 },
    { End, None, None },
    { End, None, None },
    { End, None, None },
    { End, None, None },
} };

// The terminators by their captions; no exit word is spoken in quotes, which
// a screen reader would read out as signs.
QString placeName(int place)
{
    if (place == Start)
        return QStringLiteral("Начало");
    if (place == End)
        return QStringLiteral("Конец");
    return blockName(place);
}

QString cameFrom(int block)
{
    if (block == 0)
        return placeName(Start);
    for (int from = 0; from < BlockCount; ++from) {
        const Leads &leads = Flow[from];
        if (leads.next == block)
            return blockName(from);
        if (leads.falseExit == block)
            return QStringLiteral("%1, выход Ложь").arg(blockName(from));
        if (leads.trueExit == block)
            return QStringLiteral("%1, выход Истина").arg(blockName(from));
    }
    return QString();
}

} // namespace

QString blockName(int block)
{
    static const std::array<const char16_t *, BlockCount> Names = {
        u"Начало рассказа",
        u"Вопрос 1",
        u"Глава 1",
        u"Глава 2",
        u"Вопрос 2",
        u"Вопрос 3",
        u"Концовка 1",
        u"Концовка 2",
        u"Концовка 3",
        u"Концовка 4",
    };
    return block >= 0 && block < int(Names.size()) ? QString::fromUtf16(Names[block]) : QString();
}

QString frameName(int frame)
{
    return QStringLiteral("Картинка к концовке %1").arg(frame + 1);
}

QString blockPlace(int block)
{
    if (block < 0 || block >= BlockCount)
        return QString();
    const Leads &leads = Flow[block];
    QString place = QStringLiteral("Сюда ведёт: %1.").arg(cameFrom(block));
    if (leads.next != None) {
        place += QStringLiteral(" Дальше: %1.").arg(placeName(leads.next));
    } else {
        // Left to right, as drawn and as the arrow keys take them.
        place += QStringLiteral(" Выход Ложь: %1. Выход Истина: %2.")
                     .arg(placeName(leads.falseExit), placeName(leads.trueExit));
    }
    return place;
}

namespace {

QString exitName(bool trueExit)
{
    return trueExit ? QStringLiteral("Истина") : QStringLiteral("Ложь");
}

} // namespace

QString blockDescription(int block, const QString &text, const FlowchartPath &readPath)
{
    const QString words = text.trimmed().isEmpty() ? QStringLiteral("пусто") : text;
    QString description = spokenSentence(words) + QLatin1Char(' ') + blockPlace(block);
    if (readPath.blocks.contains(block)) {
        const auto exit = readPath.exitAt(block);
        description += exit ? QStringLiteral(" На прочитанном пути, выход %1.").arg(exitName(*exit))
                            : QStringLiteral(" На прочитанном пути.");
    }
    return description;
}

QString readPathDescription(const FlowchartPath &path)
{
    if (path.isEmpty())
        return QString();
    QStringList steps;
    for (const int block : path.blocks) {
        const auto exit = path.exitAt(block);
        steps << (exit ? QStringLiteral("%1, %2").arg(blockName(block), exitName(*exit))
                       : blockName(block));
    }
    return QStringLiteral("Прочитанный путь: ") + steps.join(QStringLiteral(" → "));
}

QString pictureFileName(const QString &picturePath)
{
    // Paths may come from another computer, with either kind of separator.
    QString path = picturePath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QFileInfo(path).fileName();
}

QString frameDescription(const QString &picturePath)
{
    const QString name = pictureFileName(picturePath);
    return name.isEmpty() ? QStringLiteral("картинка не выбрана") : name;
}

QString endingPictureDescription(const QString &picturePath, bool shown)
{
    const QString name = pictureFileName(picturePath);
    if (!shown)
        return QStringLiteral("Картинки к этой концовке нет.");
    return name.isEmpty() ? QStringLiteral("Картинка к концовке.")
                          : QStringLiteral("Картинка к концовке: %1.").arg(name);
}

QString spokenSentence(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QString();
    // A pause after the sentence, and none doubled after its own stop.
    static const QString Stops = QStringLiteral(".!?…:;»\")");
    return Stops.contains(trimmed.back()) ? trimmed : trimmed + QLatin1Char('.');
}
