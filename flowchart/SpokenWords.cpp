#include "flowchart/SpokenWords.h"

#include <QFileInfo>
#include <QStringList>

namespace {

// The terminators by their captions; no exit word is spoken in quotes, which
// a screen reader would read out as signs.
QString placeName(int place)
{
    return isBlock(place) ? blockName(place) : terminatorCaption(place);
}

QString cameFrom(int block)
{
    const ArrowInto into = arrowInto(block);
    if (!into.trueExit)
        return placeName(into.from);
    return QStringLiteral("%1, выход %2").arg(blockName(into.from), exitCaption(*into.trueExit));
}

} // namespace

QString blockName(int block)
{
    if (!isBlock(block))
        return QString();
    const BlockRole role = FlowchartBlocks[block].role;
    if (role == BlockRole::Ending)
        return QStringLiteral("Концовка %1").arg(FlowchartBlocks[block].frame + 1);
    if (block == FirstBlock)
        return QStringLiteral("Начало рассказа");
    // Counted as a pupil counts them, in story order, the opening aside.
    int number = 0;
    for (int b = 0; b <= block; ++b)
        number += FlowchartBlocks[b].role == role && b != FirstBlock;
    return (role == BlockRole::Question ? QStringLiteral("Вопрос %1") : QStringLiteral("Глава %1"))
        .arg(number);
}

QString frameName(int frame)
{
    return QStringLiteral("Картинка к концовке %1").arg(frame + 1);
}

QString pictureDialogName(int frame)
{
    return QStringLiteral("Выбор картинки к концовке %1").arg(frame + 1);
}

QString blockPlace(int block)
{
    if (!isBlock(block))
        return QString();
    const FlowchartBlock &leads = FlowchartBlocks[block];
    QString place = QStringLiteral("Сюда ведёт: %1.").arg(cameFrom(block));
    if (leads.role != BlockRole::Question)
        return place + QStringLiteral(" Дальше: %1.").arg(placeName(leads.next));
    const auto exit = [block](bool trueExit) {
        return QStringLiteral(" Выход %1: %2.")
            .arg(exitCaption(trueExit), placeName(exitTarget(block, trueExit)));
    };
    // Left to right, as drawn and as the arrow keys take them.
    return place + exit(false) + exit(true);
}

QString blockDescription(int block, const QString &text, const FlowchartPath &readPath)
{
    const QString words = text.trimmed().isEmpty() ? QStringLiteral("пусто") : text;
    QString description = spokenSentence(words) + QLatin1Char(' ') + blockPlace(block);
    if (readPath.blocks.contains(block)) {
        const auto exit = readPath.exitAt(block);
        description += exit
            ? QStringLiteral(" На прочитанном пути, выход %1.").arg(exitCaption(*exit))
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
        steps << (exit ? QStringLiteral("%1, %2").arg(blockName(block), exitCaption(*exit))
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

QString frameDescription(const QString &picturePath, bool shown)
{
    const QString name = pictureFileName(picturePath);
    if (name.isEmpty())
        return QStringLiteral("картинка не выбрана");
    return shown ? name : QStringLiteral("не открылась: %1").arg(name);
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
